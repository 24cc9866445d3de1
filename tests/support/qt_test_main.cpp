// SPDX-License-Identifier: Apache-2.0
#include <QApplication>
#include <gtest/gtest.h>

// Every Qt test runs on the offscreen platform, so no display is needed and nothing pops up.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
