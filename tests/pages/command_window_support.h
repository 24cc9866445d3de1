// SPDX-License-Identifier: Apache-2.0
#pragma once

// Shared pieces of the command window tests: a prompter that also answers file dialogs, and a
// fixture that builds the window on its own session with a scripted port list, to which a
// running tracker simulator adds its entry.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>

#include "app/command_window.h"
#include "app/recent_files.h"
#include "config/default_profile.h"
#include "serial/serial_link.h"
#include "session/device_session.h"
#include "session/file_operations.h"
#include "session/prompter.h"
#include "sim/tracker_simulator.h"

namespace qn470::test {

class DialogPrompter : public Prompter {
public:
    struct Dialog {
        bool save;
        QString start;
        QString filter;
    };

    Answer message(const QString& text, const QString& caption, Buttons, Icon) override {
        messages.push_back(text);
        captions.push_back(caption);
        return Answer::Ok;
    }
    QString openFileName(const QString&, const QString& directory, const QString& filter) override {
        dialogs.push_back({false, directory, filter});
        return next();
    }
    QString saveFileName(const QString&, const QString& defaultName,
                         const QString& filter) override {
        dialogs.push_back({true, defaultName, filter});
        return next();
    }

    std::deque<QString> answers;  // the names chosen, in order; none left means cancelled
    std::vector<QString> messages;
    std::vector<QString> captions;
    std::vector<Dialog> dialogs;

private:
    QString next() {
        if (answers.empty()) {
            return {};
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The status log's text for a status message: CR LF shown as a line break, none at the end.
inline QString shownStatus(const char* message) {
    QString text = QString::fromLatin1(message);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

inline SimulatorOptions quietFastSimulator() {
    SimulatorOptions options;
    options.fast = true;
    options.rtcIntervalMs = 0;
    return options;
}

class CommandWindowTest : public ::testing::Test {
protected:
    CommandWindowTest()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          recentFiles(settings) {
        session.setSaveInterval(2);
        session.setIdleTimeout(200);
    }

    CCommandWindow& create() {
        PageHooks hooks{
            [this] {
                journal.push_back("store");
                return StoreResult{};
            },
            [this](RecordSource source) {
                journal.push_back(source == RecordSource::Device ? "load device" : "load file");
            }};
        window = std::make_unique<CCommandWindow>(
            session, files, recentFiles,
            [this] {
                QList<PortInfo> present = ports;
                if (sim != nullptr && sim->isPluggedIn()) {
                    present.append({sim->portName(), QStringLiteral("Prolific simulator"), {}});
                }
                return present;
            },
            std::move(hooks));
        return *window;
    }

    // Starts the simulator; false (the test should skip) without a pseudo-terminal.
    bool startSimulator(const SimulatorOptions& options = quietFastSimulator()) {
        sim = std::make_unique<TrackerSimulator>(options);
        return sim->start();
    }

    // Start through the window, on the simulator's entry.
    bool connectToSimulator() {
        click(CCommandWindow::kScan);
        portList()->setCurrentText(sim->friendlyName());
        click(CCommandWindow::kStartStop);
        return session.isConnected();
    }

    template <typename T = QPushButton>
    T* control(int id) const {
        return window->findChild<T*>(QString::number(id));
    }
    void click(int id) { QTest::mouseClick(control(id), Qt::LeftButton); }
    QComboBox* portList() const { return control<QComboBox>(CCommandWindow::kPortList); }
    QLineEdit* commandEdit() const { return control<QLineEdit>(CCommandWindow::kCommandEdit); }
    QString statusLog() const {
        return control<QPlainTextEdit>(CCommandWindow::kStatusLog)->toPlainText();
    }
    QString receiveLog() const {
        return control<QPlainTextEdit>(CCommandWindow::kReceiveLog)->toPlainText();
    }

    QTemporaryDir dir;
    QSettings settings;
    RecentFiles recentFiles;
    ParameterSet set;
    CSerialLink link;
    DialogPrompter prompter;
    DeviceSession session{set, link, prompter};
    FileOperations files{session};
    QList<PortInfo> ports;
    std::vector<std::string> journal;
    std::unique_ptr<TrackerSimulator> sim;
    std::unique_ptr<CCommandWindow> window;
};

}  // namespace qn470::test
