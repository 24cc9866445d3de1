// SPDX-License-Identifier: Apache-2.0
#pragma once

// A Prompter for tests: records every message box and answers the file dialogs from a script.

#include <QString>
#include <QStringList>
#include <deque>

#include "session/prompter.h"

namespace qn470::test {

class ScriptedPrompter : public Prompter {
public:
    struct Message {
        QString text;
        QString caption;
        Buttons buttons;
        Icon icon;
    };
    struct Dialog {
        bool save;
        QString caption;
        QString start;  // the default name or starting path offered
        QString filter;
    };

    Answer message(const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override {
        messages.push_back({text, caption, buttons, icon});
        return Answer::Ok;
    }
    QString openFileName(const QString& caption, const QString& directory,
                         const QString& filter) override {
        dialogs.push_back({false, caption, directory, filter});
        return nextAnswer();
    }
    QString saveFileName(const QString& caption, const QString& defaultName,
                         const QString& filter) override {
        dialogs.push_back({true, caption, defaultName, filter});
        return nextAnswer();
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const Message& m : messages) {
            texts.append(m.text);
        }
        return texts;
    }

    std::deque<QString> answers;  // the file names chosen, in order; empty means cancelled
    std::vector<Message> messages;
    std::vector<Dialog> dialogs;

private:
    QString nextAnswer() {
        if (answers.empty()) {
            return {};
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace qn470::test
