// SPDX-License-Identifier: Apache-2.0
#pragma once

// A small modal dialog that builds the text of one page field (a media byte, an action text, a
// mask) from check boxes and radio buttons. The page presets it with the field's text and, when
// the dialog is accepted, puts resultText() into the field. The record is never touched here.

#include <QDialog>
#include <QString>
#include <memory>
#include <string_view>

#include "pages/page_context.h"

namespace qn470 {

class CChoiceDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    virtual QString resultText() const = 0;
};

// The field a choice dialog is opened for, as values: its parameter code and its current text.
// An empty code opens the dialog for no field.
struct ChoiceField {
    std::string_view code;
    QString text;

    bool isField() const { return !code.empty(); }
};

// Creates the dialog of one field, preset from the field's current text.
using ChoiceFactory = std::unique_ptr<CChoiceDialog> (*)(QWidget* parent,
                                                         const PageContext& context,
                                                         const ChoiceField& field);

}  // namespace qn470
