// SPDX-License-Identifier: Apache-2.0
// Drives the built qn470 binary the way scripts do: arguments in, bytes and exit status out.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Replaces every {dir} with the folder.
std::string inFolder(std::string text, const std::string& dir) {
    for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) {
        text.replace(at, 5, dir);
    }
    return text;
}

// Every line of `lines`, each with `prefix` in front.
std::string prefixLines(const std::string& lines, const std::string& prefix) {
    std::string out;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        out += prefix + line + "\n";
    }
    return out;
}

// A program's path as one shell word: the checkout may sit in a folder with a space.
std::string shellWord(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/qn470-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path path(const std::string& name) const { return m_dir / name; }

    // Runs qn470 in the test folder with the arguments (already shell-quoted where needed) and
    // optional stdin file.
    CliRun run(const std::string& args, const std::string& input = {}) const {
        const fs::path out = path("stdout"), err = path("stderr"), in = path("stdin");
        spit(in, input);
        const std::string command = "cd " + m_dir.string() + " && " + shellWord(QN470_CLI) + " " +
                                    args + " <" + in.string() + " >" + out.string() + " 2>" +
                                    err.string();
        const int raw = std::system(command.c_str());
        CliRun r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(out);
        r.err = slurp(err);
        return r;
    }

    std::string defaults() const {
        const fs::path file = path("defaults.pro");
        if (!fs::exists(file)) {
            EXPECT_EQ(run("defaults " + file.string()).status, 0);
        }
        return file.string();
    }

    fs::path m_dir;
};

TEST_F(Cli, DefaultsAreStoredComplementedAndExportGivesTheClearText) {
    const std::string file = defaults();
    const std::string stored = slurp(file);
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0xFF - '[');

    const CliRun exported = run("export " + file);
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out.rfind("[QN-470]\r\nA0=1\r\nA1=0\r\nA2=5\r\n", 0), 0u);
    ASSERT_EQ(exported.out.size(), stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        ASSERT_EQ(static_cast<unsigned char>(exported.out[i]),
                  0xFF - static_cast<unsigned char>(stored[i]));
    }

    // export | import reproduces the stored file byte for byte.
    spit(path("clear.ini"), exported.out);
    EXPECT_EQ(run("import " + path("clear.ini").string() + " " + path("again.pro").string()).status,
              0);
    EXPECT_EQ(slurp(path("again.pro")), stored);
}

TEST_F(Cli, ImportAppliesTheReaderRules) {
    spit(path("edit.ini"),
         "; edited by hand\n[qn-470]\n  K2 = 250 \nk2=999\npa1=7\nD1=\"internet\"\nJ5=-40\n");
    // The repeated key is a problem; --lenient takes the file as the reader does.
    const CliRun imported =
        run("import --lenient " + path("edit.ini").string() + " " + path("edit.pro").string());
    ASSERT_EQ(imported.status, 0);
    EXPECT_EQ(imported.err,
              "qn470: warning: " + path("edit.ini").string() +
                  ": line 4: k2=999: the key is given twice; only the first counts\n");
    const CliRun shown = run("show " + path("edit.pro").string() + " K2 Pa PA D1 J5 C1");
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "K2=250\nPa=7\nPA=0\nD1=internet\nJ5=-40\nC1=180\n");
}

TEST_F(Cli, EncodePrintsEverySlotAsSent) {
    const CliRun encoded = run("encode " + defaults());
    ASSERT_EQ(encoded.status, 0) << encoded.err;
    std::istringstream lines(encoded.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ASSERT_TRUE(line.ends_with("*QQ!\r")) << line;
        ++count;
    }
    EXPECT_EQ(count, 71);
    EXPECT_NE(encoded.out.find("KXS,KorvelantQN-470,0,9,K0=0,K1=0,K2=100,K3=10,K4=20,"
                               "K6=0000000000,K7=0000000000*QQ!\r\n"),
              std::string::npos);
}

TEST_F(Cli, DecodeAppliesAReportAndPrintsTheSum) {
    spit(path("report.txt"),
         "RTC_Counter 12\r\n"
         "xxKXs,KorvelantQN-470,0,9,K0=1,K2=250*12!\r\n"
         "KXs,KorvelantQN-470,1,Z4=20,C1=30\n"
         "KXs,KorvelantQN-470,2,CA=4294967294*00!");
    const CliRun decoded = run("decode " + defaults() + " " + path("out.pro").string() + " " +
                               path("report.txt").string());
    ASSERT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.err, "52\n");
    EXPECT_EQ(run("show " + path("out.pro").string() + " K0 K2 Z4 C1 CA").out,
              "K0=1\nK2=250\nZ4=20\nC1=180\nCA=4294967294\n");

    // The same report from standard input.
    const CliRun piped =
        run("decode " + defaults() + " " + path("piped.pro").string(), slurp(path("report.txt")));
    EXPECT_EQ(piped.err, "52\n");
    EXPECT_EQ(slurp(path("piped.pro")), slurp(path("out.pro")));
}

