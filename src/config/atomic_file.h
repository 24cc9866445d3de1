// SPDX-License-Identifier: Apache-2.0
#pragma once

// Whole-file reads and atomic whole-file writes with results that name the file and the problem.
// A regular file is replaced: the bytes go to a new file in the target's folder, are flushed to
// the disk and the new file is renamed over the target, so a failed or killed write never harms
// the file that was there. The new file gets its name only just before the rename, so nothing is
// left beside the target, short of a kill in that very instant. Anything else (a named pipe, a
// device, standard output) is written into, never replaced.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace qn470 {

struct FileResult {
    bool ok = false;
    std::string error;  // "<path>: <problem>" when !ok
};

// Writes `bytes` as the whole content of `target`. Symbolic links are followed to the file they
// name, which is created when missing. An existing regular file keeps its owner and permissions;
// a new one gets 0666 less the umask. /dev/stdout, /dev/stderr, /dev/fd/N and /proc/self/fd/N
// write into the descriptor this process holds. On Windows the old file's attributes and security
// are kept instead, and there are no descriptor names.
FileResult writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Reads the whole file into `bytes`; a file larger than `maxBytes` is refused. `bytes` is left
// as it was when the read fails.
FileResult readWholeFile(const std::filesystem::path& path, std::string& bytes,
                         std::size_t maxBytes = 64u << 20);

}  // namespace qn470
