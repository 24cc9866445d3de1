// SPDX-License-Identifier: Apache-2.0
// The portable part of whole-file reads and writes: the checks that need no system, the size
// limit and every message text. What differs between systems is in platform/file_io.h.

#include "config/atomic_file.h"

#include <array>
#include <utility>

#include "platform/file_io.h"

namespace qn470 {
namespace {

namespace fs = std::filesystem;
using platform::FileOutcome;
using platform::FileProblem;

FileResult failure(const fs::path& path, std::string_view problem) {
    return {false, path.string() + ": " + std::string(problem)};
}

std::string_view problemText(FileProblem problem) {
    switch (problem) {
        case FileProblem::none:
            break;
        case FileProblem::linkLoop:
            return "symbolic link loop";
        case FileProblem::folder:
            return "is a folder, not a file";
        case FileProblem::socket:
            return "is a socket, which cannot be written as a file";
        case FileProblem::pipeWithoutReader:
            return "is a named pipe and no program is reading from it";
        case FileProblem::notPlainFile:
            return "is not a plain file";
        case FileProblem::notFound:
            return "file not found";
        case FileProblem::cannotOpen:
            return "cannot open";
        case FileProblem::cannotCreate:
            return "cannot create a file in its folder";
        case FileProblem::writeFailed:
            return "write failed";
        case FileProblem::cannotFlush:
            return "cannot flush the file to the disk";
        case FileProblem::cannotReplace:
            return "cannot replace the file";
        case FileProblem::readFailed:
            return "read failed";
    }
    return {};
}

// "<path>: <problem> (<the system's reason>)".
FileResult resultOf(const fs::path& path, const FileOutcome& outcome) {
    if (outcome.ok()) {
        return {true, {}};
    }
    std::string problem(problemText(outcome.problem));
    if (outcome.reason) {
        problem += " (" + outcome.reason.message() + ")";
    }
    return failure(path, problem);
}

}  // namespace

FileResult writeFileAtomically(const fs::path& target, std::string_view bytes) {
    if (target.empty() || !target.has_filename()) {
        return failure(target, "no file name given");
    }
    return resultOf(target, platform::writeWholeFile(target, bytes));
}

FileResult readWholeFile(const fs::path& path, std::string& bytes, std::size_t maxBytes) {
    if (path.empty()) {
        return failure(path, "no file name given");
    }
    platform::FileReader file;
    if (const FileOutcome opened = file.open(path); !opened.ok()) {
        return resultOf(path, opened);
    }
    std::string content;
    std::array<char, 65536> buffer;
    for (;;) {
        std::size_t n = 0;
        if (const FileOutcome read = file.read(buffer, n); !read.ok()) {
            return resultOf(path, read);
        }
        if (n == 0) {
            break;
        }
        if (content.size() + n > maxBytes) {
            return failure(path, "too large (more than " + std::to_string(maxBytes) + " bytes)");
        }
        content.append(buffer.data(), n);
    }
    bytes = std::move(content);
    return {true, {}};
}

}  // namespace qn470
