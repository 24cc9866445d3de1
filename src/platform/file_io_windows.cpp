// SPDX-License-Identifier: Apache-2.0
// The Windows side of file_io.h: a new file in the target's folder, flushed, then put in the
// target's place with ReplaceFileW (which keeps the old file's attributes and security) or
// MoveFileExW. Devices and pipes are written into.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_io.h"
#include "platform/temporary_name.h"

namespace qn470::platform {
namespace {

namespace fs = std::filesystem;

// The same bound as on POSIX, so a chain refused on one system is refused on the other.
constexpr int kMaxLinkHops = 40;

// WriteFile and ReadFile take a DWORD count.
constexpr std::size_t kMostPerCall = 1u << 30;

FileOutcome failed(FileProblem problem) {
    return {problem, {}};
}

FileOutcome failedWithLastError(FileProblem problem) {
    return {problem, std::error_code(static_cast<int>(::GetLastError()), std::system_category())};
}

// Closes a handle on every way out of a scope.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) {
            ::CloseHandle(m_handle);
        }
    }
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Closes now and reports the result, so a failed close can fail the write.
    bool close() {
        const bool closed = ::CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min(bytes.size(), kMostPerCall));
        if (!::WriteFile(file, bytes.data(), size, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

struct Destination {
    fs::path path;
    bool loop = false;
};

// Hop by hop, so that a dangling link still names the file to create.
Destination followLinks(const fs::path& target) {
    fs::path path = target;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code notALink;
        const fs::path next = fs::read_symlink(path, notALink);
        if (notALink) {
            return {path};
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {path, true};
}

// A device or a pipe: whoever named it wants the bytes sent there.
FileOutcome writeIntoFile(const fs::path& path, std::string_view bytes) {
    Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return failedWithLastError(FileProblem::cannotOpen);
    }
    if (!writeAll(file.get(), bytes)) {
        return failedWithLastError(FileProblem::writeFailed);
    }
    if (!file.close()) {
        return failedWithLastError(FileProblem::writeFailed);
    }
    return {};
}

// Creates a new file beside `real` under a name nobody else uses.
HANDLE createNamedTemporary(const fs::path& real, fs::path& temporary) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = temporaryName(real);
        const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        if (file != INVALID_HANDLE_VALUE ||
            (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) {
            return file;
        }
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Puts the complete new file in the old one's place. ReplaceFileW keeps what the old file had
// (attributes, security, alternate streams); where it cannot, a plain replacing move still does
// it in one step.
bool moveOver(const fs::path& temporary, const fs::path& real, bool existed) {
    if (existed && ::ReplaceFileW(real.c_str(), temporary.c_str(), nullptr,
                                  REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    return ::MoveFileExW(temporary.c_str(), real.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

FileOutcome replaceFile(const fs::path& real, bool existed, std::string_view bytes) {
    fs::path temporary;
    Handle file(createNamedTemporary(real, temporary));
    if (!file.valid()) {
        return failedWithLastError(FileProblem::cannotCreate);
    }
    FileOutcome filled;
    if (!writeAll(file.get(), bytes)) {
        filled = failedWithLastError(FileProblem::writeFailed);
    } else if (!::FlushFileBuffers(file.get())) {
        filled = failedWithLastError(FileProblem::cannotFlush);
    } else if (!file.close()) {
        filled = failedWithLastError(FileProblem::writeFailed);
    } else if (!moveOver(temporary, real, existed)) {
        filled = failedWithLastError(FileProblem::cannotReplace);
    }
    if (!filled.ok()) {
        if (file.valid()) {
            file.close();
        }
        ::DeleteFileW(temporary.c_str());
    }
    return filled;
}

}  // namespace

FileOutcome writeWholeFile(const fs::path& target, std::string_view bytes) {
    const Destination to = followLinks(target);
    if (to.loop) {
        return failed(FileProblem::linkLoop);
    }
    std::error_code unknown;
    const fs::file_status status = fs::status(to.path, unknown);
    if (fs::is_directory(status)) {
        return failed(FileProblem::folder);
    }
    if (fs::is_regular_file(status) || status.type() == fs::file_type::not_found) {
        return replaceFile(to.path, fs::exists(status), bytes);
    }
    return writeIntoFile(to.path, bytes);
}

FileReader::~FileReader() {
    if (m_handle != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

FileOutcome FileReader::open(const fs::path& path) {
    std::error_code unknown;
    const fs::file_status status = fs::status(path, unknown);
    if (fs::is_directory(status)) {
        return failed(FileProblem::folder);
    }
    // Opening a pipe would take its one waiting connection, so it is refused by name.
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return failed(FileProblem::notPlainFile);
    }
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return isMissing(::GetLastError()) ? failed(FileProblem::notFound)
                                           : failedWithLastError(FileProblem::cannotOpen);
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        return failed(FileProblem::notPlainFile);
    }
    return {};
}

FileOutcome FileReader::read(std::span<char> buffer, std::size_t& count) {
    DWORD n = 0;
    const auto size = static_cast<DWORD>(std::min(buffer.size(), kMostPerCall));
    if (!::ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer.data(), size, &n, nullptr)) {
        count = 0;
        return failedWithLastError(FileProblem::readFailed);
    }
    count = n;
    return {};
}

// Windows gives no cheap word on which boot a process id belongs to, so temporary names carry no
// writer and nothing is ever taken for abandoned.
std::optional<TemporaryWriter> thisWriter() {
    return std::nullopt;
}

bool writerGone(const TemporaryWriter&) {
    return false;
}

}  // namespace qn470::platform
