// SPDX-License-Identifier: Apache-2.0
#include "config/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "config/temp_folder.h"
#include "platform/temporary_name.h"

namespace qn470 {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using Make = std::function<void(const TempFolder&)>;

std::string fileContent(const fs::path& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();  // in bulk: the kill test reads MBs
    return content.str();
}

void putFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The kind of file at `path` itself (S_IFLNK for a link), 0 when there is none.
mode_t typeAt(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// Every byte value, so a byte lost or repeated anywhere shows.
std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 % 251);
    }
    return bytes;
}

// Links l0 → l1 → ... → real.pro.
void linkChain(const TempFolder& folder, int links) {
    for (int i = 0; i < links; ++i) {
        const std::string next = i + 1 < links ? "l" + std::to_string(i + 1) : "real.pro";
        fs::create_symlink(next, folder / ("l" + std::to_string(i)));
    }
}

// Reads a pipe until its writer closes it, or leaves once `limit` bytes came.
std::string drainPipe(int fd, std::size_t limit) {
    std::string received;
    std::array<char, 65536> buffer;
    while (received.size() < limit) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 5000) <= 0) {
            break;  // no writer came
        }
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n == 0 || (n < 0 && errno != EAGAIN)) {
            break;
        }
        received.append(buffer.data(), static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    ::close(fd);
    return received;
}

// A write that waits for a reader fails the test instead of stopping it: a reader lets it go on.
FileResult writeWithoutHanging(const fs::path& target, std::string_view bytes) {
    auto write = std::async(std::launch::async, [&] { return writeFileAtomically(target, bytes); });
    if (write.wait_for(std::chrono::seconds(3)) == std::future_status::ready) {
        return write.get();
    }
    ADD_FAILURE() << target << ": the write waited for a reader";
    const int reader = ::open(target.c_str(), O_RDONLY | O_NONBLOCK);
    FileResult result = write.get();
    ::close(reader);
    return result;
}

TEST(AtomicFile, WritesThroughLinksToTheFileTheyName) {
    struct Case {
        const char* name;
        Make make;  // links from l0
        const char* changed;
    };
    const Case cases[] = {
        {"relative", [](auto& f) { fs::create_symlink("real.pro", f / "l0"); }, "real.pro"},
        {"absolute", [](auto& f) { fs::create_symlink(f / "real.pro", f / "l0"); }, "real.pro"},
        {"each hop relative to its own folder",
         [](auto& f) {
             fs::create_directory(f / "sub");
             fs::create_symlink("sub/l1", f / "l0");
             fs::create_symlink("../real.pro", f / "sub/l1");
         },
         "real.pro"},
        {"forty links, as many as the kernel follows", [](auto& f) { linkChain(f, 40); },
         "real.pro"},
        {"dangling", [](auto& f) { fs::create_symlink("new.pro", f / "l0"); }, "new.pro"},
        {"dangling into a subfolder",
         [](auto& f) {
             fs::create_directory(f / "sub");
             fs::create_symlink("sub/new.pro", f / "l0");
         },
         "sub/new.pro"},
    };
    const std::string bytes = pattern(5000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        putFile(folder / "real.pro", "old");
        c.make(folder);
        std::vector<std::string> expected = folder.entries();
        const std::string created = fs::path(c.changed).begin()->string();
        if (std::find(expected.begin(), expected.end(), created) == expected.end()) {
            expected.push_back(created);
            std::sort(expected.begin(), expected.end());
        }
        const FileResult result = writeFileAtomically(folder / "l0", bytes);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(fileContent(folder / c.changed) == bytes);
        EXPECT_EQ(typeAt(folder / "l0"), S_IFLNK);
        EXPECT_EQ(fileContent(folder / "real.pro"),
                  std::string_view(c.changed) == "real.pro" ? bytes : "old");
        EXPECT_EQ(folder.entries(), expected);
    }
}