TEST_F(Cli, BinWritesTheRecordImage) {
    ASSERT_EQ(run("bin " + defaults() + " " + path("x.bin").string()).status, 0);
    const std::string image = slurp(path("x.bin"));
    ASSERT_EQ(image.size(), 1392u);
    EXPECT_EQ(static_cast<unsigned char>(image[0]), 0x70);
    EXPECT_EQ(static_cast<unsigned char>(image[1]), 0x05);
    EXPECT_EQ(static_cast<unsigned char>(image[4]), 0x02);
}

TEST_F(Cli, DiffListsDifferencesAndSetsTheStatus) {
    EXPECT_EQ(run("diff " + defaults() + " " + defaults()).status, 0);
    spit(path("b.ini"), "[QN-470]\r\nK2=250\r\nCC=171\r\n");
    ASSERT_EQ(run("import " + path("b.ini").string() + " " + path("b.pro").string()).status, 0);
    const CliRun diff = run("diff " + defaults() + " " + path("b.pro").string());
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, "CC: 10 -> ab\nK2: 100 -> 250\n");
}

struct BadInput {
    const char* name;
    std::string args;        // {dir} stands for the test folder
    const char* message;     // expected part of the one-line error
    const char* notWritten;  // a file that must not appear, or ""
};

TEST_F(Cli, BadInputExitsTwoWithAMessageAndWritesNothing) {
    spit(path("random.pro"), std::string("\x01\x02\xfe\x00zz", 6));
    spit(path("empty.pro"), "");
    spit(path("binary.txt"), std::string("KXs,a,K2=5\0\x01", 13));
    // A valid profile padded past 1 MiB with comment lines: only its size is wrong.
    std::string huge = "[QN-470]\r\nK2=250\r\n";
    while (huge.size() <= (1u << 20)) {
        huge += "; padding padding padding padding padding padding padding padding\r\n";
    }
    spit(path("huge.ini"), huge);
    // Good report lines, then a NUL byte far past the first read.
    spit(path("late-nul.txt"), std::string(200000, '\n') + std::string("KXs\0", 4));
    spit(path("long.txt"), "RTC_Counter 1\r\n\r\n" + std::string(65537, 'x') + "\r\nKXs\r\n");
    spit(path("long-last.txt"), "RTC_Counter 1\n" + std::string(65537, 'x'));
    const std::string d = defaults();
    const BadInput cases[] = {
        {"missing file", "show {dir}/none.pro", "none.pro", ""},
        {"not a profile", "bin {dir}/random.pro {dir}/out.bin", "random.pro", "out.bin"},
        {"empty file", "export {dir}/empty.pro", "empty.pro", ""},
        {"binary report", "decode " + d + " {dir}/out.pro {dir}/binary.txt", "binary.txt",
         "out.pro"},
        {"clear text without section", "import {dir}/binary.txt {dir}/out.pro", "binary.txt",
         "out.pro"},
        {"unknown code", "show " + d + " ZZ", "ZZ", ""},
        {"unknown command", "frobnicate", "frobnicate", ""},
        {"unknown option", "encode --fast " + d, "--fast", ""},
        {"missing argument", "bin " + d, "missing argument", ""},
        {"target folder missing", "defaults {dir}/no/such/dir/x.pro", "x.pro", ""},
        {"check of a text without section", "check {dir}/binary.txt", "binary.txt: not a profile",
         ""},
        {"check of an empty file", "check {dir}/empty.pro", "empty.pro: the file is empty", ""},
        {"check of a missing file", "check {dir}/none.pro", "none.pro", ""},
        {"import above 1 MiB", "import {dir}/huge.ini {dir}/out.pro", "huge.ini: too large",
         "out.pro"},
        {"check above 1 MiB", "check {dir}/huge.ini", "huge.ini: too large", ""},
        {"export above 1 MiB", "export {dir}/huge.ini", "huge.ini: too large", ""},
        {"NUL past the first read", "decode " + d + " {dir}/out.pro {dir}/late-nul.txt",
         "late-nul.txt: not a text report (it holds NUL bytes)", "out.pro"},
        {"overlong report line", "decode " + d + " {dir}/out.pro {dir}/long.txt",
         "long.txt: line 3 is longer than 65536 characters; not a tracker report", "out.pro"},
        {"overlong last line without line end",
         "decode " + d + " {dir}/out.pro {dir}/long-last.txt",
         "long-last.txt: line 2 is longer than 65536 characters; not a tracker report", "out.pro"},
        {"report is a folder", "decode " + d + " {dir}/out.pro {dir}", "is a folder", "out.pro"},
        {"import option unknown", "import --strict {dir}/huge.ini {dir}/out.pro", "--strict",
         "out.pro"},
    };
    for (const BadInput& c : cases) {
        const std::string args = inFolder(c.args, m_dir.string());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(r.err.rfind("qn470: ", 0), 0u) << c.name << ": " << r.err;
        if (*c.notWritten != '\0') {
            EXPECT_FALSE(fs::exists(path(c.notWritten))) << c.name;
        }
    }
}

