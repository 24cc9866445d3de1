// SPDX-License-Identifier: Apache-2.0
// The POSIX side of file_io.h: unnamed O_TMPFILE files named only just before the rename, a named
// temporary where those cannot be had, and pipes, devices and descriptor names written into.

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_io.h"
#include "platform/temporary_name.h"

namespace qn470::platform {
namespace {

namespace fs = std::filesystem;

// As many links as the kernel follows in one path; a longer chain is taken for a loop.
constexpr int kMaxLinkHops = 40;

FileOutcome failed(FileProblem problem) {
    return {problem, {}};
}

// With errno as the reason; read at once, before anything else can change it.
FileOutcome failedWithErrno(FileProblem problem) {
    return {problem, std::error_code(errno, std::generic_category())};
}

// Closes a descriptor on every way out of a scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        // Only on ways out that already failed, or after close() was checked: nothing to add.
        if (m_fd >= 0) {
            static_cast<void>(::close(m_fd));
        }
    }
    int get() const { return m_fd; }
    // Closes now and reports the result, so a failed close can fail the write.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

// A reader that goes away mid-write must fail the write with EPIPE, not end the program with
// SIGPIPE: blocks the signal for this thread and discards the one the write raised.
class PipeSignalBlock {
public:
    PipeSignalBlock() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        // These fail only for a bad signal number or set, and SIGPIPE and our sets are valid.
        static_cast<void>(sigpending(&pending));
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        static_cast<void>(pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old));
    }
    PipeSignalBlock(const PipeSignalBlock&) = delete;
    PipeSignalBlock& operator=(const PipeSignalBlock&) = delete;
    ~PipeSignalBlock() {
        if (!m_wasPending) {
            // EAGAIN when the write raised no signal, which is the usual case.
            const timespec noWait{};
            static_cast<void>(::sigtimedwait(&m_pipe, nullptr, &noWait));
        }
        static_cast<void>(pthread_sigmask(SIG_SETMASK, &m_old, nullptr));
    }

private:
    sigset_t m_pipe{};
    sigset_t m_old{};
    bool m_wasPending = false;
};

// Waits on a descriptor that someone else left non-blocking, instead of failing with EAGAIN.
bool waitWritable(int fd) {
    pollfd ready{fd, POLLOUT, 0};
    return ::poll(&ready, 1, -1) >= 0 || errno == EINTR;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR || (errno == EAGAIN && waitWritable(fd))) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// ---- where the bytes go ------------------------------------------------------------------------

// Digits only, as in /dev/fd/3.
std::optional<int> descriptorNumber(std::string_view text) {
    int fd = -1;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, fd);
    if (text.empty() || error != std::errc() || last != end || fd < 0) {
        return std::nullopt;
    }
    return fd;
}

// The names under which a shell hands this process one of its open descriptors. The file behind
// it was opened by the shell (truncated, or set to append) and must be written through that
// descriptor, not replaced.
std::optional<int> ownDescriptor(const fs::path& path) {
    const std::string name = path.lexically_normal().string();
    if (name == "/dev/stdout") {
        return STDOUT_FILENO;
    }
    if (name == "/dev/stderr") {
        return STDERR_FILENO;
    }
    const std::string folders[] = {"/dev/fd/", "/proc/self/fd/", "/proc/thread-self/fd/",
                                   "/proc/" + std::to_string(::getpid()) + "/fd/"};
    for (const std::string& folder : folders) {
        if (name.starts_with(folder)) {
            return descriptorNumber(std::string_view(name).substr(folder.size()));
        }
    }
    return std::nullopt;
}

// Any other descriptor under /proc: only the kernel can open what it refers to, which may be a
// pipe without a name to follow.
bool isDescriptorLink(const fs::path& path) {
    const fs::path normal = path.lexically_normal();
    return normal.string().starts_with("/proc/") && normal.parent_path().filename() == "fd";
}