TEST(AtomicFile, LinkLoopIsAnErrorAndWritesNothing) {
    const std::pair<const char*, Make> cases[] = {
        {"link to itself", [](auto& f) { fs::create_symlink("l0", f / "l0"); }},
        {"two links naming each other",
         [](auto& f) {
             fs::create_symlink("l1", f / "l0");
             fs::create_symlink("l0", f / "l1");
         }},
        {"forty-one links", [](auto& f) { linkChain(f, 41); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        TempFolder folder;
        putFile(folder / "real.pro", "old");
        make(folder);
        const std::vector<std::string> before = folder.entries();
        const FileResult result = writeFileAtomically(folder / "l0", "new");
        EXPECT_EQ(result.error, (folder / "l0").string() + ": symbolic link loop");
        EXPECT_EQ(folder.entries(), before);
        EXPECT_EQ(fileContent(folder / "real.pro"), "old");
    }
}

TEST(AtomicFile, RefusedTargetStaysAsItWas) {
    struct Case {
        const char* file;
        std::function<void(const fs::path&)> make;
        const char* problem;
    };
    const Case cases[] = {
        {"car1.pro", [](auto& p) { fs::create_directory(p); }, "is a folder, not a file"},
        {"car1.pro",
         [](auto& p) {
             fs::create_directory(p.parent_path() / "sub");
             fs::create_symlink("sub", p);
         },
         "is a folder, not a file"},
        {"car1.pro", [](auto& p) { ::mkfifo(p.c_str(), 0600); },
         "is a named pipe and no program is reading from it"},
        {"car1.pro",
         [](auto& p) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.string().copy(address.sun_path, sizeof address.sun_path - 1);
             ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
             ::close(fd);  // the socket file stays
         },
         "is a socket, which cannot be written as a file"},
        {"gone/car1.pro", [](auto&) {},
         "cannot create a file in its folder (No such file or directory)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        TempFolder folder;
        const fs::path target = folder / c.file;
        c.make(target);
        const std::vector<std::string> before = folder.entries();
        const mode_t type = typeAt(target);
        const FileResult result = writeWithoutHanging(target, pattern(20000));
        EXPECT_EQ(result.error, target.string() + ": " + c.problem);
        EXPECT_EQ(typeAt(target), type);
        EXPECT_EQ(folder.entries(), before);
    }
}

TEST(AtomicFile, NamedPipeIsWrittenIntoWhileSomeoneReads) {
    struct Case {
        std::size_t readerTakes;
        const char* problem;  // "" for success
    };
    // Far more than a pipe holds, so the write waits for the reader; one that leaves early must
    // fail the write, not end the program with SIGPIPE.
    const Case cases[] = {{SIZE_MAX, ""}, {1000, "write failed (Broken pipe)"}};
    const std::string bytes = pattern(3u << 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        TempFolder folder;
        const fs::path pipe = folder / "car1.pro";
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        const int readEnd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
        auto received = std::async(std::launch::async, drainPipe, readEnd, c.readerTakes);
        const FileResult result = writeFileAtomically(pipe, bytes);
        const bool all = received.get() == bytes;
        EXPECT_EQ(result.error, *c.problem ? pipe.string() + ": " + c.problem : "");
        EXPECT_EQ(all, !*c.problem);
        EXPECT_EQ(typeAt(pipe), S_IFIFO);
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.pro"});
    }
}

TEST(AtomicFile, NullDeviceStaysADevice) {
    struct stat before {};
    if (::stat("/dev/null", &before) != 0 || !S_ISCHR(before.st_mode)) {
        GTEST_SKIP() << "no /dev/null here";
    }
    const FileResult result = writeFileAtomically("/dev/null", pattern(100000));
    struct stat after {};
    ::lstat("/dev/null", &after);
    if (!S_ISCHR(after.st_mode) && ::geteuid() == 0) {
        // Put it back, so that the machine keeps working after this failure.
        ::unlink("/dev/null");
        ::mknod("/dev/null", S_IFCHR | 0666, before.st_rdev);
        ::chmod("/dev/null", 0666);
    }
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_ino, before.st_ino);
}

// A shell opened the file and handed over the descriptor: the bytes go through it, after what
// was written there before, and the file stays the same file.
TEST(AtomicFile, DescriptorNamesWriteIntoTheDescriptor) {
    struct Case {
        int redirected;  // standard output or error stands in for the file, else -1
        std::function<fs::path(const TempFolder&, const std::string&)> path;
        bool afterEarlierBytes;  // false: opened anew by its name and truncated, as after `>`
    };
    const std::string pid = std::to_string(::getpid());
    const Case cases[] = {
        {STDOUT_FILENO, [](auto&, auto&) { return fs::path("/dev/stdout"); }, true},
        {STDERR_FILENO, [](auto&, auto&) { return fs::path("/dev/stderr"); }, true},
        {-1, [](auto&, auto& fd) { return fs::path("/dev/fd/" + fd); }, true},
        {-1, [](auto&, auto& fd) { return fs::path("/proc/self/fd/" + fd); }, true},
        {-1, [&](auto&, auto& fd) { return fs::path("/proc/" + pid + "/fd/" + fd); }, true},
        {-1,
         [](auto& folder, auto& fd) {
             fs::create_symlink("/dev/fd/" + fd, folder / "link.pro");
             return folder / "link.pro";
         },
         true},
        {-1,
         [&](auto&, auto& fd) { return fs::path("/proc/" + pid + "/task/" + pid + "/fd/" + fd); },
         false},
    };
    const std::string bytes = pattern(70000);
    for (const Case& c : cases) {
        TempFolder folder;
        const fs::path out = folder / "out.txt";
        const int file = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_EQ(::write(file, "head:", 5), 5);
        const fs::path target =
            c.path(folder, std::to_string(c.redirected >= 0 ? c.redirected : file));
        SCOPED_TRACE(target.string());
        struct stat before {};
        ::stat(out.c_str(), &before);
        const std::vector<std::string> entries = folder.entries();
        std::fflush(nullptr);
        const int saved = c.redirected >= 0 ? ::dup(c.redirected) : -1;
        if (saved >= 0) {
            ::dup2(file, c.redirected);
        }
        const FileResult result = writeFileAtomically(target, bytes);
        if (saved >= 0) {
            ::dup2(saved, c.redirected);
            ::close(saved);
        }
        ::close(file);
        struct stat after {};
        ::stat(out.c_str(), &after);
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(fileContent(out) == (c.afterEarlierBytes ? "head:" + bytes : bytes));
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(folder.entries(), entries);
    }
}

TEST(AtomicFile, ExistingFileKeepsItsModeNewFileFollowsTheUmask) {
    struct Case {
        mode_t existing;  // 0: no file yet
        mode_t umask;
        mode_t expected;
    };
    const Case cases[] = {{0600, 022, 0600}, {0640, 077, 0640}, {0755, 022, 0755},
                          {0604, 022, 0604}, {0, 022, 0644},    {0, 077, 0600}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.existing << " umask " << c.umask);
        TempFolder folder;
        const fs::path target = folder / "car1.pro";
        if (c.existing != 0) {
            putFile(target, "old");
            ::chmod(target.c_str(), c.existing);
        }
        const mode_t oldMask = ::umask(c.umask);
        const FileResult result = writeFileAtomically(target, "new");
        ::umask(oldMask);
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(c.expected));
        EXPECT_EQ(fileContent(target), "new");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.pro"});
    }
}

