// SPDX-License-Identifier: Apache-2.0
#include "session/prompter.h"

namespace qn470 {

Prompter::Answer TextPrompter::message(const QString& text, const QString& caption, Buttons, Icon) {
    if (m_sink) {
        m_sink(caption.isEmpty() ? text : caption + ": " + text);
    }
    return Answer::Ok;
}

}  // namespace qn470
