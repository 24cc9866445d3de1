// SPDX-License-Identifier: Apache-2.0
#pragma once

// Our own small private-profile (INI) reader and writer. Only what profiles need: one section,
// key names and section names compared without regard to letter case, the first matching
// section and the first matching key win, blanks around names and values are trimmed, lines
// starting with ';' are comments, and CR LF, LF and lone CR line ends are all accepted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qn470 {

// The keys of one section. Keys and values are views into the parsed text, which must outlive
// the section.
class IniSection {
public:
    // The first section named `name`, or nothing when the text has no such section.
    static std::optional<IniSection> parse(std::string_view text, std::string_view name);

    // The trimmed value of the first key named `key`, or nothing when the key is missing.
    std::optional<std::string_view> value(std::string_view key) const;

    // A missing key gives `fallback`. A present one gives its leading decimal number (optional
    // blanks, optional sign, digits), saturated to 64 bits; a value that is not a number gives 0.
    int64_t readInt(std::string_view key, int64_t fallback) const;

    // A missing key gives `fallback`; a present one its value with one pair of surrounding
    // quotes (double or single) removed.
    std::string_view readString(std::string_view key, std::string_view fallback) const;

    std::size_t keyCount() const { return m_entries.size(); }

private:
    // Sorted by key without regard to case; only the first occurrence of a key is kept.
    std::vector<std::pair<std::string_view, std::string_view>> m_entries;
};

// `text` without the UTF-8 byte-order mark some editors put in front.
std::string_view withoutByteOrderMark(std::string_view text);

// Cuts the next line off `rest`, without its line end (CR LF, LF or a lone CR).
std::string_view nextIniLine(std::string_view& rest);

// `s` without blanks (spaces, tabs) at either end.
std::string_view trimIni(std::string_view s);

// Three-way comparison of key or section names, ignoring ASCII letter case.
int compareIniNames(std::string_view a, std::string_view b);

// The number a value reads as (see IniSection::readInt).
int64_t parseIniInt(std::string_view value);

// Builds INI text for one section: "[name]\r\n" then one "key=value\r\n" line per key.
class IniWriter {
public:
    explicit IniWriter(std::string_view section);

    // CR and LF in the value are left out: they would end the line and let the rest of the
    // value be read as a key of its own.
    void add(std::string_view key, std::string_view value);

    const std::string& text() const& { return m_text; }
    std::string text() && { return std::move(m_text); }

private:
    std::string m_text;
};

}  // namespace qn470
