// SPDX-License-Identifier: Apache-2.0
#include "config/stored_form.h"

#include "config/ini_text.h"

namespace qn470 {

std::string complementBytes(std::string_view bytes) {
    std::string out(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[i] = static_cast<char>(~static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

bool isClearText(std::string_view stored) {
    stored = withoutByteOrderMark(stored);
    return !stored.empty() && stored.front() == '[';
}

std::string profileTextFromStored(std::string_view stored) {
    if (isClearText(stored)) {
        return std::string(withoutByteOrderMark(stored));
    }
    const std::string text = complementBytes(stored);
    return std::string(withoutByteOrderMark(text));
}

}  // namespace qn470
