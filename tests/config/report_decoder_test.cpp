// SPDX-License-Identifier: Apache-2.0
#include "config/report_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/set_command_encoder.h"

namespace qn470 {
namespace {

// Every parameter at its default, so that "unchanged" means something.
ParameterSet defaultSet() {
    ParameterSet set;
    for (const Parameter& p : allParameters()) {
        if (p.isText()) {
            writeText(set, p, p.defaultText);
        } else {
            writeNumber(set, p, p.defaultNumber);
        }
    }
    return set;
}

struct Change {
    std::string_view code;
    std::variant<int64_t, std::string> value;
};

void apply(ParameterSet& set, const std::vector<Change>& changes) {
    for (const Change& c : changes) {
        if (const auto* n = std::get_if<int64_t>(&c.value)) {
            writeNumber(set, c.code, *n);
        } else {
            writeText(set, c.code, std::get<std::string>(c.value));
        }
    }
}

// Names every code whose value differs, then any other byte, so a write into the wrong field or
// a reserved byte shows up.
std::string differences(const ParameterSet& actual, const ParameterSet& expected) {
    std::string out;
    for (const Parameter& p : allParameters()) {
        if (p.isText() ? readText(actual, p) != readText(expected, p)
                       : readNumber(actual, p) != readNumber(expected, p)) {
            out += std::string(p.code) + " ";
        }
    }
    if (std::memcmp(&actual.record, &expected.record, sizeof(ConfigRecord)) != 0) {
        const auto* a = reinterpret_cast<const unsigned char*>(&actual.record);
        const auto* e = reinterpret_cast<const unsigned char*>(&expected.record);
        for (std::size_t i = 0; i < sizeof(ConfigRecord); ++i) {
            if (a[i] != e[i]) {
                out += "record byte " + std::to_string(i) + " ";
                break;
            }
        }
    }
    if (std::memcmp(&actual.eventTexts, &expected.eventTexts, sizeof(EventTexts)) != 0 ||
        std::memcmp(&actual.firmwareVersion, &expected.firmwareVersion, sizeof(FirmwareVersion)) !=
            0) {
        out += "text bytes ";
    }
    return out;
}

struct Case {
    const char* name;
    std::string line;
    std::vector<Change> expected;  // the only values that may change
    int result = ReportDecoder::kBlock;
    std::vector<Change> before = {};  // applied to the starting set first
};

void runCases(const std::vector<Case>& cases) {
    const ReportDecoder decoder;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.line);
        ParameterSet set = defaultSet();
        apply(set, c.before);
        ParameterSet expected = set;
        apply(expected, c.expected);
        EXPECT_EQ(decoder.decode(c.line, set), c.result);
        EXPECT_EQ(differences(set, expected), "");
    }
}

std::string report(const std::string& items) {
    return "KXs,KorvelantQN-470,0,5," + items + "*3C!";
}

const std::string kPingText = std::string(defaultEventText(0));

TEST(ReportDecoder, LineFraming) {
    runCases({
        {"text before the report word ignored",
         "xxKXs,KorvelantQN-470,0,9,K0=1,K2=250*12!",
         {{"K0", int64_t{1}}, {"K2", int64_t{250}}}},
        {"no report word", "KXS,KorvelantQN-470,0,9,K2=250*QQ!", {}, ReportDecoder::kNotReport},
        {"items before the report word ignored", "K2=5,KXs,K3=20*00!", {{"K3", int64_t{0x20}}}},
        {"without framing the last item is never reached",
         "KXs,K2=250,C1=100",
         {{"K2", int64_t{250}}}},
        {"only the first framing star becomes a separator",
         "KXs,C1=100*00!,C2=20*00!",
         {{"C1", int64_t{100}}}},
        {"the checksum characters are not an item", "KXs,C1=100*=1!", {{"C1", int64_t{100}}}},
        {"item without equals carries nothing", "KXs,C1,C2=20*00!", {{"C2", int64_t{20}}}},
        {"equals alone", "KXs,=,=5,C2=20*00!", {{"C2", int64_t{20}}}},
        {"unknown, T and U codes ignored", report("B4=1,C6=2,L1=3,T0=5,T2=ff,U1=7,U2=ff"), {}},
        {"case of the second letter matters: Pa", report("Pa=5"), {{"Pa", int64_t{5}}}},
        {"case of the second letter matters: PA", report("PA=7"), {{"PA", int64_t{7}}}},
        {"last block's code",
         report("Z3=7f,Z4=10"),
         {{"Z3", int64_t{0x7f}}, {"Z4", int64_t{0x10}}},
         ReportDecoder::kLastBlock},
        {"other timers' media are ordinary",
         report("W4=10,X4=11,Y4=12"),
         {{"W4", int64_t{0x10}}, {"X4", int64_t{0x11}}, {"Y4", int64_t{0x12}}}},
    });
}

