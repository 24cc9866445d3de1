// SPDX-License-Identifier: Apache-2.0
#include "config/set_command_encoder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/command_line.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/series_codes.h"

namespace qn470 {
namespace {

// A record holding every default, as a section-only profile gives it.
ParameterSet defaults() {
    ParameterSet set;
    for (const Parameter& p : allParameters()) {
        if (p.profile != ProfileUse::ReadWrite) {
            continue;
        }
        if (p.isText()) {
            writeText(set, p, p.defaultText);
        } else {
            writeNumber(set, p, p.defaultNumber);
        }
    }
    return set;
}

std::string slot(const SetCommandTable& table, int block) {
    return table.lines[static_cast<std::size_t>(block)].line;
}

TEST(CommandLine, ChecksumIsXorAsTwoUpperCaseDigits) {
    EXPECT_EQ(frameWithChecksum("abc"), "abc*60!");
    EXPECT_EQ(checksumDigits("aa"), "00");
    EXPECT_EQ(checksumDigits("\x0f"), "0F");
    // Every character before "*" is covered, the header word and device name included.
    EXPECT_NE(checksumDigits("KXC,KorvelantQN-470,L0"), checksumDigits("KXC,KorvelantQN-471,L0"));
    EXPECT_NE(checksumDigits("KXC,KorvelantQN-470,L0"), checksumDigits("LXC,KorvelantQN-470,L0"));
}

TEST(CommandLine, FixedQueryLines) {
    EXPECT_EQ(loadCommand(), "KXC,KorvelantQN-470,L0*7F!\r\n");
    EXPECT_EQ(loadCommand().size(), 28u);
    EXPECT_EQ(kTransmissionOnLine, "KXC,KorvelantQN-470,LO*QQ!\r\n");
    EXPECT_EQ(kTransmissionOffLine, "KXC,KorvelantQN-470,LO(0)*QQ!\r\n");
}

TEST(SetCommandEncoder, DefaultLinesAreExact) {
    const SetCommandTable table = SetCommandEncoder::encode(defaults());
    ASSERT_TRUE(table.complete()) << table.describeOverlong();
    EXPECT_EQ(slot(table, 0),
              "KXS,KorvelantQN-470,1,0,A0=1,A1=0,A2=5,A3=0,A4=1,A5=1,B0=,B1=*QQ!\r\n");
    EXPECT_EQ(slot(table, 9),
              "KXS,KorvelantQN-470,0,9,K0=0,K1=0,K2=100,K3=10,K4=20,K6=0000000000,"
              "K7=0000000000*QQ!\r\n");
    EXPECT_EQ(slot(table, 35),
              "KXS,KorvelantQN-470,0,35,BA=\"00Ping report$+IMEI:$S$+Time:$C$+GPS "
              "$A$+$6,$1$+Speed:$IK/H$+IO:$Y\"*QQ!\r\n");
    EXPECT_EQ(slot(table, 10),
              "KXS,KorvelantQN-470,0,10,J2=44,J3=1,J4=79,J5=-29,J6=10,J9=11500,JA=0000000000,"
              "JB=0000000000*QQ!\r\n");
    EXPECT_EQ(slot(table, 17), "KXS,KorvelantQN-470,0,17,T0=0,T1=0,T2=00,T3=0*QQ!\r\n");
    EXPECT_EQ(slot(table, 70),
              "KXS,KorvelantQN-470,2,70,Z0=0,Z1=86400,Z2=3600,Z3=00,Z4=10,Z5=0000000000,"
              "S4=0*QQ!\r\n");
}

TEST(SetCommandEncoder, SequenceMarksBlockNumbersAndEmptyTail) {
    const SetCommandTable table = SetCommandEncoder::encode(defaults());
    for (int block = 0; block < kEncodedBlockCount; ++block) {
        const std::string prefix = std::string("KXS,KorvelantQN-470,") +
                                   (block == 0    ? "1"
                                    : block == 70 ? "2"
                                                  : "0") +
                                   "," + std::to_string(block) + ",";
        EXPECT_EQ(slot(table, block).rfind(prefix, 0), 0u) << slot(table, block);
        EXPECT_TRUE(slot(table, block).ends_with("*QQ!\r\n"));
    }
    for (int block = kEncodedBlockCount; block < kSlotCount; ++block) {
        EXPECT_TRUE(table.lines[static_cast<std::size_t>(block)].empty());
    }
}

// "Has a form on the wire" and "a block carries it" must be one fact: a code with a form that no
// block carries would be counted by every verify as written, and fail it whenever it differs.
TEST(SetCommandEncoder, EveryCodeWithAWireFormIsCarriedByExactlyOneBlock) {
    std::multiset<std::string> sent;
    for (int block = 0; block < kEncodedBlockCount; ++block) {
        for (const std::string& code : SetCommandEncoder::blockCodes(block)) {
            sent.insert(code);
        }
    }
    for (const Parameter& p : allParameters()) {
        const std::string code(p.code);
        EXPECT_EQ(sent.count(code), p.wire != Wire::None ? 1u : 0u) << code;
        EXPECT_EQ(carriedBySeries(p), sent.count(code) == 1) << code;
    }
    // The closing line takes the slot of the last event text; only the tracker reports these.
    for (const char* code : {"B2", "B3", "C4", "E8", "O7", "OT", "Bk"}) {
        EXPECT_EQ(sent.count(code), 0u) << code;
    }
    EXPECT_EQ(codesOfBlocks({12, 1, 12}).front(), "O5");
    EXPECT_EQ(codesOfBlocks({12, 1, 12}).size(), 6u + 11u);
}

struct ValueCase {
    const char* code;
    int64_t value;
    const char* item;
};

TEST(SetCommandEncoder, ValueConversions) {
    const ValueCase cases[] = {
        {"CC", 5, "CC=05"},          {"CC", 171, "CC=ab"},
        {"CC", 255, "CC=ff"},        {"SJ", 8320, "SJ=2080"},
        {"SJ", 10, "SJ=000a"},       {"J5", -29, "J5=-29"},
        {"O6", -43200, "O6=-43200"}, {"CA", 4294967294, "CA=4294967294"},
        {"Pb", 7, "Pb=1"},           {"SI", 0, "SI=0"},
        {"E1", 65535, "E1=65535"},
    };
    for (const ValueCase& c : cases) {
        ParameterSet set = defaults();
        writeNumber(set, c.code, c.value);
        const SetCommandTable table = SetCommandEncoder::encode(set);
        bool found = false;
        for (const LineSlot& s : table.lines) {
            found = found || s.line.find(std::string(",") + c.item + ",") != std::string::npos ||
                    s.line.find(std::string(",") + c.item + "*") != std::string::npos;
        }
        EXPECT_TRUE(found) << c.item;
    }
}

TEST(SetCommandEncoder, OnlyBit31SendsReOnly) {
    ParameterSet set = defaults();
    set.record.Flags = 0x80000000u;
    const SetCommandTable table = SetCommandEncoder::encode(set);
    std::string all;
    for (const LineSlot& s : table.lines) {
        all += s.line;
    }
    EXPECT_NE(all.find("Re=1"), std::string::npos);
    for (const Parameter& p : allParameters()) {
        if (p.storage == Storage::FlagBit && p.code != "Re") {
            EXPECT_NE(all.find("," + std::string(p.code) + "=0"), std::string::npos) << p.code;
        }
    }
}

TEST(SetCommandEncoder, LongLinesAreSentWholeNeverCut) {
    // Block 14 is 140 characters with the defaults: more than a 128-byte slot would hold.
    const SetCommandTable table = SetCommandEncoder::encode(defaults());
    EXPECT_GT(slot(table, 14).size(), 128u);
    EXPECT_TRUE(slot(table, 14).ends_with(",PE=1*QQ!\r\n"));

    ParameterSet set = defaults();
    writeText(set, "E0", std::string(31, 'h'));
    writeText(set, "E2", std::string(31, 'i'));
    writeText(set, "F0", std::string(19, '1'));
    const SetCommandTable wide = SetCommandEncoder::encode(set);
    EXPECT_TRUE(wide.complete());
    EXPECT_NE(slot(wide, 5).find("F0=1111111111111111111,F2=1*QQ!\r\n"), std::string::npos);
}

TEST(SetCommandEncoder, WidestLegalValuesStillFit) {
    ParameterSet set = defaults();
    // Only reachable with a text longer than its field allows: put 95 characters in O3 and ON
    // by writing the event-size text through the record is impossible, so use every text of
    // block 13 at full length plus the longest numbers.
    writeText(set, "ON", std::string(30, 'n') + "!");  // a report format ends in "!"
    writeText(set, "Oa", std::string(7, 'a'));
    writeText(set, "SE", std::string(10, 'e'));
    writeText(set, "SF", std::string(10, 'f'));
    writeNumber(set, "OH", 4294967295);
    const SetCommandTable table = SetCommandEncoder::encode(set);
    EXPECT_TRUE(table.complete()) << "block 13 at its widest still fits";

    // An event text at its 95-character limit stays under the limit as well.
    writeText(set, eventParameter(0), std::string(95, 'x'));
    EXPECT_TRUE(SetCommandEncoder::encode(set).complete());
}

}  // namespace
}  // namespace qn470
