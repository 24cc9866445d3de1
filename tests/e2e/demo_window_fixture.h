// SPDX-License-Identifier: Apache-2.0
#pragma once

// The whole window against the demo tracker, with its settings in a temporary folder and its
// prompts captured by PrompterT. Skips the test where no pseudo-terminal can be had.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/demo_mode.h"
#include "app/main_frame.h"
#include "pages/page.h"
#include "pages/page_test_support.h"

namespace qn470::test {

template <typename PrompterT, typename Base = ::testing::Test>
class DemoWindowFixture : public Base {
protected:
    DemoWindowFixture()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {}

    void SetUp() override {
        if (!demo.start()) {
            GTEST_SKIP() << "no pseudo-terminal: " << demo.errorString().toStdString();
        }
        app = std::make_unique<CconfigToolApp>(state, pageTabs(),
                                               DeviceOptions{demo.ports({}), 2, true});
        ASSERT_TRUE(app->initInstance());
    }

    QPushButton* command(int id) const {
        return app->commandWindow()->findChild<QPushButton*>(QString::number(id));
    }
    CPage* page() const { return app->frame()->view()->currentPage(); }

    QTemporaryDir dir;
    QSettings settings;
    PrompterT prompter;
    ScriptedChoices choices;
    AppState state;
    DemoMode demo;
    std::unique_ptr<CconfigToolApp> app;
};

}  // namespace qn470::test
