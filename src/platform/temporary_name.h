#pragma once

// Names shared by the systems' file writers.

#include <filesystem>

namespace qn470::platform {

// The folder a file is in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& file);

// A random name beside `file` for the new content: short and fixed in form, so it fits wherever
// the file's own name fits.
std::filesystem::path temporaryName(const std::filesystem::path& file);

}  // namespace qn470::platform
