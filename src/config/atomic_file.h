#pragma once

// Whole-file reads and atomic whole-file writes with results that name the file and the problem.
// A write goes to a temporary file in the target's folder, is flushed to the disk and then
// renamed over the target, so a failed write never harms the file that was there.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace qn470 {

struct FileResult {
    bool ok = false;
    std::string error;  // "<path>: <problem>" when !ok
};

// Replaces `target` with `bytes`. An existing target keeps its permissions.
FileResult writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Reads the whole file into `bytes`; a file larger than `maxBytes` is refused. `bytes` is left
// as it was when the read fails.
FileResult readWholeFile(const std::filesystem::path& path, std::string& bytes,
                         std::size_t maxBytes = 64u << 20);

}  // namespace qn470
