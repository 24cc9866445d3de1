// SPDX-License-Identifier: Apache-2.0
#include "platform/temporary_name.h"

#include <charconv>
#include <random>
#include <string>

namespace qn470::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".qn470-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kHexDigits = 8;
constexpr std::size_t kMaxProcessDigits = 19;

std::string hex8(std::uint32_t value) {
    std::string text(kHexDigits, '0');
    for (std::size_t i = 0; i < kHexDigits; ++i) {
        text[kHexDigits - 1 - i] = "0123456789abcdef"[(value >> (4 * i)) & 0xF];
    }
    return text;
}

// Exactly eight lower-case hex digits, as hex8 writes them.
std::optional<std::uint32_t> readHex8(std::string_view text) {
    if (text.size() != kHexDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(c >= 'a' && c <= 'f')) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit ? c - '0' : c - 'a' + 10);
    }
    return value;
}

// Splits off the text before the next '-'.
std::string_view nextField(std::string_view& rest) {
    const std::size_t dash = rest.find('-');
    const std::string_view field = rest.substr(0, dash);
    rest = dash == std::string_view::npos ? std::string_view() : rest.substr(dash + 1);
    return field;
}

}  // namespace

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

fs::path temporaryName(const fs::path& file) {
    std::random_device random;
    std::string name(kPrefix);
    if (const std::optional<TemporaryWriter> writer = thisWriter()) {
        name += hex8(writer->system) + '-' + hex8(writer->boot) + '-' +
                std::to_string(writer->process) + '-';
    }
    name += hex8(random());
    name += kSuffix;
    return fs::path(file).replace_filename(name);
}

std::optional<TemporaryWriter> temporaryWriter(std::string_view fileName) {
    if (!fileName.starts_with(kPrefix) || !fileName.ends_with(kSuffix)) {
        return std::nullopt;
    }
    std::string_view rest = fileName.substr(kPrefix.size());
    rest.remove_suffix(kSuffix.size());
    const std::optional<std::uint32_t> system = readHex8(nextField(rest));
    const std::optional<std::uint32_t> boot = readHex8(nextField(rest));
    const std::string_view process = nextField(rest);
    const std::optional<std::uint32_t> random = readHex8(nextField(rest));
    TemporaryWriter writer{};
    const char* end = process.data() + process.size();
    if (!system || !boot || !random || !rest.empty() || process.empty() ||
        process.size() > kMaxProcessDigits || process.front() == '0' ||
        std::from_chars(process.data(), end, writer.process).ptr != end) {
        return std::nullopt;
    }
    writer.system = *system;
    writer.boot = *boot;
    return writer;
}

}  // namespace qn470::platform
