// SPDX-License-Identifier: Apache-2.0
#include "config/parameter_value.h"

#include <algorithm>
#include <cstring>

namespace qn470 {
namespace {

unsigned char* recordBytes(ParameterSet& set) {
    return reinterpret_cast<unsigned char*>(&set.record);
}
const unsigned char* recordBytes(const ParameterSet& set) {
    return reinterpret_cast<const unsigned char*>(&set.record);
}

char* textStorage(ParameterSet& set, const Parameter& p) {
    switch (p.storage) {
        case Storage::Text:
            return reinterpret_cast<char*>(recordBytes(set) + p.offset);
        case Storage::EventText:
            return set.eventTexts.row(p.offset);
        case Storage::Firmware:
            return set.firmwareVersion.text;
        default:
            return nullptr;
    }
}

const char* textStorage(const ParameterSet& set, const Parameter& p) {
    return textStorage(const_cast<ParameterSet&>(set), p);
}

}  // namespace

int64_t readNumber(const ParameterSet& set, const Parameter& p) {
    const unsigned char* at = recordBytes(set) + p.offset;
    switch (p.storage) {
        case Storage::FlagBit: {
            return (set.record.Flags & p.flagMask) != 0 ? 1 : 0;
        }
        case Storage::Hardware:
            return set.hardwareOption.value;
        case Storage::Unsigned:
        case Storage::BoolByte: {
            uint32_t value = 0;
            std::memcpy(&value, at, p.size);  // little-endian: the low bytes come first
            return value;
        }
        case Storage::Signed: {
            if (p.size == 1) {
                int8_t value;
                std::memcpy(&value, at, 1);
                return value;
            }
            int32_t value;
            std::memcpy(&value, at, 4);
            return value;
        }
        default:
            return 0;
    }
}

void writeNumber(ParameterSet& set, const Parameter& p, int64_t value) {
    switch (p.storage) {
        case Storage::FlagBit:
            set.record.Flags =
                value != 0 ? (set.record.Flags | p.flagMask) : (set.record.Flags & ~p.flagMask);
            return;
        case Storage::Hardware:
            set.hardwareOption.value = static_cast<int32_t>(static_cast<uint32_t>(value));
            return;
        case Storage::Unsigned:
        case Storage::BoolByte:
        case Storage::Signed: {
            const uint32_t low = static_cast<uint32_t>(static_cast<uint64_t>(value));
            std::memcpy(recordBytes(set) + p.offset, &low, p.size);
            return;
        }
        default:
            return;
    }
}

std::string readText(const ParameterSet& set, const Parameter& p) {
    const char* text = textStorage(set, p);
    if (text == nullptr) {
        return {};
    }
    return std::string(text, strnlen(text, p.size));
}

void writeText(ParameterSet& set, const Parameter& p, std::string_view text) {
    char* field = textStorage(set, p);
    if (field == nullptr) {
        return;
    }
    const std::size_t length = std::min<std::size_t>(text.size(), p.maxTextLength());
    std::memset(field, 0, p.size);
    if (length > 0) {  // an empty view may carry a null pointer, which memcpy must not get
        std::memcpy(field, text.data(), length);
    }
}

}  // namespace qn470
