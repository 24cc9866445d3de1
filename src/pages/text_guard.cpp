// SPDX-License-Identifier: Apache-2.0
#include "pages/text_guard.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <memory>

#include "config/parameter_table.h"
#include "config/value_check.h"
#include "session/prompter.h"

namespace qn470 {
namespace {

std::optional<std::string> typingProblem(const Parameter& p, const QString& text) {
    // Characters outside Latin-1 become "?" here and pass; the check before a save refuses them.
    const QByteArray bytes = text.toLatin1();
    return textTypingProblem(p, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace

void guardTextCharacters(QLineEdit& edit, Prompter& prompter,
                         std::function<const Parameter*()> parameter) {
    // The text before the latest change and the text now; textChanged keeps them up to date
    // whether it comes before or after textEdited.
    auto texts = std::make_shared<std::pair<QString, QString>>(edit.text(), edit.text());
    QObject::connect(&edit, &QLineEdit::textChanged, &edit, [texts](const QString& text) {
        texts->first = texts->second;
        texts->second = text;
    });
    QObject::connect(
        &edit, &QLineEdit::textEdited, &edit,
        [&edit, &prompter, texts, parameter = std::move(parameter)](const QString& text) {
            const Parameter* p = parameter();
            if (p == nullptr) {
                return;
            }
            const std::optional<std::string> problem = typingProblem(*p, text);
            const QString before = texts->second == text ? texts->first : texts->second;
            // A loaded value that already breaks the rule is left for the user to mend.
            if (!problem || typingProblem(*p, before)) {
                return;
            }
            const int cursor =
                edit.cursorPosition() - static_cast<int>(text.size() - before.size());
            edit.setText(before);
            edit.setCursorPosition(std::max(0, cursor));
            // The problem itself is the value check's own English text, as everywhere it is used.
            prompter.message(QCoreApplication::translate("qn470::TextGuard", "(%1)The text %2.")
                                 .arg(QString::fromLatin1(p->code.data(),
                                                          static_cast<qsizetype>(p->code.size())),
                                      QString::fromStdString(*problem)),
                             {}, Prompter::Buttons::Ok, Prompter::Icon::None);
        });
}

}  // namespace qn470
