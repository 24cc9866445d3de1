// SPDX-License-Identifier: Apache-2.0
#pragma once

// The window's prompter: real message boxes and file dialogs, parented to the active window.

#include "session/prompter.h"

namespace qn470 {

class WidgetPrompter : public Prompter {
public:
    Answer message(const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override;
    QString openFileName(const QString& caption, const QString& directory,
                         const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& defaultName,
                         const QString& filter) override;
};

}  // namespace qn470
