// SPDX-License-Identifier: Apache-2.0
#include "config/profile.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/bin_image.h"
#include "config/default_profile.h"
#include "config/ini_text.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/stored_form.h"
#include "config/temp_folder.h"

namespace qn470 {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(QN470_TEST_DATA) / "profile";

std::string fileContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void putFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every byte set to one value: shows which bytes a read touched.
ParameterSet filled(unsigned char value) {
    ParameterSet set;
    std::memset(static_cast<void*>(&set), value, sizeof set);
    return set;
}

bool sameBytes(const ParameterSet& a, const ParameterSet& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

ParameterSet defaults() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

ParameterSet read(std::string_view body) {
    ParameterSet set;
    const ReadResult result = readProfileText("[QN-470]\r\n" + std::string(body), set);
    EXPECT_TRUE(result.ok) << result.error;
    return set;
}

uint32_t knownFlagBits() {
    uint32_t mask = 0;
    for (const Parameter& p : allParameters()) {
        mask |= p.flagMask;
    }
    return mask;
}

// ---- defaults --------------------------------------------------------------------------------

TEST(ProfileDefaults, SectionOnlyGivesEveryDefault) {
    ParameterSet set = filled(0xA5);
    const ReadResult result = readProfileText("[QN-470]\r\n", set);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(set.record.OB, 2);
    EXPECT_EQ(set.record.Flags, 0x24410009u);
    for (const Parameter& p : allParameters()) {
        SCOPED_TRACE(std::string(p.code));
        if (p.profile != ProfileUse::ReadWrite) {
            continue;
        }
        if (p.isText()) {
            EXPECT_EQ(readText(set, p), p.defaultText);
        } else {
            EXPECT_EQ(readNumber(set, p), p.defaultNumber);
        }
    }
    // The written-defaults file checks every value independently of the table.
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&set.record)[1111], 0xE3);  // J5 = -29
    EXPECT_EQ(set.hardwareOption.value, 3);
    // Codes profiles do not read keep their bytes.
    EXPECT_EQ(set.record.T0, 0xA5A5A5A5u);
    EXPECT_EQ(set.record.U2, 0xA5);
    EXPECT_EQ(set.record.C4, 0xA5);
    EXPECT_EQ(set.record.E8, 0xA5);
    EXPECT_EQ(set.record.Unused44, 0xA5A5A5A5u);
}

TEST(ProfileDefaults, BuiltInProfileIsTheSectionLine) {
    EXPECT_EQ(defaultProfileText(), "[QN-470]\r\n");
    const std::string stored = defaultProfileBytes();
    EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0xA4);
    ParameterSet fromStored = filled(0);
    ASSERT_TRUE(readProfileBytes(stored, fromStored).ok);
    EXPECT_TRUE(sameBytes(fromStored, defaults()));
}

TEST(ProfileDefaults, WrittenDefaultsMatchTheCommittedFile) {
    const std::string text = profileText(defaults());
    EXPECT_EQ(text.rfind("[QN-470]\r\nA0=1\r\nA1=0\r\nA2=5\r\n", 0), 0u);
    EXPECT_EQ(text, fileContent(kData / "written_defaults.ini"));
}

// ---- key order ---------------------------------------------------------------------------------

TEST(ProfileKeys, EveryProfileCodeOnceAndNothingElse) {
    std::multiset<std::string_view> listed(profileKeyOrder().begin(), profileKeyOrder().end());
    std::multiset<std::string_view> carried;
    for (const Parameter& p : allParameters()) {
        if (p.profile != ProfileUse::None) {
            carried.insert(p.code);
        }
    }
    EXPECT_EQ(listed, carried);
}

// ---- value formats written ---------------------------------------------------------------------

