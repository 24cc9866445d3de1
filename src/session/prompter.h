// SPDX-License-Identifier: Apache-2.0
#pragma once

// Every modal interaction (message boxes, file dialogs) goes through this interface, so the
// window shows real dialogs, the command-line tool prints, and tests script the answers and
// capture the texts without anything blocking.

#include <QString>
#include <functional>

namespace qn470 {

class Prompter {
public:
    // SaveDiscardCancel answers Ok for "Save", Discard or Cancel.
    enum class Buttons { Ok, OkCancel, SaveDiscardCancel };
    enum class Icon { None, Information, Warning, Critical };
    enum class Answer { Ok, Cancel, Discard };

    virtual ~Prompter() = default;

    // A message box; returns the button the user pressed.
    virtual Answer message(const QString& text, const QString& caption, Buttons buttons,
                           Icon icon) = 0;

    // A file-open dialog; an empty result means the user cancelled. directory may end in a file
    // name, which the dialog offers as the default (as QFileDialog does).
    virtual QString openFileName(const QString& caption, const QString& directory,
                                 const QString& filter) = 0;

    // A file-save dialog starting with defaultName; an empty result means the user cancelled.
    virtual QString saveFileName(const QString& caption, const QString& defaultName,
                                 const QString& filter) = 0;
};

// Answers every message with its first button and every file dialog with "cancelled", passing
// each message text to a sink (the command-line tool prints it).
class TextPrompter : public Prompter {
public:
    explicit TextPrompter(std::function<void(const QString&)> sink) : m_sink(std::move(sink)) {}

    Answer message(const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override;
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }

private:
    std::function<void(const QString&)> m_sink;
};

}  // namespace qn470
