#include "platform/temporary_name.h"

#include <random>
#include <string>

namespace qn470::platform {

namespace fs = std::filesystem;

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

fs::path temporaryName(const fs::path& file) {
    std::random_device random;
    const unsigned value = random();
    std::string name = ".qn470-";
    for (int i = 0; i < 8; ++i) {
        name += "0123456789abcdef"[(value >> (4 * i)) & 0xF];
    }
    return fs::path(file).replace_filename(name + ".tmp");
}

}  // namespace qn470::platform