// Where a write to a path ends up once symbolic links are followed.
struct Destination {
    fs::path path;
    std::optional<int> descriptor{};  // one of this process's own descriptors
    bool descriptorLink = false;      // written into even when it is a regular file
    bool loop = false;
};

// Follows links one hop at a time rather than with fs::canonical, so that a dangling link still
// names the file to create and a descriptor name is caught before it is followed.
Destination followLinks(const fs::path& target) {
    fs::path path = target;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (const std::optional<int> fd = ownDescriptor(path)) {
            return {.path = path, .descriptor = fd};
        }
        if (isDescriptorLink(path)) {
            return {.path = path, .descriptorLink = true};
        }
        std::error_code notALink;
        const fs::path next = fs::read_symlink(path, notALink);
        if (notALink) {
            return {.path = path};
        }
        // A relative link is relative to the folder the link is in.
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {.path = path, .loop = true};
}

// ---- writing into what is not a regular file ---------------------------------------------------

FileOutcome writeIntoDescriptor(int fd, std::string_view bytes) {
    const PipeSignalBlock noPipeSignal;
    if (!writeAll(fd, bytes)) {
        return failedWithErrno(FileProblem::writeFailed);
    }
    // Pipes and terminals have nothing to flush and refuse fsync.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::fsync(fd) != 0) {
        return failedWithErrno(FileProblem::cannotFlush);
    }
    return {};
}

FileOutcome writeIntoOwnDescriptor(int fd, std::string_view bytes) {
    // What the program printed before must come out first. A stream that cannot be flushed
    // fails the write below on the same descriptor, with the system's reason.
    if (fd == STDOUT_FILENO) {
        static_cast<void>(std::fflush(stdout));
    } else if (fd == STDERR_FILENO) {
        static_cast<void>(std::fflush(stderr));
    }
    return writeIntoDescriptor(fd, bytes);
}

// Opens a named pipe, a device or another process's descriptor in place and writes into it.
FileOutcome writeIntoFile(const fs::path& path, mode_t type, std::string_view bytes) {
    if (S_ISSOCK(type)) {
        return failed(FileProblem::socket);
    }
    // Non-blocking, so that a pipe nobody reads from fails at once instead of hanging; and a
    // terminal device must not become this program's controlling terminal.
    Descriptor file(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENXIO && S_ISFIFO(type)) {
            return failed(FileProblem::pipeWithoutReader);
        }
        return failedWithErrno(FileProblem::cannotOpen);
    }
    // Once open, a slow reader is waited for rather than taken for an error.
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return failedWithErrno(FileProblem::cannotOpen);
    }
    // A descriptor link to a plain file: its whole content is the new bytes, as after `>`.
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
        ::ftruncate(file.get(), 0) != 0) {
        return failedWithErrno(FileProblem::writeFailed);
    }
    const FileOutcome written = writeIntoDescriptor(file.get(), bytes);
    if (written.ok() && file.close() != 0) {
        return failedWithErrno(FileProblem::writeFailed);
    }
    return written;
}

// ---- replacing a regular file ------------------------------------------------------------------

// Gives the new file the old one's owner and permissions, then its content, safely on the disk.
FileOutcome fillNewFile(int fd, const struct stat* existing, std::string_view bytes) {
    if (existing != nullptr) {
        // Owner before mode, since a change of owner clears set-ID bits. Only root can give a
        // file away; anyone else owns it already or cannot keep the owner anyway.
        // A file system without owners or modes (FAT) refuses both; the new file then has what
        // the folder gives every file, as the old one had.
        static_cast<void>(::fchown(fd, existing->st_uid, existing->st_gid));
        static_cast<void>(::fchmod(fd, existing->st_mode & 07777));
    }
    if (!writeAll(fd, bytes)) {
        return failedWithErrno(FileProblem::writeFailed);
    }
    if (::fsync(fd) != 0) {
        return failedWithErrno(FileProblem::cannotFlush);
    }
    return {};
}

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        static_cast<void>(::close(fd));
    }
}

