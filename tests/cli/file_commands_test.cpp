// Drives the built qn470 binary the way scripts do: arguments in, bytes and exit status out.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

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

    // Runs qn470 with the arguments (already shell-quoted where needed) and optional stdin file.
    CliRun run(const std::string& args, const std::string& input = {}) const {
        const fs::path out = path("stdout"), err = path("stderr"), in = path("stdin");
        spit(in, input);
        const std::string command = std::string(QN470_CLI) + " " + args + " <" + in.string() +
                                    " >" + out.string() + " 2>" + err.string();
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
    ASSERT_EQ(run("import " + path("edit.ini").string() + " " + path("edit.pro").string()).status,
              0);
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
    };
    for (const BadInput& c : cases) {
        std::string args = c.args;
        for (std::size_t at; (at = args.find("{dir}")) != std::string::npos;) {
            args.replace(at, 5, m_dir.string());
        }
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
    EXPECT_EQ(run("--version").out, "qn470 3.0.0\n");
    const CliRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"defaults", "export", "import", "encode", "decode", "bin", "show", "diff"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        EXPECT_EQ(run(std::string(command) + " --help").status, 0) << command;
    }
}

}  // namespace
