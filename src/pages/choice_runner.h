// SPDX-License-Identifier: Apache-2.0
#pragma once

// Runs the modal choice dialogs that pages open. The window runs them modally; tests put their
// own runner in its place, drive the real dialog's widgets and press its buttons, so nothing
// blocks.

class QDialog;

namespace qn470 {

class ChoiceRunner {
public:
    virtual ~ChoiceRunner() = default;

    // Shows the dialog until it is closed; returns its result (QDialog::Accepted or Rejected).
    virtual int run(QDialog& dialog) = 0;
};

class ModalChoiceRunner : public ChoiceRunner {
public:
    int run(QDialog& dialog) override;
};

}  // namespace qn470
