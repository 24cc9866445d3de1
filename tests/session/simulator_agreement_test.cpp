// SPDX-License-Identifier: Apache-2.0
// The simulator keeps its own statement of the tracker's side (its report layout, its reading of
// set lines). Here random valid parameter sets show that both agree with the core's decoder, line
// limits and completion count, so a drift on either side fails.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "config/parameter_value.h"
#include "config/report_decoder.h"
#include "config/set_command_encoder.h"
#include "sim/report_builder.h"
#include "sim/set_line_applier.h"
#include "support/random_set.h"

namespace qn470 {
namespace {

std::string shown(const ParameterSet& set, const Parameter& p) {
    return p.isText() ? readText(set, p) : std::to_string(readNumber(set, p));
}

TEST(SimulatorAgreement, RandomSetsReportWhatTheyHoldAndCompleteAtTheLastLine) {
    std::mt19937 random(19);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        ParameterSet set = randomCheckedSet(random);
        // The value check does not hold texts no set line carries (B2, O7, ...) to the item
        // rules, so a random one may hold a comma no tracker reports: give them a plain text.
        for (const Parameter& p : allParameters()) {
            if (p.isText() && p.wire == Wire::None) {
                writeText(set, p, "R" + std::to_string(round));
            }
        }
        const std::vector<std::string> lines = buildReport(set);
        ParameterSet decoded{};
        int count = 0;
        int completedAt = -1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            // A client's receive side ends a line once 250 characters piled up without one.
            ASSERT_LT(lines[i].size(), 250u) << lines[i];
            count += ReportDecoder{}.decode(lines[i].substr(0, lines[i].size() - 2), decoded);
            if (count >= 65 && completedAt < 0) {
                completedAt = static_cast<int>(i);
            }
        }
        EXPECT_EQ(completedAt, static_cast<int>(lines.size()) - 1);
        for (const Parameter& p : allParameters()) {
            if (p.decode != Decode::None) {
                EXPECT_EQ(shown(decoded, p), shown(set, p)) << p.code;
            }
        }
    }
}

TEST(SimulatorAgreement, RandomSetsArriveWholeThroughTheSetLinesTheSimulatorReads) {
    std::mt19937 random(470);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const ParameterSet set = randomCheckedSet(random);
        const SetCommandTable table = SetCommandEncoder::encode(set);
        ASSERT_TRUE(table.complete());
        ParameterSet held{};
        for (const LineSlot& slot : table.lines) {
            if (!slot.empty()) {
                ASSERT_LE(slot.line.size(), 250u);
                EXPECT_TRUE(applySetLine(slot.line.substr(0, slot.line.size() - 2), held));
            }
        }
        for (int block = 0; block < kEncodedBlockCount; ++block) {
            for (const std::string& code : SetCommandEncoder::blockCodes(block)) {
                EXPECT_EQ(shown(held, parameter(code)), shown(set, parameter(code))) << code;
            }
        }
    }
}

}  // namespace
}  // namespace qn470
