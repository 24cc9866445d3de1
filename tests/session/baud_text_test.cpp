// SPDX-License-Identifier: Apache-2.0
#include "session/baud_text.h"

#include <gtest/gtest.h>

#include "support/case_name.h"

namespace qn470 {
namespace {

struct BaudCase {
    const char* box;
    qint32 rate;
};

class BaudText : public testing::TestWithParam<BaudCase> {};

TEST_P(BaudText, ReadLikeTheCLibrary) {
    EXPECT_EQ(parseBaudText(QString::fromLatin1(GetParam().box)), GetParam().rate)
        << '"' << GetParam().box << '"';
}

INSTANTIATE_TEST_SUITE_P(Session, BaudText,
                         testing::Values(BaudCase{"115200", 115200}, BaudCase{"  \t9600", 9600},
                                         BaudCase{"+57600", 57600}, BaudCase{"-300", -300},
                                         BaudCase{"19200 baud", 19200}, BaudCase{"4800x9", 4800},
                                         BaudCase{"abc", 0}, BaudCase{"", 0}, BaudCase{"-", 0},
                                         BaudCase{"+ 1", 0}, BaudCase{"- 1", 0}, BaudCase{"--1", 0},
                                         // Only ten characters of the box count.
                                         BaudCase{"         12", 1},
                                         BaudCase{"1152001152001", 1152001152},
                                         BaudCase{"9999999999", 2147483647},
                                         BaudCase{"-9999999999", -999999999}),
                         [](const auto& info) {
                             return caseNames({"box", info.param.box});
                         });

}  // namespace
}  // namespace qn470
