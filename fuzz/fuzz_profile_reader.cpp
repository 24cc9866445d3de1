// SPDX-License-Identifier: Apache-2.0
// Reads arbitrary bytes as a profile file's content, and as clear INI text, into fresh parameter
// sets. Beyond crashes it checks that a failed read changes nothing, that a successful one leaves
// no flag bit without a code set, and that what was read can be written and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "config/parameter_set.h"
#include "config/parameter_table.h"
#include "config/profile.h"
#include "config/stored_form.h"

namespace {

uint32_t knownFlagBits() {
    uint32_t mask = 0;
    for (const qn470::Parameter& p : qn470::allParameters()) {
        mask |= p.flagMask;
    }
    return mask;
}

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void readAndCheck(std::string_view bytes, bool asStored) {
    qn470::ParameterSet set;
    const qn470::ParameterSet before = set;
    const qn470::ReadResult result =
        asStored ? qn470::readProfileBytes(bytes, set) : qn470::readProfileText(bytes, set);
    if (!result.ok) {
        check(!result.error.empty());
        check(std::memcmp(&set, &before, sizeof set) == 0);
        return;
    }
    check((set.record.Flags & ~knownFlagBits()) == 0);
    if (asStored) {
        // Writing what was read and reading it again must give the same text: once per input is
        // enough, and keeps the target fast.
        const std::string text = qn470::profileText(set);
        qn470::ParameterSet again;
        check(qn470::readProfileText(text, again).ok);
        check(qn470::profileText(again) == text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAndCheck(bytes, true);
    // Clear text was read as such just now; only complemented bytes read differently as text.
    if (!qn470::isClearText(bytes)) {
        readAndCheck(bytes, false);
    }
    return 0;
}
