#include "config/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <random>
#include <system_error>

namespace qn470 {
namespace {

namespace fs = std::filesystem;

std::string reason(int error) {
    return std::generic_category().message(error);
}

FileResult failure(const fs::path& path, std::string_view problem) {
    return {false, path.string() + ": " + std::string(problem)};
}

FileResult failure(const fs::path& path, std::string_view problem, int error) {
    return failure(path, std::string(problem) + " (" + reason(error) + ")");
}

// Closes a descriptor on every way out of a scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
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

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a new file beside `target` under a name nobody else uses; fd -1 when that fails.
int createTemporary(const fs::path& target, fs::path& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::array<char, 9> suffix{};
        const unsigned value = random();
        for (int i = 0; i < 8; ++i) {
            suffix[i] = "0123456789abcdef"[(value >> (4 * i)) & 0xF];
        }
        // Short and fixed in form, so it fits wherever the target's own name fits.
        temporary = target;
        temporary.replace_filename(std::string(".qn470-") + suffix.data() + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

FileResult writeFileAtomically(const fs::path& target, std::string_view bytes) {
    if (target.empty() || !target.has_filename()) {
        return failure(target, "no file name given");
    }
    // Write through a symbolic link to the file it names rather than replacing the link.
    fs::path real = target;
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) {
            real = resolved;
        }
    }
    struct stat existing {};
    const bool exists = ::stat(real.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return failure(target, "is a folder, not a file");
    }

    fs::path temporary;
    Descriptor file(createTemporary(real, temporary));
    if (file.get() < 0) {
        return failure(target, "cannot create a file in its folder", errno);
    }
    auto abandon = [&](std::string_view problem, int error) {
        if (file.get() >= 0) {
            file.close();
        }
        ::unlink(temporary.c_str());
        return failure(target, problem, error);
    };
    if (exists) {
        ::fchmod(file.get(), existing.st_mode & 07777);
    }
    if (!writeAll(file.get(), bytes)) {
        return abandon("write failed", errno);
    }
    if (::fsync(file.get()) != 0) {
        return abandon("cannot flush the file to the disk", errno);
    }
    if (file.close() != 0) {
        return abandon("write failed", errno);
    }
    if (::rename(temporary.c_str(), real.c_str()) != 0) {
        return abandon("cannot replace the file", errno);
    }
    syncFolder(real.parent_path());
    return {true, {}};
}

FileResult readWholeFile(const fs::path& path, std::string& bytes, std::size_t maxBytes) {
    if (path.empty()) {
        return failure(path, "no file name given");
    }
    // Non-blocking, so that a named pipe cannot hang the open; a plain file ignores the flag.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT) {
            return failure(path, "file not found");
        }
        return failure(path, "cannot open", errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return failure(path, "cannot open", errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return failure(path, "is a folder, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        return failure(path, "is not a plain file");
    }
    std::string content;
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure(path, "read failed", errno);
        }
        if (n == 0) {
            break;
        }
        if (content.size() + static_cast<std::size_t>(n) > maxBytes) {
            return failure(path, "too large (more than " + std::to_string(maxBytes) + " bytes)");
        }
        content.append(buffer.data(), static_cast<std::size_t>(n));
    }
    bytes = std::move(content);
    return {true, {}};
}

}  // namespace qn470
