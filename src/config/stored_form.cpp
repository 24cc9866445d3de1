#include "config/stored_form.h"

namespace qn470 {

std::string complementBytes(std::string_view bytes) {
    std::string out(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[i] = static_cast<char>(~static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

bool isClearText(std::string_view stored) {
    return !stored.empty() && stored.front() == '[';
}

std::string profileTextFromStored(std::string_view stored) {
    return isClearText(stored) ? std::string(stored) : complementBytes(stored);
}

}  // namespace qn470