TEST(ReportDecoder, NumbersAndTheirRanges) {
    runCases({
        {"C1 below range", report("C1=30"), {}},
        {"C1 limits", report("C1=60,C2=120"), {{"C1", int64_t{60}}, {"C2", int64_t{120}}}},
        {"C1 above range", report("C1=601,C2=9"), {}},
        {"port 80 and 1024", report("E1=80,E3=1024"), {{"E1", int64_t{80}}, {"E3", int64_t{1024}}}},
        {"port 1023 and 81", report("E1=1023,E3=81"), {}},
        {"port 0 is no port", report("E1=0,E3=0"), {{"E1", int64_t{0}}, {"E3", int64_t{0}}}},
        {"port below 0", report("E1=-1,E3=-80"), {}},
        {"port 65535 and 65536", report("E1=65536,E3=65535"), {{"E3", int64_t{65535}}}},
        {"J5 -41 not stored", report("J5=-41"), {}},
        {"J5 -40 stored", report("J5=-40"), {{"J5", int64_t{-40}}}},
        {"O6 limits", report("O6=-43200"), {{"O6", int64_t{-43200}}}},
        {"O6 beyond limits", report("O6=46801,O6=-43201"), {}},
        {"F2 only 0 or 1", report("F2=2,EA=256,A2=-1"), {}},
        {"OS at least 1", report("OS=0,C4=-1"), {}},
        {"E8 keeps the low byte", report("E8=300"), {{"E8", int64_t{44}}}},
        {"32-bit unsigned values come back whole",
         report("CA=4294967294,OH=4294967295"),
         {{"CA", int64_t{4294967294}}, {"OH", int64_t{4294967295}}}},
        {"unchecked fields take the low bits",
         report("S1=257,QA=65537,K2=-1"),
         {{"S1", int64_t{1}}, {"QA", int64_t{1}}, {"K2", int64_t{0xFFFFFFFF}}}},
        {"hardware option",
         report("OT=-1"),
         {{"OT", int64_t{-1}}},
         ReportDecoder::kBlock,
         {{"OT", int64_t{3}}}},
        {"white space, sign, trailing text",
         report("K2= 250,Ra=+7,Ri=12abc,Ro=abc"),
         {{"K2", int64_t{250}}, {"Ra", int64_t{7}}, {"Ri", int64_t{12}}, {"Ro", int64_t{0}}}},
        {"leading quotes skipped", report("C1=\"\"300"), {{"C1", int64_t{300}}}},
        // A huge number sticks at the 64-bit limit instead of wrapping into range.
        {"huge numbers saturate", report("E1=18446744073709552640,J5=-99999999999999999999"), {}},
        {"saturated value keeps all low bits",
         report("CA=99999999999999999999"),
         {{"CA", int64_t{0xFFFFFFFF}}}},
        {"empty number is 0", report("Pa=,C3="), {{"Pa", int64_t{0}}, {"C3", int64_t{0}}}},
    });
}

TEST(ReportDecoder, BitsAndHexDigits) {
    runCases({
        {"A0 empty sets",
         report("A0="),
         {{"A0", int64_t{1}}},
         ReportDecoder::kBlock,
         {{"A0", int64_t{0}}}},
        {"A0 0 clears", report("A0=0"), {{"A0", int64_t{0}}}},
        {"A0 x sets",
         report("A0=x"),
         {{"A0", int64_t{1}}},
         ReportDecoder::kBlock,
         {{"A0", int64_t{0}}}},
        {"only the first character counts",
         report("Re=10,Rd=01"),
         {{"Re", int64_t{1}}, {"Rd", int64_t{0}}},
         ReportDecoder::kBlock,
         {{"Rd", int64_t{1}}}},
        {"CC upper-case digits count 0", report("CC=0A"), {{"CC", int64_t{0}}}},
        {"CC missing low digit counts 0", report("CC=a"), {{"CC", int64_t{0xa0}}}},
        {"only two digits read", report("H0=1f9"), {{"H0", int64_t{0x1f}}}},
        {"weekday keeps 7 bits",
         report("W3=ff,X3=80,Y3=7e"),
         {{"W3", int64_t{0x7f}}, {"X3", int64_t{0}}, {"Y3", int64_t{0x7e}}}},
        {"SJ four digits", report("SJ=beef"), {{"SJ", int64_t{0xbeef}}}},
        {"SJ short value", report("SJ=20"), {{"SJ", int64_t{0x2000}}}},
        {"SJ bad digits", report("SJ=1G2x"), {{"SJ", int64_t{0x1020}}}},
    });
}

TEST(ReportDecoder, Texts) {
    const std::string longText(40, 'x');
    runCases({
        {"text cut to its field",
         report("B0=123456789,B1=" + longText),
         {{"B0", std::string("1234567")}, {"B1", std::string(19, 'x')}}},
        {"S3 holds three", report("S3=1234"), {{"S3", std::string("123")}}},
        {"firmware version", report("O7=" + longText), {{"O7", std::string(27, 'x')}}},
        {"report format stored whole",
         report("O3=SPRXAB27GHKLMn*U!"),
         {{"O3", std::string("SPRXAB27GHKLMn*U!")}}},
        {"report format as last item", "KXs,ON=SAY*U!*00!", {{"ON", std::string("SAY*U!")}}},
        {"report format without closing mark", report("O3=SPRX,ON="), {}},
        {"report format of 31",
         report("O3=" + std::string(30, 'A') + "!"),
         {{"O3", std::string(30, 'A') + "!"}}},
        {"report format of 32", report("O3=" + std::string(31, 'A') + "!"), {}},
    });
}