// Puts the complete new file in the old one's place in one step.
FileOutcome renameOver(const fs::path& temporary, const fs::path& real) {
    if (::rename(temporary.c_str(), real.c_str()) != 0) {
        const FileOutcome failure = failedWithErrno(FileProblem::cannotReplace);
        // The rename's reason is the one to report; a name left anyway goes with a later write.
        static_cast<void>(::unlink(temporary.c_str()));
        return failure;
    }
    syncFolder(folderOf(real));
    return {};
}

#ifdef O_TMPFILE
// How a kernel or filesystem says it cannot make unnamed files. A missing folder says ENOENT too
// and is then reported by the named way.
bool unnamedFilesUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOENT;
}

// Names the finished file beside `real` just before the rename: the moment between the two is
// the only one in which a kill leaves a file behind.
bool nameUnnamedFile(int fd, const fs::path& real, fs::path& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = temporaryName(real);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        // Without /proc the descriptor can name its file itself, where the kernel allows it.
        if (errno != EEXIST && ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// The new file has no name while it is written, so a write killed then leaves nothing. Empty
// when unnamed files cannot be made or named here, for the named way to take over.
std::optional<FileOutcome> replaceThroughUnnamedFile(const fs::path& real,
                                                     const struct stat* existing,
                                                     std::string_view bytes) {
    // The mode is 0666 less the umask, as for any new file.
    Descriptor file(::open(folderOf(real).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        if (unnamedFilesUnsupported(errno)) {
            return std::nullopt;
        }
        return failedWithErrno(FileProblem::cannotCreate);
    }
    if (FileOutcome filled = fillNewFile(file.get(), existing, bytes); !filled.ok()) {
        return filled;
    }
    fs::path temporary;
    if (!nameUnnamedFile(file.get(), real, temporary)) {
        return std::nullopt;
    }
    return renameOver(temporary, real);
}
#endif

// Creates a new file beside `real` under a name nobody else uses; fd -1 when that fails.
int createNamedTemporary(const fs::path& real, fs::path& temporary) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = temporaryName(real);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Where unnamed files cannot be had: a failure removes the named file again, only a kill can
// leave it behind.
FileOutcome replaceThroughNamedFile(const fs::path& real, const struct stat* existing,
                                    std::string_view bytes) {
    fs::path temporary;
    Descriptor file(createNamedTemporary(real, temporary));
    if (file.get() < 0) {
        return failedWithErrno(FileProblem::cannotCreate);
    }
    FileOutcome filled = fillNewFile(file.get(), existing, bytes);
    if (filled.ok() && file.close() != 0) {
        filled = failedWithErrno(FileProblem::writeFailed);
    }
    if (!filled.ok()) {
        // As in renameOver: the write's reason is the one to report.
        static_cast<void>(::unlink(temporary.c_str()));
        return filled;
    }
    return renameOver(temporary, real);
}

// Removes the temporary files that writers of this program, killed since, left in `folder`. Only
// plain files of this user whose name says their writer is gone; anything else stays untouched.
void removeAbandonedTemporaries(const fs::path& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;  // the write itself reports a folder it cannot use
    }
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<TemporaryWriter> writer = temporaryWriter(entry->d_name);
        if (!writer || !writerGone(*writer)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
            // Another writer may have removed it first; a file that cannot go stays as it was.
            static_cast<void>(::unlinkat(fd, entry->d_name, 0));
        }
    }
    static_cast<void>(::closedir(dir));
}

FileOutcome replaceFile(const fs::path& real, const struct stat* existing, std::string_view bytes) {
    removeAbandonedTemporaries(folderOf(real));
#ifdef O_TMPFILE
    if (std::optional<FileOutcome> done = replaceThroughUnnamedFile(real, existing, bytes)) {
        return *std::move(done);
    }
#endif
    return replaceThroughNamedFile(real, existing, bytes);
}

}  // namespace