TEST_F(Cli, FailedWriteLeavesWhatWasThere) {
    // A folder in the target's place cannot be replaced: the write fails and the folder, with
    // what it holds, stays as it was.
    fs::create_directory(path("taken.bin"));
    spit(path("taken.bin") / "inside", "old");
    const CliRun r = run("bin " + defaults() + " " + path("taken.bin").string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("taken.bin"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(path("taken.bin") / "inside"), "old");
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "temporary file left behind: " << entry.path();
    }
}

TEST_F(Cli, HelpAndVersion) {
    EXPECT_EQ(run("--version").out, "qn470 " QN470_PROJECT_VERSION "\n");
    const CliRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"defaults", "export", "import", "check", "encode", "decode", "bin", "show", "diff"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        EXPECT_EQ(run(std::string(command) + " --help").status, 0) << command;
    }
}

// ---------------------------------------------------------------------------------------------
// check lists a profile's problems; import refuses them, import --lenient warns.

struct ProfileCase {
    const char* name;
    std::string text;      // the clear INI text
    std::string problems;  // what check prints, one line each
    const char* shown;     // "CODE=value" after import --lenient, or ""
};

const ProfileCase kProfileCases[] = {
    {"Clean", "[QN-470]\r\nK2=250\r\nC1=600\r\n", "", "C1=600"},
    {"NumberAboveRange", "[QN-470]\r\nK2=250\r\nC1=70000\r\n",
     "line 3: C1=70000: must be between 60 and 600\n", "C1=4464"},
    {"NumberBelowRange", "[QN-470]\r\nC1=59\r\n", "line 2: C1=59: must be between 60 and 600\n",
     "C1=59"},
    {"EmptyNumber", "[QN-470]\r\nK2=\r\n", "line 2: K2=: is not a whole number\n", "K2=0"},
    {"UnknownKey", "[QN-470]\r\nZZ=1\r\n", "line 2: ZZ=1: no parameter has this key\n", ""},
    {"KeyTwice", "[QN-470]\r\nK2=250\r\nk2=999\r\n",
     "line 3: k2=999: the key is given twice; only the first counts\n", "K2=250"},
    {"NotKeyValue", "[QN-470]\r\nK2 250\r\n", "line 2: \"K2 250\" is not key=value\n", ""},
    {"TextWithComma", "[QN-470]\r\nD1=a,b\r\n",
     "line 2: D1=a,b: holds a comma, which would end the value on the tracker\n", "D1=a,b"},
    {"EventTextWithoutMark", "[QN-470]\r\nO3=NOMARK\r\n",
     "line 2: O3=NOMARK: must end with \"!\"\n", ""},
    {"SecondSection", "[QN-470]\r\nC1=300\r\n[QN-470]\r\nC1=5\r\n",
     "line 3: a second [QN-470] section; only the first counts\n", "C1=300"},
    // Line numbers count every line, comments and blank lines too, whatever the line ends.
    {"ByteOrderMarkAndLf", "\xEF\xBB\xBF; edited\n\n[QN-470]\nK2=1\rC1=70000\n",
     "line 5: C1=70000: must be between 60 and 600\n", "K2=1"},
    {"SeveralInLineOrder", "[QN-470]\r\nZZ=1\r\nC1=1\r\nD1=a,b\r\n",
     "line 2: ZZ=1: no parameter has this key\n"
     "line 3: C1=1: must be between 60 and 600\n"
     "line 4: D1=a,b: holds a comma, which would end the value on the tracker\n",
     "C1=1"},
};

// Failure messages name the case, not its bytes.
void PrintTo(const ProfileCase& c, std::ostream* out) {
    *out << c.name;
}

std::string complemented(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        c = static_cast<char>(~static_cast<unsigned char>(c));
    }
    return out;
}

