// SPDX-License-Identifier: Apache-2.0
#include "sim/position_sentence.h"

#include <cstdio>
#include <ctime>

namespace qn470 {

std::string sentenceChecksum(const std::string& sentence) {
    unsigned x = 0;
    const std::size_t start = sentence.find('$');
    for (std::size_t i = start == std::string::npos ? 0 : start + 1; i < sentence.size(); ++i) {
        if (sentence[i] == '*') {
            break;
        }
        x ^= static_cast<unsigned char>(sentence[i]);
    }
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", x & 0xFF);
    return digits;
}

std::string positionSentence(int64_t utcSeconds) {
    const std::time_t time = static_cast<std::time_t>(utcSeconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char body[96];
    std::snprintf(body, sizeof body,
                  "$GPRMC,%02d%02d%02d.00,A,5230.1234,N,01323.4567,E,0.0,0.0,%02d%02d%02d,,,A",
                  utc.tm_hour, utc.tm_min, utc.tm_sec, utc.tm_mday, utc.tm_mon + 1,
                  utc.tm_year % 100);
    std::string sentence(body);
    return sentence + '*' + sentenceChecksum(sentence);
}

}  // namespace qn470