FileOutcome writeWholeFile(const fs::path& target, std::string_view bytes) {
    const Destination to = followLinks(target);
    if (to.loop) {
        return failed(FileProblem::linkLoop);
    }
    if (to.descriptor) {
        return writeIntoOwnDescriptor(*to.descriptor, bytes);
    }
    struct stat existing {};
    const bool exists = ::stat(to.path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return failed(FileProblem::folder);
    }
    if (to.descriptorLink) {
        return writeIntoFile(to.path, exists ? existing.st_mode : 0, bytes);
    }
    if (!exists) {
        return replaceFile(to.path, nullptr, bytes);
    }
    if (S_ISREG(existing.st_mode)) {
        return replaceFile(to.path, &existing, bytes);
    }
    // A named pipe, a device: whoever made it wants the bytes sent there.
    return writeIntoFile(to.path, existing.st_mode, bytes);
}

FileReader::~FileReader() {
    // A file opened for reading loses nothing when its close fails.
    if (m_handle >= 0) {
        static_cast<void>(::close(static_cast<int>(m_handle)));
    }
}

FileOutcome FileReader::open(const fs::path& path) {
    // Non-blocking, so that a named pipe cannot hang the open; a plain file ignores the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno == ENOENT ? failed(FileProblem::notFound)
                               : failedWithErrno(FileProblem::cannotOpen);
    }
    m_handle = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return failedWithErrno(FileProblem::cannotOpen);
    }
    if (S_ISDIR(info.st_mode)) {
        return failed(FileProblem::folder);
    }
    if (!S_ISREG(info.st_mode)) {
        return failed(FileProblem::notPlainFile);
    }
    return {};
}

FileOutcome FileReader::read(std::span<char> buffer, std::size_t& count) {
    count = 0;
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(m_handle), buffer.data(), buffer.size());
        if (n >= 0) {
            count = static_cast<std::size_t>(n);
            return {};
        }
        if (errno != EINTR) {
            return failedWithErrno(FileProblem::readFailed);
        }
    }
}

namespace {

// FNV-1a: a short, stable digest of what names this system.
std::uint32_t digest(std::string_view text, std::uint32_t hash = 2166136261u) {
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

std::string firstLine(const char* path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

std::string linkText(const char* path) {
    std::error_code none;
    return fs::read_symlink(path, none).string();
}

struct SystemIdentity {
    std::uint32_t system = 0;
    std::uint32_t boot = 0;
    bool known = false;
};

// Which machine, which process-id namespace (a container sees other ids) and which boot.
SystemIdentity systemIdentity() {
    std::string machine = firstLine("/etc/machine-id");
    if (machine.empty()) {
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) == 0) {
            machine = host;
        }
    }
    const std::string namespaces = linkText("/proc/self/ns/pid");
    const std::string boot = firstLine("/proc/sys/kernel/random/boot_id");
    if (machine.empty() || namespaces.empty() || boot.empty()) {
        return {};
    }
    return {digest(namespaces, digest(machine)), digest(boot), true};
}

}  // namespace

std::optional<TemporaryWriter> thisWriter() {
    // Fixed while the system runs; the process id is not, after a fork.
    static const SystemIdentity identity = systemIdentity();
    if (!identity.known) {
        return std::nullopt;
    }
    return TemporaryWriter{identity.system, identity.boot, static_cast<std::uint64_t>(::getpid())};
}

bool writerGone(const TemporaryWriter& writer) {
    const std::optional<TemporaryWriter> self = thisWriter();
    if (!self || writer.system != self->system) {
        return false;
    }
    if (writer.boot != self->boot) {
        return true;
    }
    const auto pid = static_cast<pid_t>(writer.process);
    if (pid <= 0 || static_cast<std::uint64_t>(pid) != writer.process) {
        return false;
    }
    // EPERM: the process exists, it is just someone else's.
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace qn470::platform
