// SPDX-License-Identifier: Apache-2.0
#include "serial/port_discovery.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "serial/pty_master.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

TEST(PortDiscovery, FriendlyNames) {
    struct Case {
        PortInfo port;
        NameStyle style;
        const char* name;
    };
    const Case cases[] = {
        {{"COM5", "Prolific USB-to-Serial Comm Port", "Prolific"},
         NameStyle::Windows,
         "Prolific USB-to-Serial Comm Port (COM5)"},
        {{"ttyUSB0", "USB-Serial Controller", "Prolific Technology Inc."},
         NameStyle::Unix,
         "Prolific Technology Inc. USB-Serial Controller (ttyUSB0)"},
        {{"ttyUSB1", "USB-Serial Controller", ""},
         NameStyle::Unix,
         "USB-Serial Controller (ttyUSB1)"},
        {{"ttyS0", " ", "Acme "}, NameStyle::Unix, "Acme (ttyS0)"},
        {{"ttyS1", "", ""}, NameStyle::Unix, "(ttyS1)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(friendlyName(c.port, c.style), QString(c.name));
    }
}

TEST(PortDiscovery, OnlyMatchWordsQualifyAndListIsSorted) {
    const QList<PortInfo> ports = {
        {"COM7", "USB Serial Port", "FTDI"},
        {"COM5", "Prolific USB-to-Serial Comm Port", "Prolific"},
        {"COM1", "Communications Port", "(Standard port types)"},
        {"COM10", "Bluetooth link", "Microsoft"},
        {"COM3", "prolific clone", ""},
        {"COM4", "Com1 lookalike", ""},
    };
    EXPECT_EQ(trackerPortNames(ports, NameStyle::Windows),
              (QStringList{"Bluetooth link (COM10)", "Communications Port (COM1)",
                           "Prolific USB-to-Serial Comm Port (COM5)"}));
    EXPECT_TRUE(trackerPortNames({}, NameStyle::Windows).isEmpty());
}

struct ChoiceCase {
    QString text;
    bool trackerPortChosen;
    QString portName;  // empty: refused
    const char* message;
};

class ChoosePortCases : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoosePortCases, Result) {
    const ChoiceCase& c = GetParam();
    const PortChoice choice = choosePort(c.text);
    EXPECT_EQ(choice.trackerPortChosen, c.trackerPortChosen);
    EXPECT_EQ(choice.ok, !c.portName.isEmpty());
    EXPECT_EQ(choice.portName, c.portName);
    EXPECT_EQ(choice.message, QString(c.message));
}

const char* const kOk = "";
const char* const kNotStm = "Not STM serial port!\r\n";
const char* const kOpenFail = "serial port is open fail.\r\n";

INSTANTIATE_TEST_SUITE_P(
    Serial, ChoosePortCases,
    testing::Values(ChoiceCase{"", false, "", kNotStm},
                    ChoiceCase{"prolific USB (COM5)", false, "", kNotStm},
                    ChoiceCase{"Prolific USB-to-Serial Comm Port (COM5)", true, "COM5", kOk},
                    ChoiceCase{"Communications Port (COM1)", true, "COM1", kOk},
                    ChoiceCase{"Bluetooth link (COM12)", true, "COM12", kOk},
                    ChoiceCase{"Prolific simulator (pts/3)", true, "pts/3", kOk},
                    ChoiceCase{"Prolific ) x (COM3) (COM4)", true, "COM3", kOk},
                    ChoiceCase{"Prolific (ttyUSB123)", true, "ttyUSB123", kOk},
                    ChoiceCase{"Prolific (ttyUSB1234)", true, "", kOpenFail},
                    ChoiceCase{"Prolific adapter", true, "", kOpenFail},
                    ChoiceCase{"Prolific ()", true, "", kOpenFail},
                    // Only the first 100 characters are looked at.
                    ChoiceCase{QString(93, 'x') + "Prolific (COM5)", false, "", kNotStm},
                    ChoiceCase{QString(85, 'x') + "Prolific (COM5)", true, "COM5", kOk}),
    [](const auto& info) { return caseName(info.param.text.toStdString()); });

#ifdef Q_OS_LINUX
TEST(PortDiscovery, SystemSourceListsPseudoTerminals) {
    test::PtyMaster pty;
    if (!pty.ok()) {
        GTEST_SKIP() << "no pseudo-terminal: " << pty.error().toStdString();
    }
    const QList<PortInfo> ports = systemPortSource()();
    EXPECT_TRUE(std::any_of(ports.begin(), ports.end(), [&](const PortInfo& port) {
        return port.portName == pty.portName();
    })) << pty.portName().toStdString();
}
#endif

}  // namespace
}  // namespace qn470
