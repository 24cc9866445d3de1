#include "session/prompter.h"

namespace qn470 {

Prompter::Answer TextPrompter::message(const QString& text, const QString& caption, Buttons buttons,
                                       Icon) {
    if (m_sink) {
        m_sink(caption.isEmpty() ? text : caption + ": " + text);
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

}  // namespace qn470
