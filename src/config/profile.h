// SPDX-License-Identifier: Apache-2.0
#pragma once

// Profiles: the whole ParameterSet as INI text in section "QN-470", one key per code, stored on
// disk with every byte complemented.
//
// Writing puts every written key in a fixed order. Reading clears the whole Flags word, then
// reads every key that profiles carry; a missing key gives the parameter's default, so a profile
// holding only its section line yields the defaults. Codes written but never read (T0..T3,
// U0..U2), codes profiles do not carry (C4, E8) and the record's bytes without a code keep their
// values. A failed read leaves the ParameterSet as it was.
//
// What a write-then-read round trip keeps: every number, flag and text exactly; boolean bytes as
// 0 / 1; no text keeps a CR or LF (left out on writing). A text that starts or ends with a blank,
// or starts and ends with the same quote character, is written inside double quotes, which the
// reader takes off again.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/atomic_file.h"
#include "config/parameter_set.h"
#include "config/profile_check.h"

namespace qn470 {

inline constexpr std::string_view kProfileSection = "QN-470";

struct ReadResult {
    bool ok = false;
    std::string error;  // "<path>: <problem>" for files, "<problem>" for text
    // What the file says that the reader took differently, or that the tracker would not take
    // (see profile_check.h). The read succeeds all the same: stored files must keep loading.
    std::vector<ProfileProblem> problems;
};

// The codes of a written profile in the order they are written.
std::span<const std::string_view> profileKeyOrder();

// The clear INI text of a profile ("[QN-470]\r\nA0=1\r\n...").
std::string profileText(const ParameterSet& set);

// Reads clear INI text; fails, changing nothing, when it has no "QN-470" section. Lines may end
// in CR LF, LF or a lone CR; a leading UTF-8 byte-order mark is passed over.
ReadResult readProfileText(std::string_view text, ParameterSet& set);

// Reads the content of a profile file (complemented, or clear text starting with "[").
ReadResult readProfileBytes(std::string_view stored, ParameterSet& set);

// Writes the set as a profile file, replacing the file only when the whole write succeeded.
FileResult writeProfile(const ParameterSet& set, const std::filesystem::path& path);

// The largest profile file any reader takes: far beyond any real profile; keeps a wrongly chosen
// huge file out of memory.
inline constexpr std::size_t kMaxProfileBytes = 1u << 20;

// Reads a profile file (at most kMaxProfileBytes) into the set; on failure the set is unchanged.
ReadResult readProfile(const std::filesystem::path& path, ParameterSet& set);

}  // namespace qn470