// Naming the finished file and renaming it over the target are two steps: a kill between them
// leaves the complete file beside the target. How often that happens is the machine's timing;
// what is left is not: the old file or a whole new one, and beside it at most one whole file,
// never a partial one (as a file named while it is still written or flushed would be).
TEST(AtomicFile, KilledWriteLeavesTheOldFileOrAWholeNewOne) {
    TempFolder folder;
    const int unnamed = ::open(folder.path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed < 0) {
        GTEST_SKIP() << "this filesystem cannot make unnamed files";
    }
    ::close(unnamed);
    const fs::path target = folder / "car1.bin";
    const std::string old = "old content";
    const std::string fresh[] = {std::string(4u << 20, 'a'), std::string(4u << 20, 'b')};
    const auto isFresh = [&](const std::string& s) { return s == fresh[0] || s == fresh[1]; };

    // Kill moments spread over one and a half writes, so kills land in every step of one.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(writeFileAtomically(target, fresh[0]).ok);
    const auto once = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0,
                                              std::clamp<long>(once.count() * 3 / 2, 1000, 60000));

    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(testing::Message() << "kill " << i);
        const bool hadOld = i % 2 == 0;
        if (hadOld) {
            putFile(target, old);
        } else {
            fs::remove(target);
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (unsigned n = 0; writeFileAtomically(target, fresh[n % 2]).ok; ++n) {
            }
            ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed before it was killed";

        std::vector<std::string> entries = folder.entries();
        const auto beside =
            std::find_if(entries.begin(), entries.end(),
                         [](const std::string& name) { return name != "car1.bin"; });
        if (beside != entries.end()) {
            EXPECT_TRUE(isFresh(fileContent(folder / *beside))) << *beside << " is partial";
            fs::remove(folder / *beside);
            entries.erase(beside);
        }
        ASSERT_LE(entries.size(), 1u);
        if (entries.empty()) {
            EXPECT_FALSE(hadOld) << "the old file is gone";
            continue;
        }
        const std::string content = fileContent(target);
        EXPECT_TRUE((hadOld && content == old) || isFresh(content)) << content.size() << " bytes";
    }
}