struct WriteCase {
    const char* name;
    std::function<void(ParameterSet&)> change;
    std::string_view line;

    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, WritesTheLine) {
    ParameterSet set = defaults();
    GetParam().change(set);
    const std::string text = profileText(set);
    EXPECT_NE(text.find("\r\n" + std::string(GetParam().line) + "\r\n"), std::string::npos)
        << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    testing::Values(
        WriteCase{"Unsigned32AsSigned", [](ParameterSet& s) { s.record.CA = 4294967294u; },
                  "CA=-2"},
        WriteCase{"Unsigned16Top", [](ParameterSet& s) { s.record.C1 = 65535; }, "C1=65535"},
        WriteCase{"MediaByteDecimal", [](ParameterSet& s) { s.record.H0 = 0xFF; }, "H0=255"},
        WriteCase{"SignedOffset", [](ParameterSet& s) { s.record.O6 = -3600; }, "O6=-3600"},
        WriteCase{"HardwareOption", [](ParameterSet& s) { s.hardwareOption.value = -1; }, "OT=-1"},
        WriteCase{"FlagSet", [](ParameterSet& s) { s.record.Flags |= Flag::Re; }, "Re=1"},
        WriteCase{"BoolByteAnyNonZero", [](ParameterSet& s) { s.record.SI = 5; }, "SI=1"},
        WriteCase{"LowerCaseCodeKey", [](ParameterSet& s) { s.record.Pa = 7; }, "Pa1=7"},
        WriteCase{"UpperCaseTwin", [](ParameterSet& s) { s.record.PA = 9; }, "PA=9"},
        WriteCase{"ActionText", [](ParameterSet& s) { writeText(s, "Qc", "1234567890"); },
                  "Qc1=1234567890"},
        WriteCase{"TextUnquoted", [](ParameterSet& s) { writeText(s, "D1", "internet"); },
                  "D1=internet"},
        WriteCase{"ShortStopBits", [](ParameterSet& s) { writeText(s, "S3", "1"); }, "S3=1"},
        WriteCase{"Firmware", [](ParameterSet& s) { std::strcpy(s.firmwareVersion.text, "V3"); },
                  "O7=V3"},
        WriteCase{"EventTextQuoted", [](ParameterSet& s) { writeText(s, "BB", "00SOS$+$6,$1"); },
                  "BB=\"00SOS$+$6,$1\""},
        WriteCase{"EventKeyRenamed", [](ParameterSet& s) { writeText(s, "Bk", "x"); }, "Bk1=\"x\""},
        WriteCase{"WriteOnlyCode", [](ParameterSet& s) { s.record.T2 = 0x20; }, "T2=32"},
        WriteCase{"LineBreaksLeftOut", [](ParameterSet& s) { writeText(s, "O5", "ab\r\nZE=1\r"); },
                  "O5=abZE=1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWrite, LineBreakInATextCannotSetAnotherKey) {
    ParameterSet set = defaults();
    writeText(set, "O5", "x\r\nZE=1");  // ZE comes after O5, so an extra line would win
    writeText(set, "BA", "y\nZE=1");
    ParameterSet back;
    ASSERT_TRUE(readProfileText(profileText(set), back).ok);
    EXPECT_EQ(back.record.ZE, 0);
    EXPECT_EQ(readText(back, "O5"), "xZE=1");
    EXPECT_EQ(readText(back, "BA"), "yZE=1");
}

// ---- reading -----------------------------------------------------------------------------------

struct NumberCase {
    const char* name;
    std::string_view body;
    std::string_view code;
    int64_t expected;

    friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }
};

class ProfileReadNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(ProfileReadNumber, StoresTheValue) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(readNumber(read(c.body), c.code), c.expected) << c.body;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadNumber,
    testing::Values(NumberCase{"SignedByte", "J5=-29\r\n", "J5", -29},
                    NumberCase{"SignedByteWraps", "J2=200\r\n", "J2", -56},
                    NumberCase{"Unsigned32FromSigned", "CA=-2\r\n", "CA", 4294967294},
                    NumberCase{"Unsigned32FromUnsigned", "CA=4294967294\r\n", "CA", 4294967294},
                    NumberCase{"Saturates", "CA=99999999999999999999\r\n", "CA", 4294967295},
                    NumberCase{"SaturatesNegative", "CA=-99999999999999999999\r\n", "CA", 0},
                    NumberCase{"LowBits16", "C1=65537\r\n", "C1", 1},
                    NumberCase{"NegativeInto16", "C1=-1\r\n", "C1", 65535},
                    NumberCase{"SignedOffset", "O6=-3600\r\n", "O6", -3600},
                    NumberCase{"NotANumber", "E1=port\r\n", "E1", 0},
                    NumberCase{"EmptyValue", "C1=\r\n", "C1", 0},
                    NumberCase{"Missing", "C2=1\r\n", "C1", 180},
                    NumberCase{"FirstKeyWins", "C1=100\r\nC1=200\r\n", "C1", 100},
                    NumberCase{"KeyCaseIgnored", "pa1=7\r\n", "Pa", 7},
                    NumberCase{"Pa1NeverSetsPA", "pa1=7\r\n", "PA", 0},
                    NumberCase{"PAOwnKey", "PA=9\r\n", "PA", 9},
                    NumberCase{"PANeverSetsPa", "PA=9\r\n", "Pa", 0},
                    NumberCase{"Qa1SetsQa", "QA1=5\r\n", "Qa", 5},
                    NumberCase{"QaKeyIsQA", "qa=5\r\n", "QA", 5},
                    NumberCase{"QaNotFromQA", "qa=5\r\n", "Qa", 16},
                    NumberCase{"FlagNonNumberClears", "A0=x\r\n", "A0", 0},
                    NumberCase{"FlagZeroClears", "A4=0\r\n", "A4", 0},
                    NumberCase{"FlagAnyNonZero", "A1=2\r\n", "A1", 1},
                    NumberCase{"FlagNegative", "A1=-1\r\n", "A1", 1},
                    NumberCase{"FlagBeyond32Bits", "A1=4294967296\r\n", "A1", 1},
                    NumberCase{"BoolByteNonZero", "SI=5\r\n", "SI", 1},
                    NumberCase{"BoolByte256", "Pb=256\r\n", "Pb", 1},
                    NumberCase{"HardwareMissing", "", "OT", 3},
                    NumberCase{"HardwareNegative", "OT=-1\r\n", "OT", -1},
                    NumberCase{"WriteOnlyNotRead", "T0=5\r\nU2=7\r\n", "T0", 0},
                    NumberCase{"NotCarriedNotRead", "C4=9\r\n", "C4", 0},
                    NumberCase{"MediaDecimalNotHex", "H0=20\r\n", "H0", 20}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char* name;
    std::string body;
    std::string_view code;
    std::string expected;

    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

class ProfileReadText : public testing::TestWithParam<TextCase> {};

TEST_P(ProfileReadText, StoresTheText) {
    const TextCase& c = GetParam();
    EXPECT_EQ(readText(read(c.body), c.code), c.expected) << c.body;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadText,
    testing::Values(TextCase{"Plain", "D1=internet\r\n", "D1", "internet"},
                    TextCase{"DoubleQuotesRemoved", "O5=\"abc\"\r\n", "O5", "abc"},
                    TextCase{"EmptyPresent", "O3=\r\n", "O3", ""},
                    TextCase{"MissingDefault", "", "O3", "SPRXAB27GHKLMn*U!"},
                    TextCase{"MissingHost", "", "E0", std::string(kDefaultServerHost)},
                    TextCase{"CutToField", "O5=0123456789ABCDEFGH\r\n", "O5", "0123456789ABCDE"},
                    TextCase{"ActionFillsField", "CD=1234567890\r\n", "CD", "1234567890"},
                    TextCase{"ShortStopBits", "S3=1\r\n", "S3", "1"},
                    TextCase{"StopBitsCut", "S3=12345\r\n", "S3", "123"},
                    TextCase{"QuOwnKey", "Qs=1\r\nQt=2\r\nQu=1111111111\r\nQv=2222222222\r\n", "Qu",
                             "1111111111"},
                    TextCase{"QvOwnKey", "Qs=1\r\nQt=2\r\nQu=1111111111\r\nQv=2222222222\r\n", "Qv",
                             "2222222222"},
                    TextCase{"Qc1", "qc1=3333333333\r\n", "Qc", "3333333333"},
                    TextCase{"Firmware", "O7=V1.2.3\r\n", "O7", "V1.2.3"},
                    TextCase{"FirmwareCut", "O7=0123456789012345678901234567890\r\n", "O7",
                             "012345678901234567890123456"},
                    TextCase{"EventQuoted", "BA=\"00Hi$+$6,$1\"\r\n", "BA", "00Hi$+$6,$1"},
                    TextCase{"EventUnquoted", "BA=00Hi\r\n", "BA", "00Hi"},
                    TextCase{"EventInnerBlanksKept", "BA=\" a \"\r\n", "BA", " a "},
                    TextCase{"EventRenamedKey", "ba1=\"y\"\r\n", "Ba", "y"},
                    TextCase{"EventRenamedNotUpper", "ba1=\"y\"\r\n", "BA",
                             "00Ping report$+IMEI:$S$+Time:$C$+GPS $A$+$6,$1$+Speed:$IK/H$+IO:$Y"},
                    TextCase{
                        "EventMissingDefault", "", "Bk",
                        "00Parking alarm$+IMEI:$S$+Time:$C$+GPS $A$+$6,$1$+Speed:$IK/H$+IO:$Y"},
                    TextCase{"EventCut", "BQ=\"" + std::string(120, 'x') + "\"\r\n", "BQ",
                             std::string(95, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileRead, ClearsUnknownFlagBitsFirst) {
    ParameterSet set;
    set.record.Flags = 0xFFFFFFFF;
    ASSERT_TRUE(readProfileText("[QN-470]\r\n", set).ok);
    EXPECT_EQ(set.record.Flags, 0x24410009u);
    ASSERT_TRUE(readProfileText("[QN-470]\r\nA0=0\r\nRe=1\r\n", set).ok);
    EXPECT_EQ(set.record.Flags, 0xA4410008u);
}

TEST(ProfileRead, SectionVariants) {
    // A second section of the same name (in any case) is ignored.
    EXPECT_EQ(readNumber(read("[qn-470]\r\nC1=300\r\n"), "C1"), 180);
    ParameterSet set;
    ASSERT_TRUE(readProfileText("; saved by hand\r\n[qn-470]\nC1=300\n", set).ok);
    EXPECT_EQ(set.record.C1, 300);
    ASSERT_TRUE(readProfileText("[Other]\r\nC1=1\r\n[QN-470]\r\nC2=11\r\n", set).ok);
    EXPECT_EQ(set.record.C1, 180);
    EXPECT_EQ(set.record.C2, 11);
}

TEST(ProfileRead, ReadsOBIntoTheRecord) {
    ParameterSet set;
    ASSERT_TRUE(readProfileText("[QN-470]\r\nOB=5\r\n", set).ok);
    EXPECT_EQ(set.record.OB, 5);
    ASSERT_TRUE(readProfileText("[QN-470]\r\n", set).ok);
    EXPECT_EQ(set.record.OB, 2);
}

TEST(ProfileRead, TextWithoutSectionChangesNothing) {
    for (const std::string_view text : {"", "C1=300\r\n", "[QN-471]\r\nC1=300\r\n"}) {
        ParameterSet set = filled(0x5A);
        const ParameterSet before = set;
        const ReadResult result = readProfileText(text, set);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "not a profile (no [QN-470] section)");
        EXPECT_TRUE(sameBytes(set, before));
    }
}

// ---- round trips -------------------------------------------------------------------------------

// Text bytes the profile keeps: anything but NUL, CR and LF, blanks and quotes at the ends too
// (drawn often there, since the reader would trim them from a value written bare).
std::string randomText(std::mt19937& random, const Parameter& p) {
    const int length = static_cast<int>(random() % (p.maxTextLength() + 1));
    std::string text;
    for (int i = 0; i < length; ++i) {
        const bool edge = i == 0 || i == length - 1;
        char c;
        do {
            c = edge && random() % 2 == 0 ? " \t\"'"[random() % 4]
                                          : static_cast<char>(random() % 255 + 1);
        } while (c == '\r' || c == '\n');
        text += c;
    }
    return text;
}

ParameterSet randomSet(std::mt19937& random) {
    ParameterSet set;
    auto* bytes = reinterpret_cast<unsigned char*>(&set);
    for (std::size_t i = 0; i < sizeof set; ++i) {
        bytes[i] = static_cast<unsigned char>(random());
    }
    for (const Parameter& p : allParameters()) {
        if (p.isText()) {
            writeText(set, p, randomText(random, p));
        }
    }
    return set;
}

// What a read of the written set must give: unknown flag bits cleared, boolean bytes as 0/1.
ParameterSet normalised(ParameterSet set) {
    set.record.Flags &= knownFlagBits();
    for (const Parameter& p : allParameters()) {
        if (p.storage == Storage::BoolByte) {
            writeNumber(set, p, readNumber(set, p) != 0 ? 1 : 0);
        }
    }
    return set;
}

void expectRoundTrip(const ParameterSet& original) {
    const ParameterSet expected = normalised(original);
    const std::string text = profileText(original);

    // Into a copy: exactly the expected bytes, nothing else touched.
    ParameterSet over = original;
    ASSERT_TRUE(readProfileText(text, over).ok);
    EXPECT_TRUE(sameBytes(over, expected));

    // Into a blank set: every read code carries its value.
    ParameterSet blank;
    ASSERT_TRUE(readProfileText(text, blank).ok);
    for (const Parameter& p : allParameters()) {
        if (p.profile != ProfileUse::ReadWrite) {
            continue;
        }
        if (p.isText()) {
            EXPECT_EQ(readText(blank, p), readText(expected, p)) << p.code;
        } else {
            EXPECT_EQ(readNumber(blank, p), readNumber(expected, p)) << p.code;
        }
    }
}

TEST(ProfileRoundTrip, Defaults) {
    expectRoundTrip(defaults());
}

TEST(ProfileRoundTrip, DocumentedValues) {
    ParameterSet set = defaults();
    set.record.CA = 4294967294u;
    set.record.J5 = -29;
    set.record.O6 = -43200;
    set.hardwareOption.value = -7;
    writeText(set, "BA", "00Ping$+$6,$1$+\"quoted\"");
    writeText(set, "S3", "1");
    writeText(set, "Qu", "1111111111");
    writeText(set, "Qv", "2222222222");
    expectRoundTrip(set);
}

TEST(ProfileRoundTrip, RandomSets) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        expectRoundTrip(randomSet(random));
    }
}

// ---- files -------------------------------------------------------------------------------------

TEST(ProfileFile, WrittenComplementedAndReadBack) {
    test::TempFolder folder;
    const fs::path path = folder / "car1.pro";
    std::mt19937 random(7);
    const ParameterSet original = randomSet(random);
    const FileResult written = writeProfile(original, path);
    ASSERT_TRUE(written.ok) << written.error;
    const std::string stored = fileContent(path);
    EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0xA4);
    EXPECT_EQ(complementBytes(stored), profileText(original));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.pro"});  // no clear-text copy

    ParameterSet back = filled(0);
    const ReadResult result = readProfile(path, back);
    ASSERT_TRUE(result.ok) << result.error;
    ParameterSet expected = filled(0);
    ASSERT_TRUE(readProfileText(profileText(original), expected).ok);
    EXPECT_TRUE(sameBytes(back, expected));
}

TEST(ProfileFile, LongProfileIsCarriedWhole) {
    test::TempFolder folder;
    const fs::path path = folder / "long.pro";
    ParameterSet set = defaults();
    for (const Parameter& p : allParameters()) {
        if (p.isText() && p.profile == ProfileUse::ReadWrite) {
            writeText(set, p, std::string(p.maxTextLength(), 'L'));
        }
    }
    writeText(set, "Bk", std::string(94, 'L') + "!");  // the very last value
    ASSERT_TRUE(writeProfile(set, path).ok);
    ASSERT_GT(fs::file_size(path), 5120u);
    ParameterSet back;
    ASSERT_TRUE(readProfile(path, back).ok);
    EXPECT_TRUE(sameBytes(back, normalised(set)));
    EXPECT_EQ(readText(back, "Bk").back(), '!');
}

struct AcceptedFile {
    const char* file;
    std::string_view code;
    int64_t expected;
};

TEST(ProfileFile, AcceptedFixtures) {
    const AcceptedFile cases[] = {
        {"section_only.pro", "C1", 180},
        {"clear_text.pro", "C1", 300},
        {"clear_text.pro", "A0", 0},
        {"lf_line_ends.pro", "C1", 300},
    };
    for (const AcceptedFile& c : cases) {
        ParameterSet set;
        const ReadResult result = readProfile(kData / c.file, set);
        ASSERT_TRUE(result.ok) << c.file << ": " << result.error;
        EXPECT_EQ(readNumber(set, c.code), c.expected) << c.file;
    }
}

struct RejectedFile {
    const char* file;
    std::string_view problem;
};

TEST(ProfileFile, RejectedFixturesLeaveTheSetUnchanged) {
    const RejectedFile cases[] = {
        {"missing.pro", "file not found"},
        {"empty.pro", "the file is empty"},
        {"no_section.pro", "not a profile (no [QN-470] section)"},
        {"other_section.pro", "not a profile (no [QN-470] section)"},
        {"random_bytes.pro", "not a profile (no [QN-470] section)"},
        {"record.bin", "not a profile (no [QN-470] section)"},
        {"", "is a folder, not a file"},
    };
    for (const RejectedFile& c : cases) {
        ParameterSet set = filled(0x3C);
        const ParameterSet before = set;
        const fs::path path = kData / c.file;
        const ReadResult result = readProfile(path, set);
        EXPECT_FALSE(result.ok) << c.file;
        EXPECT_EQ(result.error, path.string() + ": " + std::string(c.problem));
        EXPECT_TRUE(sameBytes(set, before)) << c.file;
    }
}

TEST(ProfileFile, OddFilesAreRefusedQuickly) {
    test::TempFolder folder;
#ifndef _WIN32
    const fs::path pipe = folder / "pipe.pro";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
#endif
    const fs::path huge = folder / "huge.pro";
    putFile(huge, std::string((1u << 20) + 1, '\xA4'));
    const RejectedFile cases[] = {
#ifndef _WIN32
        {"pipe.pro", "is not a plain file"},  // must not wait for a writer
#endif
        {"huge.pro", "too large (more than 1048576 bytes)"},
    };
    for (const RejectedFile& c : cases) {
        ParameterSet set = filled(0x3C);
        const ReadResult result = readProfile(folder / c.file, set);
        EXPECT_EQ(result.error, (folder / c.file).string() + ": " + std::string(c.problem));
        EXPECT_TRUE(sameBytes(set, filled(0x3C))) << c.file;
    }
}

// Making a link needs a privilege on Windows.
#ifndef _WIN32
TEST(ProfileFile, WritesThroughASymbolicLink) {
    test::TempFolder folder;
    putFile(folder / "real.pro", "old");
    fs::create_symlink("real.pro", folder / "link.pro");
    ASSERT_TRUE(writeProfile(defaults(), folder / "link.pro").ok);
    EXPECT_TRUE(fs::is_symlink(folder / "link.pro"));
    EXPECT_EQ(fileContent(folder / "real.pro"), complementBytes(profileText(defaults())));
}
#endif

TEST(ProfileFile, FreshBinImageIsNotAProfile) {
    test::TempFolder folder;
    ParameterSet set = defaults();
    ASSERT_TRUE(writeBinFile(set.record, folder / "car1.bin").ok);
    ParameterSet target = filled(1);
    const ReadResult result = readProfile(folder / "car1.bin", target);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("not a profile"), std::string::npos);
    EXPECT_TRUE(sameBytes(target, filled(1)));
}

