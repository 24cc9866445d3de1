// SPDX-License-Identifier: Apache-2.0
// The window started where no display can be had (over ssh, in CI): --help and --version still
// answer, and a start says what to do instead of letting Qt abort.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef QN470_WINDOW

namespace {

namespace fs = std::filesystem;

struct WindowRun {
    bool exited = false;
    int status = -1;  // exit status, or the signal that ended it
    std::string out;
    std::string err;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the window with only the given environment (no DISPLAY unless listed), so no shell
// stands between it and the signal that would end it.
WindowRun runWindow(const std::vector<std::string>& args, const std::vector<std::string>& env,
                    const fs::path& dir, const char* program = QN470_WINDOW) {
    const fs::path out = dir / "stdout", err = dir / "stderr";
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<std::string> envStore = env;
    envStore.push_back("HOME=" + dir.string());
    envStore.push_back("XDG_RUNTIME_DIR=" + dir.string());
    if (const char* path = std::getenv("PATH")) {
        envStore.push_back(std::string("PATH=") + path);
    }
    std::vector<char*> argv, envp;
    for (auto& a : argStore) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    for (auto& e : envStore) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    WindowRun r;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) {
        return r;
    }
    int raw = 0;
    waitpid(pid, &raw, 0);
    r.exited = WIFEXITED(raw);
    r.status = r.exited ? WEXITSTATUS(raw) : WTERMSIG(raw);
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

class WindowWithoutDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/qn470-nodisplay-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

constexpr char kNoDisplay[] = "qn470-config: no display to show the window on";

TEST_F(WindowWithoutDisplay, AnswersOrExplains) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> env;
        int status;
        std::string out;  // standard output contains this
        std::string err;  // standard error contains this
    } cases[] = {
        {"help", {"--help"}, {}, 0, "--screenshot <file>", ""},
        {"help short", {"-h"}, {}, 0, "--interval-ms <N>", ""},
        {"help among other options", {"--demo", "--help"}, {}, 0, "--demo", ""},
        {"help all", {"--help-all"}, {}, 0, "--tab <index>", ""},
        {"version", {"--version"}, {}, 0, "qn470-config " QN470_PROJECT_VERSION "\n", ""},
        {"version short", {"-v"}, {}, 0, "qn470-config " QN470_PROJECT_VERSION "\n", ""},
        {"no option", {}, {}, 1, "", kNoDisplay},
        {"demo", {"--demo"}, {}, 1, "", kNoDisplay},
        {"x11 asked for", {}, {"QT_QPA_PLATFORM=xcb"}, 1, "", kNoDisplay},
        {"x11 with only wayland",
         {},
         {"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=wayland-0"},
         1,
         "",
         kNoDisplay},
        {"wayland asked for", {}, {"QT_QPA_PLATFORM=wayland", "DISPLAY=:0"}, 1, "", kNoDisplay},
        {"x11 by argument", {"-platform", "xcb"}, {"QT_QPA_PLATFORM=offscreen"}, 1, "", kNoDisplay},
        {"empty display", {}, {"DISPLAY="}, 1, "", kNoDisplay},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowRun r = runWindow(c.args, c.env, m_dir);
        ASSERT_TRUE(r.exited) << "ended by signal " << r.status << "\n" << r.err;
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.status != 0) {
            // What to do instead: the command-line tool and the offscreen picture.
            EXPECT_NE(r.err.find("qn470 --help"), std::string::npos) << r.err;
            EXPECT_NE(r.err.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << r.err;
        }
    }
}

// A platform that needs no display server passes the check and the window draws.
TEST_F(WindowWithoutDisplay, DrawsOnOffscreenPlatform) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> env;
    } cases[] = {
        {"environment", {}, {"QT_QPA_PLATFORM=offscreen"}},
        {"argument", {"-platform", "offscreen"}, {}},
        {"second in a list", {}, {"QT_QPA_PLATFORM=wayland;offscreen"}},
        {"with platform options", {}, {"QT_QPA_PLATFORM=offscreen:fontengine=freetype"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path shot = m_dir / "shot.png";
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--screenshot", shot.string()});
        const WindowRun r = runWindow(args, c.env, m_dir);
        ASSERT_TRUE(r.exited) << "ended by signal " << r.status << "\n" << r.err;
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err.find(kNoDisplay), std::string::npos) << r.err;
        EXPECT_TRUE(fs::exists(shot));
        fs::remove(shot);
    }
}