// ---- what killed writers left behind ------------------------------------------------------------

// A process id that was just in use and is now free: a child that ended.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// The name a writer of this program gives its temporary file, written out here from the form:
// ".qn470-" system "-" boot "-" process id "-" random ".tmp", eight lower-case hex digits each.
std::string writerName(std::uint32_t system, std::uint32_t boot, std::uint64_t process) {
    char name[80];
    std::snprintf(name, sizeof name, ".qn470-%08x-%08x-%llu-0badf00d.tmp", system, boot,
                  static_cast<unsigned long long>(process));
    return name;
}

struct LeftBehind {
    const char* name;
    std::function<std::string(const platform::TemporaryWriter&)> file;
    bool removed;
};

// A write into a folder removes what writers that are surely gone left there, and nothing else:
// not a live writer's file, not another system's, not a user's file, link or folder.
TEST(AtomicFile, WriteRemovesWhatKilledWritersLeftAndNothingElse) {
    const std::optional<platform::TemporaryWriter> self = platform::thisWriter();
    ASSERT_TRUE(self) << "this system cannot say which boot it runs in";
    const pid_t ended = endedProcess();
    const std::uint64_t live = static_cast<std::uint64_t>(::getpid());
    const LeftBehind cases[] = {
        {"ended writer", [&](auto& w) { return writerName(w.system, w.boot, ended); }, true},
        {"earlier boot", [&](auto& w) { return writerName(w.system, w.boot ^ 1, live); }, true},
        {"live writer", [&](auto& w) { return writerName(w.system, w.boot, live); }, false},
        {"parent, alive", [&](auto& w) { return writerName(w.system, w.boot, ::getppid()); },
         false},
        {"other system", [&](auto& w) { return writerName(w.system ^ 1, w.boot, ended); }, false},
        {"other system, other boot",
         [&](auto& w) { return writerName(w.system ^ 1, w.boot ^ 1, ended); }, false},
        {"older form without writer", [](auto&) { return std::string(".qn470-0badf00d.tmp"); },
         false},
        {"user's file", [](auto&) { return std::string(".qn470-notes.tmp"); }, false},
        {"extra field", [&](auto& w) { return writerName(w.system, w.boot, ended) + ".tmp"; },
         false},
    };
    TempFolder folder;
    for (const LeftBehind& c : cases) {
        putFile(folder / c.file(*self), c.name);
    }
    // Named like an ended writer's file, but a folder and a link: never a writer's.
    const std::string folderName = writerName(self->system, self->boot ^ 2, live);
    fs::create_directory(folder / folderName);
    putFile(folder / "kept.txt", "a user's file");
    const std::string linkName = writerName(self->system, self->boot ^ 3, live);
    fs::create_symlink(folder / "kept.txt", folder / linkName);

    ASSERT_TRUE(writeFileAtomically(folder / "car1.pro", "new").ok);

    for (const LeftBehind& c : cases) {
        EXPECT_EQ(fs::exists(folder / c.file(*self)), !c.removed) << c.name;
    }
    EXPECT_EQ(typeAt(folder / folderName), S_IFDIR);
    EXPECT_EQ(typeAt(folder / linkName), S_IFLNK);
    EXPECT_EQ(fileContent(folder / "kept.txt"), "a user's file");
    EXPECT_EQ(fileContent(folder / "car1.pro"), "new");
}

// A writer killed with its temporary file named leaves it under a name the next write knows.
TEST(AtomicFile, NextWriteRemovesTheFileAKilledWriterLeft) {
    TempFolder folder;
    const fs::path target = folder / "car1.bin";
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // What a writer holds just before its rename; then it is killed.
        std::ofstream(platform::temporaryName(target)) << "whole new content";
        const char done = 1;
        static_cast<void>(::write(channel[1], &done, 1));
        ::pause();
        ::_exit(1);
    }
    char done = 0;
    ASSERT_EQ(::read(channel[0], &done, 1), 1);
    ::close(channel[0]);
    ::close(channel[1]);
    ASSERT_EQ(folder.entries().size(), 1u);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    ASSERT_TRUE(writeFileAtomically(target, "new").ok);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.bin"});
}

}  // namespace
}  // namespace qn470
