// SPDX-License-Identifier: Apache-2.0
#pragma once

// Names shared by the systems' file writers.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qn470::platform {

// The folder a file is in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& file);

// Who wrote a temporary file: enough for a later writer on the same system to tell whether that
// one is gone, so a file a killed write left behind can be removed and a live writer's never is.
struct TemporaryWriter {
    std::uint32_t system = 0;   // this machine and the process ids it sees
    std::uint32_t boot = 0;     // this boot of it
    std::uint64_t process = 0;  // the writer's process id
    bool operator==(const TemporaryWriter&) const = default;
};

// This process; nothing where the system cannot say which boot it runs in.
std::optional<TemporaryWriter> thisWriter();

// True only when the writer has surely ended: it wrote on this system, and in an earlier boot or
// as a process that no longer exists. A writer of another machine or container is never gone.
bool writerGone(const TemporaryWriter& writer);

// A name beside `file` for the new content, ".qn470-SSSSSSSS-BBBBBBBB-PID-RRRRRRRR.tmp" (system,
// boot, process id, random), or ".qn470-RRRRRRRR.tmp" where thisWriter() is unknown. Short and
// fixed in form, so it fits wherever the file's own name fits.
std::filesystem::path temporaryName(const std::filesystem::path& file);

// The writer a temporary name of this program carries; nothing for any other name, the form
// without a writer included.
std::optional<TemporaryWriter> temporaryWriter(std::string_view fileName);

}  // namespace qn470::platform
