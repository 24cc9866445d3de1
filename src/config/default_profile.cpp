// SPDX-License-Identifier: Apache-2.0
#include "config/default_profile.h"

#include <string>

#include "config/profile.h"
#include "config/stored_form.h"

namespace qn470 {

std::string_view defaultProfileText() {
    // A section without keys: every value is the built-in default.
    static const std::string text = "[" + std::string(kProfileSection) + "]\r\n";
    return text;
}

std::string defaultProfileBytes() {
    return complementBytes(defaultProfileText());
}

ReadResult loadDefaultProfile(ParameterSet& set) {
    ReadResult result = readProfileText(defaultProfileText(), set);
    if (!result.ok) {
        result.error = std::string(kDefaultProfileName) + ": " + result.error;
    }
    return result;
}

}  // namespace qn470
