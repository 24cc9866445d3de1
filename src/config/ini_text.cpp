// SPDX-License-Identifier: Apache-2.0
#include "config/ini_text.h"

#include <algorithm>
#include <limits>

#include "config/decimal_text.h"

namespace qn470 {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Three-way comparison ignoring ASCII letter case.
int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(lower(a[i]));
        const auto cb = static_cast<unsigned char>(lower(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

// The name of a section line "[name]" (the closing bracket may be missing).
std::string_view sectionName(std::string_view line) {
    line.remove_prefix(1);
    return trim(line.substr(0, line.find(']')));
}

}  // namespace

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    return text;
}

std::string_view nextIniLine(std::string_view& rest) {
    // A plain loop: find_first_of calls memchr once per character of the text.
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n') {
        ++end;
    }
    if (end == rest.size()) {
        end = std::string_view::npos;
    }
    const std::string_view line = rest.substr(0, end);
    std::size_t taken = end == std::string_view::npos ? rest.size() : end + 1;
    if (end != std::string_view::npos && rest[end] == '\r' && end + 1 < rest.size() &&
        rest[end + 1] == '\n') {
        ++taken;
    }
    rest.remove_prefix(taken);
    return line;
}

std::string_view trimIni(std::string_view s) {
    return trim(s);
}

int compareIniNames(std::string_view a, std::string_view b) {
    return compareNoCase(a, b);
}

std::optional<IniSection> IniSection::parse(std::string_view text, std::string_view name) {
    IniSection section;
    bool found = false;
    std::string_view rest = withoutByteOrderMark(text);
    while (!rest.empty()) {
        const std::string_view line = trim(nextIniLine(rest));
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            if (found) {
                break;  // the first matching section wins
            }
            found = compareNoCase(sectionName(line), name) == 0;
            continue;
        }
        if (!found) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trim(line.substr(0, equals));
        if (!key.empty()) {
            section.m_entries.emplace_back(key, trim(line.substr(equals + 1)));
        }
    }
    if (!found) {
        return std::nullopt;
    }
    // A stable sort keeps equal keys in file order, so the first one survives the dedup.
    auto& entries = section.m_entries;
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return compareNoCase(a.first, b.first) < 0;
    });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const auto& a, const auto& b) {
                                  return compareNoCase(a.first, b.first) == 0;
                              }),
                  entries.end());
    return section;
}

std::optional<std::string_view> IniSection::value(std::string_view key) const {
    const auto it = std::lower_bound(
        m_entries.begin(), m_entries.end(), key,
        [](const auto& entry, std::string_view k) { return compareNoCase(entry.first, k) < 0; });
    if (it == m_entries.end() || compareNoCase(it->first, key) != 0) {
        return std::nullopt;
    }
    return it->second;
}

int64_t IniSection::readInt(std::string_view key, int64_t fallback) const {
    const auto v = value(key);
    return v ? parseIniInt(*v) : fallback;
}

std::string_view IniSection::readString(std::string_view key, std::string_view fallback) const {
    const auto v = value(key);
    if (!v) {
        return fallback;
    }
    std::string_view s = *v;
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
        s = s.substr(1, s.size() - 2);
    }
    return s;
}

int64_t parseIniInt(std::string_view value) {
    return readLeadingDecimal(value, DecimalMode{DecimalBlanks::SpaceTab, DecimalSign::Read}).value;
}

IniWriter::IniWriter(std::string_view section) {
    m_text.reserve(8192);
    m_text += '[';
    m_text += section;
    m_text += "]\r\n";
}

void IniWriter::add(std::string_view key, std::string_view value) {
    m_text += key;
    m_text += '=';
    for (const char c : value) {
        if (c != '\r' && c != '\n') {
            m_text += c;
        }
    }
    m_text += "\r\n";
}

}  // namespace qn470