class ProfileProblems : public Cli, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileProblems, CheckListsThemImportRefusesThemLenientWarns) {
    const ProfileCase& c = GetParam();
    const std::string in = path("in.ini").string();
    const std::string out = path("out.pro").string();
    const int problemStatus = c.problems.empty() ? 0 : 1;

    // check, on the clear text and on the stored form alike.
    spit(in, c.text);
    spit(path("in.pro"), complemented(c.text));
    for (const std::string& file : {in, path("in.pro").string()}) {
        const CliRun checked = run("check " + file);
        EXPECT_EQ(checked.status, problemStatus) << file;
        EXPECT_EQ(checked.out, c.problems) << file;
        EXPECT_EQ(checked.err, "") << file;
    }

    // import: refused with one line per problem, and what was stored stays as it was.
    spit(out, "old");
    const CliRun imported = run("import " + in + " " + out);
    if (c.problems.empty()) {
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.err, "");
    } else {
        EXPECT_EQ(imported.status, 2);
        EXPECT_EQ(imported.err, prefixLines(c.problems, "qn470: " + in + ": "));
        EXPECT_TRUE(slurp(out) == "old");
    }

    // import --lenient: written as the reader takes it, the problems as warnings.
    const CliRun lenient = run("import --lenient " + in + " " + out);
    EXPECT_EQ(lenient.status, 0) << lenient.err;
    EXPECT_EQ(lenient.err, prefixLines(c.problems, "qn470: warning: " + in + ": "));
    EXPECT_NE(slurp(out), "old");
    if (*c.shown != '\0') {
        const std::string code = std::string(c.shown).substr(0, std::string(c.shown).find('='));
        EXPECT_EQ(run("show " + out + " " + code).out, std::string(c.shown) + "\n");
    }
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "temporary file left behind: " << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileProblems, ::testing::ValuesIn(kProfileCases),
                         [](const ::testing::TestParamInfo<ProfileCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Cli, EncodeReadsLenientlyAndWarns) {
    const std::string clean = run("export " + defaults()).out;
    spit(path("extra.pro"), clean + "ZZ=1\r\n");  // a clear-text profile with a stray key
    const auto line = std::count(clean.begin(), clean.end(), '\n') + 1;
    const CliRun encoded = run("encode " + path("extra.pro").string());
    EXPECT_EQ(encoded.status, 0);
    EXPECT_EQ(encoded.err, "qn470: warning: " + path("extra.pro").string() + ": line " +
                               std::to_string(line) + ": ZZ=1: no parameter has this key\n");
    EXPECT_EQ(encoded.out, run("encode " + defaults()).out);
}

// ---------------------------------------------------------------------------------------------
// "-" as an output is standard output, byte for byte what the file would hold.

