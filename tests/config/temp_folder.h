// SPDX-License-Identifier: Apache-2.0
#pragma once

// A fresh folder under the system's temporary directory, removed with everything in it when the
// test ends.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace qn470::test {

inline std::filesystem::path makeFolder() {
#ifdef _WIN32
    // No mkdtemp here: a random name that create_directory finds free is as good.
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const auto path =
            std::filesystem::temp_directory_path() / ("qn470-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) {
            return path;
        }
    }
    ADD_FAILURE() << "cannot create a temporary folder";
    return {};
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "qn470-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder";
    }
    return pattern;
#endif
}

class TempFolder {
public:
    TempFolder() : m_path(makeFolder()) {}
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // The names of the entries in the folder, to catch left-over temporary files.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace qn470::test
