#pragma once

// A small modal dialog that builds the text of one page field (a media byte, an action text, a
// mask) from check boxes and radio buttons. The page presets it with the field's text and, when
// the dialog is accepted, puts resultText() into the field. The record is never touched here.

#include <QDialog>
#include <memory>

#include "pages/page_context.h"

namespace qn470 {

class CChoiceDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    virtual QString resultText() const = 0;
};

// Creates the dialog of one field, preset from the field's current text.
using ChoiceFactory = std::unique_ptr<CChoiceDialog> (*)(QWidget* parent,
                                                         const PageContext& context,
                                                         const QString& fieldText);

}  // namespace qn470