TEST(ProfileFile, NoPathIsAnError) {
    ParameterSet set;
    EXPECT_FALSE(readProfile("", set).ok);
    const FileResult written = writeProfile(set, "");
    EXPECT_FALSE(written.ok);
    EXPECT_NE(written.error.find("no file name given"), std::string::npos);
}

// ---- failed writes -----------------------------------------------------------------------------

TEST(ProfileFile, FolderAtTheTargetPath) {
    test::TempFolder folder;
    const fs::path path = folder / "car1.pro";
    fs::create_directory(path);
    const FileResult result = writeProfile(defaults(), path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, path.string() + ": is a folder, not a file");
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.pro"});
}

TEST(ProfileFile, MissingFolder) {
    test::TempFolder folder;
    const fs::path path = folder / "gone" / "car1.pro";
    const FileResult result = writeProfile(defaults(), path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind(path.string() + ": cannot create a file in its folder (", 0), 0u)
        << result.error;
}

// File size limits and read-only folders are POSIX ideas.
#ifndef _WIN32
// Limits the size of files this process may write, so a write fails halfway.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);  // get EFBIG instead of a signal
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

TEST(ProfileFile, WriteFailingHalfwayKeepsTheOldFile) {
    test::TempFolder folder;
    const fs::path path = folder / "car1.pro";
    const std::string old = "old profile content";
    putFile(path, old);
    ParameterSet set = defaults();
    FileResult result;
    {
        FileSizeLimit limit(1000);  // the profile is several kilobytes
        result = writeProfile(set, path);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind(path.string() + ": write failed (", 0), 0u) << result.error;
    EXPECT_EQ(fileContent(path), old);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.pro"});
}

TEST(ProfileFile, ReadOnlyFolderKeepsTheOldFile) {
    test::TempFolder folder;
    const fs::path path = folder / "car1.pro";
    putFile(path, "old");
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "this user can write into read-only folders";
    }
    const FileResult result = writeProfile(defaults(), path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(fileContent(path), "old");
}
#endif

}  // namespace
}  // namespace qn470