TEST_F(Cli, DashWritesTheFileBytesToStandardOutput) {
    const std::string d = defaults();
    spit(path("clean.ini"), "[QN-470]\r\nK2=250\r\n");
    spit(path("report.txt"), "KXs,KorvelantQN-470,0,9,K0=1,K2=250*12!\r\n");
    const struct {
        const char* name;
        std::string args;  // {out} stands for the output
    } cases[] = {
        {"defaults", "defaults {out}"},
        {"import", "import {dir}/clean.ini {out}"},
        {"decode", "decode " + d + " {out} {dir}/report.txt"},
        {"bin", "bin " + d + " {out}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string args = inFolder(c.args, m_dir.string());
        const std::size_t at = args.find("{out}");
        const std::string file = path(std::string("file-") + c.name).string();
        const CliRun toFile = run(std::string(args).replace(at, 5, file));
        ASSERT_EQ(toFile.status, 0) << toFile.err;
        const CliRun toStdout = run(std::string(args).replace(at, 5, "-"));
        EXPECT_EQ(toStdout.status, 0) << toStdout.err;
        EXPECT_EQ(toStdout.out, slurp(file));  // no newline added, nothing else
        EXPECT_EQ(toStdout.err, toFile.err);
        EXPECT_FALSE(fs::exists(path("-")));
    }
}

// ---------------------------------------------------------------------------------------------
// decode reads its report line by line, whatever lands where in a read.

const char kReport[] =
    "RTC_Counter 12\r\n"
    "xxKXs,KorvelantQN-470,0,9,K0=1,K2=250*12!\r\n"
    "KXs,KorvelantQN-470,1,Z4=20,C1=30\n"
    "KXs,KorvelantQN-470,2,CA=4294967294*00!";

struct Chunking {
    const char* name;
    std::string before;  // lines put in front of the report
    const char* error;   // the refusal, or "" when the report is taken
};

const Chunking kChunkings[] = {
    {"NothingBefore", "", ""},
    {"LineAcrossTheFirstRead", std::string(65530, 'x') + "\n", ""},
    {"CrAndLfInTwoReads", std::string(65520, 'x') + "\n", ""},
    {"LongestLineAllowed", std::string(65536, 'x') + "\r\n", ""},
    {"LongestLastCharacterIsCr", std::string(65535, 'x') + "\r\r\n", ""},
    {"ManyEmptyLines", std::string(300000, '\n'), ""},
    {"OneCharacterTooMany", std::string(65537, 'x') + "\r\n",
     "line 1 is longer than 65536 characters; not a tracker report"},
    {"TooLongAfterManyLines", std::string(70000, '\n') + std::string(200000, 'x'),
     "line 70001 is longer than 65536 characters; not a tracker report"},
};

void PrintTo(const Chunking& c, std::ostream* out) {
    *out << c.name;
}

class DecodeChunking : public Cli, public ::testing::WithParamInterface<Chunking> {};

TEST_P(DecodeChunking, FromFileAndStandardInput) {
    const Chunking& c = GetParam();
    const std::string d = defaults();
    ASSERT_EQ(run("decode " + d + " " + path("expected.pro").string(), kReport).status, 0);
    spit(path("report.txt"), c.before + kReport);
    const std::string out = path("out.pro").string();
    for (const bool fromFile : {true, false}) {
        SCOPED_TRACE(fromFile ? "file" : "standard input");
        const CliRun r = fromFile
                             ? run("decode " + d + " " + out + " " + path("report.txt").string())
                             : run("decode " + d + " " + out, c.before + kReport);
        if (*c.error == '\0') {
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err, "52\n");
            EXPECT_EQ(slurp(out), slurp(path("expected.pro")));
        } else {
            const std::string name = fromFile ? path("report.txt").string() : "standard input";
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.err, "qn470: " + name + ": " + c.error + "\n");
            EXPECT_FALSE(fs::exists(out));
        }
        fs::remove(out);
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, DecodeChunking, ::testing::ValuesIn(kChunkings),
                         [](const ::testing::TestParamInfo<Chunking>& info) {
                             return std::string(info.param.name);
                         });

// Runs a shell command; its exit status and the peak resident memory (kB) of the largest process
// it started (wait4 counts the shell's reaped children in).
std::pair<int, long> peakOf(const std::string& command) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int raw = 0;
    rusage usage{};
    ::wait4(child, &raw, 0, &usage);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, usage.ru_maxrss};
}

TEST_F(Cli, DecodeFromStandardInputHoldsOneLineAtATime) {
    const auto decodeBytes = [&](long bytes) {
        return peakOf("yes 'RTC_Counter 12' | head -c " + std::to_string(bytes) + " | " +
                      shellWord(QN470_CLI) + " decode " + defaults() + " " +
                      path("out.pro").string() + " 2>/dev/null");
    };
    const auto [smallStatus, small] = decodeBytes(1024);
    const auto [largeStatus, large] = decodeBytes(64l << 20);
    ASSERT_EQ(smallStatus, 0);
    ASSERT_EQ(largeStatus, 0);
    // Holding the report would take 64 MiB and more; reading it in chunks takes nothing extra.
    EXPECT_LT(large - small, 16 * 1024) << "small " << small << " kB, large " << large << " kB";
}

#ifdef QN470_WINDOW
// The window's own option parsing keeps the same bound as qn470 save.
TEST_F(Cli, WindowIntervalIsBounded) {
    const struct {
        const char* value;
        int status;
        std::string message;  // the last line of standard error
    } cases[] = {
        {"2147483647", 2, "qn470-config: --interval-ms 2147483647: must be between 0 and 60000\n"},
        {"60001", 2, "qn470-config: --interval-ms 60001: must be between 0 and 60000\n"},
        {"-1", 2, "qn470-config: --interval-ms -1: must be between 0 and 60000\n"},
        {"soon", 2,
         "qn470-config: --interval-ms: 'soon' is not a whole number of milliseconds (0 or more)\n"},
        {"60000", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string command = "QT_QPA_PLATFORM=offscreen " + shellWord(QN470_WINDOW) +
                                    " --interval-ms " + c.value + " --screenshot " +
                                    path("shot.png").string() + " >/dev/null 2>" +
                                    path("stderr").string();
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status);
        if (c.status != 0) {
            // Qt may note its environment first; the message is the last line.
            const std::string err = slurp(path("stderr"));
            EXPECT_TRUE(err.ends_with("\n" + c.message) || err == c.message) << err;
        }
        EXPECT_EQ(fs::exists(path("shot.png")), c.status == 0);
    }
}
#endif

}  // namespace
