// SPDX-License-Identifier: Apache-2.0
#include "config/profile.h"

#include <array>
#include <charconv>
#include <cstddef>

#include "config/ini_text.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/stored_form.h"

namespace qn470 {
namespace {

// Files written by earlier versions have their keys in this order; keep it.
// clang-format off
constexpr std::string_view kKeyOrder[] = {
    "A0", "A1", "A2", "A3", "A4", "A5", "B0", "B1", "B2", "B3",
    "C1", "C2", "C3", "C5", "C7", "C8", "C9", "CA", "CB", "CC", "CD",
    "D1", "D2", "D3", "D4", "D5", "D8",
    "E0", "E1", "E2", "E3", "E4", "E5", "E6", "E7", "EA", "F0", "F2",
    "G0", "G1", "G2", "G3", "G4", "G5", "H0", "H1", "H2", "H3",
    "J2", "J3", "J4", "J5", "J6", "J9", "JA", "JB",
    "K0", "K1", "K2", "K3", "K4", "K6", "K7", "Rz",
    "O2", "O3", "O5", "O6", "O7", "O8", "OB", "OC", "OD", "OG", "OH",
    "SA", "SB", "SD", "SE", "SF", "SI", "SJ", "SK", "SL",
    "S0", "S1", "S2", "S3", "S4", "S5", "S6",
    "ON", "OO", "Oa", "SC", "OR", "OS", "PA", "PC", "PD", "PE", "OT",
    "T0", "T1", "T2", "T3", "U0", "U1", "U2",
    "V0", "V4", "V5", "V6", "V8", "V9",
    "W0", "W1", "W2", "W3", "W4", "W5", "X0", "X1", "X2", "X3", "X4", "X5",
    "Y0", "Y1", "Y2", "Y3", "Y4", "Y5", "Z0", "Z1", "Z2", "Z3", "Z4", "Z5",
    "WA", "WB", "WC", "WD", "WE", "XA", "XB", "XC", "XD", "XE",
    "YA", "YB", "YC", "YD", "YE", "ZA", "ZB", "ZC", "ZD", "ZE",
    "Pa", "Pb", "Pc", "Pd", "Pg", "Ph", "Pi", "Pj", "Pm", "Pn", "Po", "Pp",
    "Ps", "Pt", "Pu", "Pv",
    "Qa", "Qb", "Qc", "Qd", "Qg", "Qh", "Qi", "Qj", "Qm", "Qn", "Qo", "Qp",
    "Qs", "Qt", "Qu", "Qv", "Qz", "QA", "QB", "QC", "QD", "QE",
    "Ra", "Rb", "Rc", "Rd", "Re", "Rf", "Ri", "Rj", "Rk", "Rl", "Rn", "Ro", "Rp",
    "Rs", "Rt", "Ru", "Rv", "Rw", "Rx", "Ry",
    // event message texts, in row order
    "BA", "BB", "BC", "BD", "BE", "BF", "BG", "BH", "BI", "BJ", "BK", "BL", "BM", "BN", "BO",
    "BP", "BQ",
    "BR", "BS", "BT", "BU", "BV", "BW", "BX", "BY",
    "Ba", "Bb", "Bc", "Bd", "Be", "Bf", "Bg", "Bh", "Bi", "Bj", "Bk",
};
// clang-format on

void appendNumber(std::string& out, int64_t value) {
    std::array<char, 24> digits;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    out.append(digits.data(), end);
}

// The reader trims blanks and takes one pair of surrounding quotes off a value; such a text is
// written inside quotes so that it reads back as itself.
bool readerWouldChange(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    return blank(text.front()) || blank(text.back()) || quoted;
}

// The value text of one key.
void appendValue(std::string& out, const ParameterSet& set, const Parameter& p) {
    switch (p.storage) {
        case Storage::FlagBit:
        case Storage::BoolByte:
            out += readNumber(set, p) != 0 ? '1' : '0';
            return;
        case Storage::Unsigned:
        case Storage::Signed:
        case Storage::Hardware: {
            int64_t value = readNumber(set, p);
            if (p.size == 4) {
                // 32-bit fields are written as the signed value of their bit pattern.
                value = static_cast<int32_t>(static_cast<uint32_t>(value));
            }
            appendNumber(out, value);
            return;
        }
        case Storage::Text:
        case Storage::Firmware: {
            const std::string text = readText(set, p);
            if (readerWouldChange(text)) {
                out += '"' + text + '"';
            } else {
                out += text;
            }
            return;
        }
        case Storage::EventText:
            out += '"';
            out += readText(set, p);
            out += '"';
            return;
    }
}

void readParameter(const IniSection& section, const Parameter& p, ParameterSet& set) {
    switch (p.storage) {
        case Storage::FlagBit:
        case Storage::BoolByte:
            writeNumber(set, p, section.readInt(p.profileKey, p.defaultNumber) != 0 ? 1 : 0);
            return;
        case Storage::Unsigned:
        case Storage::Signed:
        case Storage::Hardware:
            writeNumber(set, p, section.readInt(p.profileKey, p.defaultNumber));
            return;
        case Storage::Text:
        case Storage::Firmware:
        case Storage::EventText:
            writeText(set, p, section.readString(p.profileKey, p.defaultText));
            return;
    }
}

}  // namespace

std::span<const std::string_view> profileKeyOrder() {
    return kKeyOrder;
}

std::string profileText(const ParameterSet& set) {
    IniWriter writer(kProfileSection);
    std::string value;
    for (const std::string_view code : kKeyOrder) {
        const Parameter& p = parameter(code);
        value.clear();
        appendValue(value, set, p);
        writer.add(p.profileKey, value);
    }
    return std::move(writer).text();
}

ReadResult readProfileText(std::string_view text, ParameterSet& set) {
    const std::optional<IniSection> section = IniSection::parse(text, kProfileSection);
    if (!section) {
        return {false, "not a profile (no [" + std::string(kProfileSection) + "] section)", {}};
    }
    // Nothing can fail from here on, so the set is changed only by a read that succeeds.
    set.record.Flags = 0;  // bits without a code are cleared too
    for (const Parameter& p : allParameters()) {
        if (p.profile == ProfileUse::ReadWrite) {
            readParameter(*section, p, set);
        }
    }
    return {true, {}, checkProfileText(text)};
}

ReadResult readProfileBytes(std::string_view stored, ParameterSet& set) {
    if (stored.empty()) {
        return {false, "the file is empty", {}};
    }
    return readProfileText(profileTextFromStored(stored), set);
}

FileResult writeProfile(const ParameterSet& set, const std::filesystem::path& path) {
    return writeFileAtomically(path, complementBytes(profileText(set)));
}

ReadResult readProfile(const std::filesystem::path& path, ParameterSet& set) {
    std::string stored;
    const FileResult file = readWholeFile(path, stored, kMaxProfileBytes);
    if (!file.ok) {
        return {false, file.error, {}};
    }
    ReadResult result = readProfileBytes(stored, set);
    if (!result.ok) {
        result.error = path.string() + ": " + result.error;
    }
    return result;
}

}  // namespace qn470
