// SPDX-License-Identifier: Apache-2.0
#pragma once

// What differs between operating systems in reading and writing whole files. This layer says
// which step failed and the system's reason; the texts the user sees are the caller's
// (config/atomic_file.cpp), so both systems report a problem in the same words.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

namespace qn470::platform {

enum class FileProblem {
    none,
    linkLoop,
    folder,
    socket,
    pipeWithoutReader,
    notPlainFile,
    notFound,
    cannotOpen,
    cannotCreate,
    writeFailed,
    cannotFlush,
    cannotReplace,
    readFailed,
};

struct FileOutcome {
    FileProblem problem = FileProblem::none;
    std::error_code reason;  // the system's word on it; empty when the problem says it all

    bool ok() const { return problem == FileProblem::none; }
};

// Writes `bytes` as the whole content of the file `target` names, which the caller has checked
// has a file name. A regular or missing file is replaced in one step through a new file in the
// same folder; anything else the system can write into (a pipe, a device, a descriptor name) is
// written into. config/atomic_file.h says what each system keeps of the old file.
FileOutcome writeWholeFile(const std::filesystem::path& target, std::string_view bytes);

// A plain file open for reading from its start; closed with the object.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Refuses a folder and anything but a plain file, without waiting for a pipe's writer.
    FileOutcome open(const std::filesystem::path& path);
    // Reads what comes next into `buffer`; `count` is 0 at the end of the file.
    FileOutcome read(std::span<char> buffer, std::size_t& count);

private:
    std::intptr_t m_handle = -1;  // a descriptor, or a HANDLE on Windows
};

}  // namespace qn470::platform
