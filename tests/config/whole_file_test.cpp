// SPDX-License-Identifier: Apache-2.0
// Whole-file writes and reads as every system must do them; atomic_file_test.cpp adds what only
// POSIX has (links, pipes, devices, descriptor names, modes, kills).

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/atomic_file.h"
#include "config/temp_folder.h"

namespace qn470 {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::string fileContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void putFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Line ends, NUL and bytes above 0x7F: a text-mode write or read would change them.
std::string binary(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = "\r\n\0\x1A\xFFQ"[i % 6];
    }
    return bytes;
}

TEST(WholeFile, WriteLeavesExactlyTheNewBytesAndNothingBeside) {
    struct Case {
        const char* name;
        std::optional<std::string> old;  // none: no file yet
        std::string bytes;
    };
    const Case cases[] = {
        {"new file", std::nullopt, "[QN-470]\r\nC1=180\r\n"},
        {"shorter than the old file", std::string(5000, 'o'), "new"},
        {"empty", "old", ""},
        {"binary bytes kept as they are", "old", binary(4099)},
        // More than one write call and more than the read buffer.
        {"several megabytes", "old", binary(3u << 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path target = folder / "car1.pro";
        if (c.old) {
            putFile(target, *c.old);
        }
        const FileResult written = writeFileAtomically(target, c.bytes);
        ASSERT_TRUE(written.ok) << written.error;
        EXPECT_TRUE(fileContent(target) == c.bytes);
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.pro"});
        std::string read = "before";
        const FileResult result = readWholeFile(target, read);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(read == c.bytes);
    }
}

TEST(WholeFile, RefusedWriteKeepsTheOldFileAndLeavesNothing) {
    struct Case {
        const char* file;
        bool makeFolder;
        std::string problem;  // the start of the message after "<path>: "
    };
    const Case cases[] = {
        {"car1.pro", true, "is a folder, not a file"},
        {"gone/car1.pro", false, "cannot create a file in its folder ("},
        {"", false, "no file name given"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        TempFolder folder;
        putFile(folder / "other.pro", "old");
        const fs::path target = *c.file ? folder / c.file : fs::path();
        if (c.makeFolder) {
            fs::create_directory(target);
        }
        const std::vector<std::string> before = folder.entries();
        const FileResult result = writeFileAtomically(target, "new");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error.rfind(target.string() + ": " + c.problem, 0), 0u) << result.error;
        EXPECT_EQ(folder.entries(), before);
        EXPECT_EQ(fileContent(folder / "other.pro"), "old");
    }
}

TEST(WholeFile, FolderPathWithoutFileNameIsRefused) {
    TempFolder folder;
    const fs::path target = folder.path() / "";
    EXPECT_EQ(writeFileAtomically(target, "new").error, target.string() + ": no file name given");
}

TEST(WholeFile, ReadRefusalsLeaveTheBufferAsItWas) {
    struct Case {
        const char* name;
        std::size_t size;  // bytes in the file; SIZE_MAX: no file, 0 with folder: a folder
        bool folder;
        std::size_t limit;
        std::string problem;  // "" when the read succeeds
    };
    const Case cases[] = {
        {"missing", SIZE_MAX, false, 100, "file not found"},
        {"folder", 0, true, 100, "is a folder, not a file"},
        {"one byte over", 101, false, 100, "too large (more than 100 bytes)"},
        {"over, in a later buffer", 70000, false, 65537, "too large (more than 65537 bytes)"},
        {"exactly at the limit", 100, false, 100, ""},
        {"empty", 0, false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path path = folder / "car1.pro";
        if (c.folder) {
            fs::create_directory(path);
        } else if (c.size != SIZE_MAX) {
            putFile(path, binary(c.size));
        }
        std::string bytes = "untouched";
        const FileResult result = readWholeFile(path, bytes, c.limit);
        EXPECT_EQ(result.error, c.problem.empty() ? "" : path.string() + ": " + c.problem);
        EXPECT_TRUE(bytes == (c.problem.empty() ? binary(c.size) : "untouched"));
    }
}

}  // namespace
}  // namespace qn470
