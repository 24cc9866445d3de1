#include "config/default_profile.h"

#include "config/stored_form.h"

namespace qn470 {

std::string_view defaultProfileText() {
    return "[QN-470]\r\n";
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