TEST(ReportDecoder, EventTexts) {
    const std::string quoted = "\"" + kPingText + "\"";
    runCases({
        {"quoted text with its comma, then the next item",
         report("BA=" + quoted + ",BB=\"00Help$6,$1\",C1=100"),
         {{"BA", kPingText}, {"BB", std::string("00Help$6,$1")}, {"C1", int64_t{100}}}},
        {"quoted text as the last item",
         "KXs,KorvelantQN-470,0,35,BA=" + quoted + "*7A!",
         {{"BA", kPingText}}},
        {"second array",
         report("BR=\"r$6,$1\",Ba=\"a$6,$1\",Bk=\"k$6,$1\""),
         {{"BR", std::string("r$6,$1")},
          {"Ba", std::string("a$6,$1")},
          {"Bk", std::string("k$6,$1")}}},
        // Without a comma before "$" the item ends at the first comma, behind the closing quote,
        // which closes the value as it does in a set line the tool sends.
        {"text without a dollar comma drops its closing quote",
         report("BA=\"00Hello\",C1=100"),
         {{"BA", std::string("00Hello")}, {"C1", int64_t{100}}}},
        {"only one closing quote dropped",
         report("BA=\"say \"hi\"\"\",C1=100"),
         {{"BA", std::string("say \"hi\"\"")}, {"C1", int64_t{100}}}},
        {"unquoted text keeps a final quote",
         report("K6=ab\",C1=100"),
         {{"K6", std::string("ab\"")}, {"C1", int64_t{100}}}},
        {"text longer than 95 cut",
         report("BC=\"" + std::string(100, 'y') + "$6,$1\""),
         {{"BC", std::string(95, 'y')}}},
        {"unterminated text ends the line, earlier items stay",
         report("C1=100,BA=\"00a$6,$1,C2=20"),
         {{"C1", int64_t{100}}}},
        {"closing pair counted from the start of the item",
         report("BA=\"00Ping\",$x\",C1=100"),
         {{"BA", std::string("00Ping")}, {"C1", int64_t{100}}}},
        {"dollar comma outside quotes needs a closing pair",
         report("K6=1$,$2,K7=3\",C2=20"),
         {{"K6", std::string("1$,$2,K7=3")}, {"C2", int64_t{20}}}},
    });
}

// Every line the encoder sends, read back as a report, reproduces the values it was built from.
TEST(ReportDecoder, ReadsBackEverythingTheEncoderSends) {
    ParameterSet sent = defaultSet();
    apply(sent, {{"CA", int64_t{4294967294}},
                 {"OH", int64_t{4294967295}},
                 {"PA", int64_t{4000000000}},
                 {"O6", int64_t{-43200}},
                 {"J5", int64_t{-40}},
                 {"J2", int64_t{45}},
                 {"E1", int64_t{65535}},
                 {"SJ", int64_t{0xbeef}},
                 {"W3", int64_t{0x7f}},
                 {"Qz", int64_t{0xff}},
                 {"A0", int64_t{0}},
                 {"Re", int64_t{1}},
                 {"D1", std::string(31, 'd')},
                 {"O3", std::string("SAB*U!")},
                 {"Bj", std::string("00Stopwatch$+$6,$1")}});
    const SetCommandTable table = SetCommandEncoder::encode(sent);
    ASSERT_TRUE(table.complete()) << table.describeOverlong();

    ParameterSet received;
    const ReportDecoder decoder;
    int total = 0;
    for (const LineSlot& slot : table.lines) {
        if (slot.empty()) {
            continue;
        }
        ASSERT_EQ(slot.line.rfind("KXS", 0), 0u);
        const std::string line = "KXs" + slot.line.substr(3, slot.line.size() - 5);
        const int result = decoder.decode(line, received);
        EXPECT_EQ(result, line.find(",Z4=") != std::string::npos ? ReportDecoder::kLastBlock
                                                                 : ReportDecoder::kBlock)
            << line;
        total += result;
    }
    EXPECT_EQ(total, kEncodedBlockCount - 1 + ReportDecoder::kLastBlock);

    for (int block = 0; block < kEncodedBlockCount; ++block) {
        for (const std::string& code : SetCommandEncoder::blockCodes(block)) {
            const Parameter& p = parameter(code);
            if (p.decode == Decode::None) {
                continue;
            }
            SCOPED_TRACE(code);
            if (p.isText()) {
                EXPECT_EQ(readText(received, p), readText(sent, p));
            } else {
                EXPECT_EQ(readNumber(received, p), readNumber(sent, p));
            }
        }
    }
}

}  // namespace
}  // namespace qn470
