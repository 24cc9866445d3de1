// SPDX-License-Identifier: Apache-2.0
#pragma once

// The pieces every choice dialog builds alike: a radio button its group knows by the button's
// id, and the Apply / Cancel pair at the dialog's foot (or at the top of its button column).

#include <QString>
#include <functional>

class QBoxLayout;
class QButtonGroup;
class QDialog;
class QRadioButton;
class QWidget;

namespace qn470 {

// A radio button named by its id (tests find it by that name) and added to `group` under it.
// `text` is shown as given: the dialog translates it.
QRadioButton* addRadio(int id, const QString& text, QButtonGroup& group, QWidget* parent);

// Adds Apply (the default button; clicking it calls `apply`) and Cancel (which rejects the
// dialog) to `row`. A horizontal row gets a stretch first, so the pair sits at its right end; a
// vertical column gets it last, so the pair sits at its top. `applyText` names the first button
// where a dialog calls it something else ("Save"); empty means "Apply".
void addApplyCancel(QBoxLayout& row, QDialog& dialog, int applyId, int cancelId,
                    std::function<void()> apply, const QString& applyText = {});

}  // namespace qn470
