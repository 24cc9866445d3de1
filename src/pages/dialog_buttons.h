#pragma once

// The pieces every choice dialog builds alike: a radio button its group knows by the button's
// id, and the Apply / Cancel pair at the dialog's foot.

#include <functional>

class QBoxLayout;
class QButtonGroup;
class QDialog;
class QRadioButton;
class QWidget;

namespace qn470 {

// A radio button named by its id (tests find it by that name) and added to `group` under it.
QRadioButton* addRadio(int id, const char* text, QButtonGroup& group, QWidget* parent);

// Appends a stretch, Apply (the default button; clicking it calls `apply`) and Cancel (which
// rejects the dialog) to `row`.
void addApplyCancel(QBoxLayout& row, QDialog& dialog, int applyId, int cancelId,
                    std::function<void()> apply);

}  // namespace qn470