// A --set value the window would not take ends the start with a message naming it, instead of
// going in as another value (abc as 0) or cut.
TEST_F(WindowWithoutDisplay, RefusesASetValueTheFieldWouldNotTake) {
    const struct {
        const char* name;
        const char* setting;
        const char* message;  // after "qn470-config: --set '<setting>': "
    } cases[] = {
        {"letters for a number", "C1=abc", "C1 is not a whole number"},
        {"number with a tail", "C1=120s", "C1 is not a whole number"},
        {"empty number", "C1=", "C1 is not a whole number"},
        {"number out of range", "C1=59", "C1 must be between 60 and 600"},
        {"comma in a text", "D1=a,b", "D1 holds a comma"},
        {"text too long", "O5=0123456789012345678901234567890123456789", "O5 is longer than"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path shot = m_dir / "shot.png";
        const WindowRun r = runWindow({"--set", c.setting, "--screenshot", shot.string()},
                                      {"QT_QPA_PLATFORM=offscreen"}, m_dir);
        ASSERT_TRUE(r.exited) << "ended by signal " << r.status << "\n" << r.err;
        EXPECT_EQ(r.status, 2) << r.err;
        const std::string expected =
            std::string("qn470-config: --set '") + c.setting + "': " + c.message;
        EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(shot));
        fs::remove(shot);
    }
    // A value the field takes still goes in.
    const fs::path shot = m_dir / "shot.png";
    const WindowRun r = runWindow(
        {"--set", "C1=120", "--set", "D1=internet.example", "--screenshot", shot.string()},
        {"QT_QPA_PLATFORM=offscreen"}, m_dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(shot));
}

// The Fleet window's picture over demo trackers is a whole run: each tracker keeps its own
// identity and ends verified in the journal, and the picture is written.
TEST_F(WindowWithoutDisplay, FleetPictureProvisionsTheDemoTrackers) {
    const fs::path shot = m_dir / "fleet.png";
    const std::string journal = "QN470_JOURNAL=sqlite:" + (m_dir / "journal.sqlite").string();
    const WindowRun r =
        runWindow({"--demo", "--demo-trackers", "3", "--view", "fleet", "--screenshot", shot},
                  {"QT_QPA_PLATFORM=offscreen", journal}, m_dir);
    ASSERT_TRUE(r.exited) << "ended by signal " << r.status << "\n" << r.err;
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(shot));
    const WindowRun list = runWindow({"journal", "list"}, {journal}, m_dir, QN470_CLI);
    ASSERT_EQ(list.status, 0) << list.err;
    std::vector<std::string> rows;  // IMEI, Device ID, kind and result of each entry
    std::istringstream lines(list.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        ASSERT_EQ(fields.size(), 8u) << line;
        rows.push_back(fields[4] + " " + fields[5] + " " + fields[6] + " " + fields[7]);
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"356932081519001 DEMO-0001 provision ok",
                                              "356932081519002 DEMO-0002 provision ok",
                                              "356932081519003 DEMO-0003 provision ok"}));
}

TEST_F(WindowWithoutDisplay, RefusesADemoTrackerCountItCannotRun) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--demo", "--demo-trackers", "0"}, "--demo-trackers: '0' is not a number from 1 to 8"},
        {{"--demo", "--demo-trackers", "9"}, "--demo-trackers: '9' is not a number from 1 to 8"},
        {{"--demo", "--demo-trackers", "two"}, "--demo-trackers: 'two' is not a number"},
        {{"--demo-trackers", "2"}, "--demo-trackers needs --demo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const fs::path shot = m_dir / "shot.png";
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--screenshot", shot.string()});
        const WindowRun r = runWindow(args, {"QT_QPA_PLATFORM=offscreen"}, m_dir);
        ASSERT_TRUE(r.exited) << "ended by signal " << r.status << "\n" << r.err;
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(shot));
    }
}

}  // namespace

#endif
