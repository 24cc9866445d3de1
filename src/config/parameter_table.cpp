// SPDX-License-Identifier: Apache-2.0
#include "config/parameter_table.h"

#include <array>
#include <cstddef>
#include <cstdlib>

#include "config/parameter_set.h"

namespace qn470 {
namespace {

constexpr Condition kAlways{};
constexpr Condition range(int64_t min, int64_t max) {
    return Condition{min, max, false};
}
constexpr Condition kWord = range(0, 65535);
constexpr Condition kByte = range(0, 255);
constexpr Condition kPort{0, 65535, true};

constexpr std::string_view kNoAction = "0000000000";

#define FIELD(code)                                               \
#code, static_cast < uint16_t>(offsetof(ConfigRecord, code)), \
        static_cast < uint8_t>(sizeof(ConfigRecord::code))

constexpr Parameter number(std::string_view code, uint16_t offset, uint8_t size, int64_t def,
                           Wire wire, Condition condition = kAlways, std::string_view key = {}) {
    return {code,
            Storage::Unsigned,
            offset,
            size,
            0,
            wire,
            wire == Wire::Hex2   ? Decode::Hex2
            : wire == Wire::Hex4 ? Decode::Hex4
                                 : Decode::Int,
            condition,
            ProfileUse::ReadWrite,
            key.empty() ? code : key,
            def,
            {},
            false};
}
constexpr Parameter signedNumber(std::string_view code, uint16_t offset, uint8_t size, int64_t def,
                                 Condition condition) {
    Parameter p = number(code, offset, size, def, Wire::Dec, condition);
    p.storage = Storage::Signed;
    return p;
}
constexpr Parameter media(std::string_view code, uint16_t offset, uint8_t size, int64_t def = 16,
                          std::string_view key = {}) {
    return number(code, offset, size, def, Wire::Hex2, kAlways, key);
}
constexpr Parameter weekday(std::string_view code, uint16_t offset, uint8_t size) {
    Parameter p = number(code, offset, size, 0, Wire::Hex2);
    p.decode = Decode::Weekday;
    return p;
}
constexpr Parameter boolByte(std::string_view code, uint16_t offset, uint8_t size) {
    Parameter p = number(code, offset, size, 0, Wire::Bool);
    p.storage = Storage::BoolByte;
    return p;
}
constexpr Parameter text(std::string_view code, uint16_t offset, uint8_t size,
                         std::string_view def = {}, std::string_view key = {}) {
    return {code,
            Storage::Text,
            offset,
            size,
            0,
            Wire::Text,
            Decode::Text,
            kAlways,
            ProfileUse::ReadWrite,
            key.empty() ? code : key,
            0,
            def,
            false};
}
constexpr Parameter action(std::string_view code, uint16_t offset, uint8_t size,
                           std::string_view key = {}) {
    return text(code, offset, size, kNoAction, key);
}
constexpr Parameter flag(std::string_view code, uint32_t mask, int64_t def) {
    return {code,
            Storage::FlagBit,
            static_cast<uint16_t>(offsetof(ConfigRecord, Flags)),
            4,
            mask,
            Wire::Bit,
            Decode::Bit,
            kAlways,
            ProfileUse::ReadWrite,
            code,
            def,
            {},
            false};
}
// Sent and kept in profiles, but never decoded or read back from a profile.
constexpr Parameter sentOnly(std::string_view code, uint16_t offset, uint8_t size, Wire wire) {
    Parameter p = number(code, offset, size, 0, wire);
    p.decode = Decode::None;
    p.profile = ProfileUse::WriteOnly;
    return p;
}
// Decoded, but neither sent nor kept in profiles.
constexpr Parameter decodedOnly(std::string_view code, uint16_t offset, uint8_t size,
                                Condition condition) {
    Parameter p = number(code, offset, size, 0, Wire::None, condition);
    p.profile = ProfileUse::None;
    return p;
}
constexpr Parameter notSent(Parameter p) {
    p.wire = Wire::None;
    return p;
}
constexpr Parameter wholeText(Parameter p) {
    p.decode = Decode::WholeText;
    return p;
}
constexpr Parameter endsReport(Parameter p) {
    p.endsReport = true;
    return p;
}

#define TAIL_COMMON "$+IMEI:$S$+Time:$C$+GPS $A$+$6,$1$+Speed:$IK/H$+IO:$Y"
#define TAIL_BATTERY "$+IMEI:$S$+Time:$C$+GPS $A$+$6,$1$+Speed:$IK/H$+Backup:$n"
#define TAIL_GEOFENCE "$+IMEI:$S$+Time:$C$+Area $Z$+$6,$1$+Speed:$IK/H$+IO:$Y"

struct EventRow {
    std::string_view code;
    std::string_view key;
    std::string_view text;
};

constexpr std::array<EventRow, EventTexts::kCount> kEvents = {{
    {"BA", "BA", "00Ping report" TAIL_COMMON},
    {"BB", "BB", "00Emergency!" TAIL_COMMON},
    {"BC", "BC", "00GPS ant. fail" TAIL_COMMON},
    {"BD", "BD", "00ACC off" TAIL_COMMON},
    {"BE", "BE", "00ACC on" TAIL_COMMON},
    {"BF", "BF", "00DI 1 inactive" TAIL_COMMON},
    {"BG", "BG", "00DI 1 active" TAIL_COMMON},
    {"BH", "BH", "00DI 2 inactive" TAIL_COMMON},
    {"BI", "BI", "00DI 2 active" TAIL_COMMON},
    {"BJ", "BJ", "00DI 3 inactive" TAIL_COMMON},
    {"BK", "BK", "00DI 3 active" TAIL_COMMON},
    {"BL", "BL", "00Analog In:$a" TAIL_COMMON},
    {"BM", "BM", "00Main Bat. lost" TAIL_BATTERY},
    {"BN", "BN", "00Main Bat. low" TAIL_BATTERY},
    {"BO", "BO", "00Geofence alarm" TAIL_GEOFENCE},
    {"BP", "BP", "00Parking fence alarm" TAIL_COMMON},
    {"BQ", "BQ", "00Moving dist. $i" TAIL_COMMON},
    {"BR", "BR", "00Counter 0:$e" TAIL_COMMON},
    {"BS", "BS", "00Counter 1:$f" TAIL_COMMON},
    {"BT", "BT", "00Counter 2:$g" TAIL_COMMON},
    {"BU", "BU", "00Counter 3:$h" TAIL_COMMON},
    {"BV", "BV", "00Static report" TAIL_COMMON},
    {"BW", "BW", "00Moving report" TAIL_COMMON},
    {"BX", "BX", "00Start moving" TAIL_COMMON},
    {"BY", "BY", "00Stop moving" TAIL_COMMON},
    {"Ba", "Ba1", "00Over speed!" TAIL_COMMON},
    {"Bb", "Bb1", "00Under speed!" TAIL_COMMON},
    {"Bc", "Bc1", "00Timer 0 alarm" TAIL_COMMON},
    {"Bd", "Bd1", "00Timer 1 alarm" TAIL_COMMON},
    {"Be", "Be1", "00Timer 2 alarm" TAIL_COMMON},
    {"Bf", "Bf1", "00Timer 3 alarm" TAIL_COMMON},
    {"Bg", "Bg1", "00Stopwatch 0 alarm" TAIL_COMMON},
    {"Bh", "Bh1", "00Stopwatch 1 alarm" TAIL_COMMON},
    {"Bi", "Bi1", "00Stopwatch 2 alarm" TAIL_COMMON},
    {"Bj", "Bj1", "00Stopwatch 3 alarm" TAIL_COMMON},
    {"Bk", "Bk1", "00Parking alarm" TAIL_COMMON},
}};

constexpr Parameter event(int row) {
    const EventRow& e = kEvents[static_cast<std::size_t>(row)];
    return {e.code,
            Storage::EventText,
            static_cast<uint16_t>(row),
            EventTexts::kTextSize,
            0,
            // The last row's block number is the closing line's, so no set line carries it.
            row + 1 < EventTexts::kCount ? Wire::QText : Wire::None,
            Decode::Text,
            kAlways,
            ProfileUse::ReadWrite,
            e.key,
            0,
            e.text,
            false};
}

// clang-format off
constexpr Parameter kParameters[] = {
    flag("A0", Flag::A0, 1), flag("A1", Flag::A1, 0), flag("PE", Flag::PE, 1),
    flag("V0", Flag::V0, 0), flag("K0", Flag::K0, 0), flag("K1", Flag::K1, 0),
    flag("C5", Flag::C5, 0), flag("C7", Flag::C7, 0), flag("A3", Flag::A3, 0),
    flag("A4", Flag::A4, 1), flag("V6", Flag::V6, 0), flag("OR", Flag::OR, 0),
    flag("Rf", Flag::Rf, 0), flag("Rl", Flag::Rl, 1), flag("CB", Flag::CB, 0),
    flag("Rn", Flag::Rn, 0), flag("E6", Flag::E6, 0), flag("OG", Flag::OG, 1),
    flag("O8", Flag::O8, 0), flag("A5", Flag::A5, 1), flag("Rd", Flag::Rd, 0),
    flag("Re", Flag::Re, 0),

    sentOnly(FIELD(U0), Wire::Dec), sentOnly(FIELD(U1), Wire::Dec), sentOnly(FIELD(U2), Wire::Hex2),
    sentOnly(FIELD(T0), Wire::Dec), sentOnly(FIELD(T1), Wire::Dec), sentOnly(FIELD(T3), Wire::Dec),
    sentOnly(FIELD(T2), Wire::Hex2),

    weekday(FIELD(W3)), media(FIELD(W4)), number(FIELD(W2), 3600, Wire::Dec, kWord),
    number(FIELD(W0), 0, Wire::Dec), number(FIELD(W1), 86400, Wire::Dec), action(FIELD(W5)),
    weekday(FIELD(X3)), media(FIELD(X4)), number(FIELD(X2), 3600, Wire::Dec, kWord),
    number(FIELD(X0), 0, Wire::Dec), number(FIELD(X1), 86400, Wire::Dec), action(FIELD(X5)),
    weekday(FIELD(Y3)), media(FIELD(Y4)), number(FIELD(Y2), 3600, Wire::Dec, kWord),
    number(FIELD(Y0), 0, Wire::Dec), number(FIELD(Y1), 86400, Wire::Dec), action(FIELD(Y5)),
    weekday(FIELD(Z3)), endsReport(media(FIELD(Z4))), number(FIELD(Z2), 3600, Wire::Dec, kWord),
    number(FIELD(Z0), 0, Wire::Dec), number(FIELD(Z1), 86400, Wire::Dec), action(FIELD(Z5)),

    number(FIELD(Pa), 0, Wire::Dec, kAlways, "Pa1"), boolByte(FIELD(Pb)),
    media(FIELD(Pc), 16, "Pc1"), action(FIELD(Pd), "Pd1"),
    number(FIELD(Pg), 0, Wire::Dec), boolByte(FIELD(Ph)), media(FIELD(Pi)), action(FIELD(Pj)),
    number(FIELD(Pm), 0, Wire::Dec), boolByte(FIELD(Pn)), media(FIELD(Po)), action(FIELD(Pp)),
    number(FIELD(Ps), 0, Wire::Dec), boolByte(FIELD(Pt)), media(FIELD(Pu)), action(FIELD(Pv)),

    number(FIELD(WA), 60, Wire::Dec), number(FIELD(WB), 1, Wire::Dec), media(FIELD(WC)),
    action(FIELD(WD)), boolByte(FIELD(WE)),
    number(FIELD(XA), 60, Wire::Dec), number(FIELD(XB), 1, Wire::Dec), media(FIELD(XC)),
    action(FIELD(XD)), boolByte(FIELD(XE)),
    number(FIELD(YA), 60, Wire::Dec), number(FIELD(YB), 1, Wire::Dec), media(FIELD(YC)),
    action(FIELD(YD)), boolByte(FIELD(YE)),
    number(FIELD(ZA), 60, Wire::Dec), number(FIELD(ZB), 1, Wire::Dec), media(FIELD(ZC)),
    action(FIELD(ZD)), boolByte(FIELD(ZE)),

    media(FIELD(Qa), 16, "Qa1"), media(FIELD(Qb), 16, "Qb1"),
    action(FIELD(Qc), "Qc1"), action(FIELD(Qd), "Qd1"),
    media(FIELD(Qg)), media(FIELD(Qh)), action(FIELD(Qi)), action(FIELD(Qj)),
    media(FIELD(Qm)), media(FIELD(Qn)), action(FIELD(Qo)), action(FIELD(Qp)),
    media(FIELD(Qs)), media(FIELD(Qt)), action(FIELD(Qu)), action(FIELD(Qv)),

    text(FIELD(O5)), text(FIELD(B1)), notSent(text(FIELD(B2))), notSent(text(FIELD(B3))),
    text(FIELD(B0)),
    text(FIELD(D1)), text(FIELD(D2)), text(FIELD(D3)), text(FIELD(D4)), text(FIELD(D5)),
    text(FIELD(E0), kDefaultServerHost), text(FIELD(E2)),
    number(FIELD(E1), 80, Wire::Dec, kPort), number(FIELD(E3), 0, Wire::Dec, kPort),
    text(FIELD(F0)),
    text(FIELD(G0)), text(FIELD(G1)), text(FIELD(G2)), text(FIELD(G3)), text(FIELD(G4)),
    text(FIELD(G5)),
    text(FIELD(V4)), text(FIELD(V8)), text(FIELD(V9)),
    wholeText(text(FIELD(O3), "SPRXAB27GHKLMn*U!")), wholeText(text(FIELD(ON), "SARY*U!")),

    number(FIELD(K2), 100, Wire::Dec), signedNumber(FIELD(O6), 0, range(-43200, 46800)),
    number(FIELD(C3), 5, Wire::Dec, range(0, 600)), number(FIELD(C2), 60, Wire::Dec, range(10, 120)),
    number(FIELD(C1), 180, Wire::Dec, range(60, 600)),
    number(FIELD(H1), 1, Wire::Dec, kWord), number(FIELD(H2), 30, Wire::Dec, kWord),
    number(FIELD(V5), 120, Wire::Dec, kWord), number(FIELD(Rz), 5, Wire::Dec, kWord),
    number(FIELD(O2), 0, Wire::Dec, kWord), number(FIELD(J9), 11500, Wire::Dec, kWord),
    signedNumber(FIELD(J2), 44, range(40, 45)), signedNumber(FIELD(J3), 1, range(0, 5)),
    signedNumber(FIELD(J4), 79, range(60, 85)), signedNumber(FIELD(J5), -29, range(-40, 0)),
    media(FIELD(H0), 17),
    decodedOnly(FIELD(C4), range(0, std::numeric_limits<int64_t>::max())),
    number(FIELD(E7), 30, Wire::Dec, kWord),
    media(FIELD(J6)), media(FIELD(K3)), media(FIELD(OD)), media(FIELD(SD)), media(FIELD(K4), 32),
    media(FIELD(OO), 32),
    text(FIELD(Oa)),
    media(FIELD(D8)),
    number(FIELD(SA), 0, Wire::Dec), number(FIELD(SB), 0, Wire::Dec),
    number(FIELD(SC), 5, Wire::Dec), number(FIELD(A2), 5, Wire::Dec, kByte),
    boolByte(FIELD(SI)), number(FIELD(SJ), 8320, Wire::Hex4), media(FIELD(SK)), action(FIELD(SL)),
    number(FIELD(Rw), 0, Wire::Dec, kWord), number(FIELD(Rp), 0, Wire::Dec, kWord),
    number(FIELD(C8), 0, Wire::Dec, kWord), number(FIELD(C9), 0, Wire::Dec, kWord),
    number(FIELD(CA), 0, Wire::Dec), number(FIELD(OH), 0, Wire::Dec),
    number(FIELD(H3), 0, Wire::Dec, kByte), number(FIELD(OB), 2, Wire::Dec),
    number(FIELD(OC), 1, Wire::Dec),
    number(FIELD(E4), 0, Wire::Dec, kWord), number(FIELD(Ry), 0, Wire::Dec, kWord),
    number(FIELD(Rx), 0, Wire::Dec, kWord),
    number(FIELD(OS), 30, Wire::Dec, range(1, std::numeric_limits<int64_t>::max())),
    number(FIELD(E5), 60, Wire::Dec, kWord),
    decodedOnly(FIELD(E8), kWord),
    number(FIELD(EA), 2, Wire::Dec, kByte), number(FIELD(F2), 1, Wire::Dec, range(0, 1)),
    action(FIELD(JA)), action(FIELD(JB)), action(FIELD(K6)), action(FIELD(K7)),
    media(FIELD(PC)), action(FIELD(PD)),
    number(FIELD(QE), 0, Wire::Dec), number(FIELD(PA), 0, Wire::Dec),
    number(FIELD(QA), 0, Wire::Dec), number(FIELD(QB), 0, Wire::Dec),
    media(FIELD(QC)), action(FIELD(QD)), media(FIELD(Qz), 0),
    number(FIELD(Ra), 3600, Wire::Dec), number(FIELD(Ri), 30, Wire::Dec),
    media(FIELD(Rb)), media(FIELD(Rj)), action(FIELD(Rc)), action(FIELD(Rk)),
    action(FIELD(SE)), action(FIELD(SF)),
    number(FIELD(Ro), 0, Wire::Dec),
    media(FIELD(Rs)), media(FIELD(Rt)), action(FIELD(Ru)), action(FIELD(Rv)),
    media(FIELD(CC)), action(FIELD(CD)),
    number(FIELD(S0), 115200, Wire::Dec), number(FIELD(S1), 8, Wire::Dec),
    number(FIELD(S2), 0, Wire::Dec), text(FIELD(S3), kNoAction.substr(0, 3)),
    boolByte(FIELD(S4)), media(FIELD(S5)), action(FIELD(S6)),

    {"O7", Storage::Firmware, 0, FirmwareVersion::kTextSize, 0, Wire::None, Decode::Text, kAlways,
     ProfileUse::ReadWrite, "O7", 0, {}, false},
    {"OT", Storage::Hardware, 0, 4, 0, Wire::None, Decode::Int, kAlways, ProfileUse::ReadWrite,
     "OT", 3, {}, false},

    event(0), event(1), event(2), event(3), event(4), event(5), event(6), event(7), event(8),
    event(9), event(10), event(11), event(12), event(13), event(14), event(15), event(16),
    event(17), event(18), event(19), event(20), event(21), event(22), event(23), event(24),
    event(25), event(26), event(27), event(28), event(29), event(30), event(31), event(32),
    event(33), event(34), event(35),
};
// clang-format on

#undef FIELD

static_assert(std::size(kParameters) == kParameterCount);

// Codes are an upper-case letter and a digit or letter: a dense lookup by both characters.
struct CodeIndex {
    std::array<int16_t, 26 * 128> rows{};

    CodeIndex() {
        rows.fill(-1);
        for (std::size_t i = 0; i < std::size(kParameters); ++i) {
            rows[slot(kParameters[i].code)] = static_cast<int16_t>(i);
        }
    }
    static std::size_t slot(std::string_view code) {
        return static_cast<std::size_t>(code[0] - 'A') * 128 + static_cast<unsigned char>(code[1]);
    }
};

const CodeIndex& codeIndex() {
    static const CodeIndex index;
    return index;
}

}  // namespace

std::span<const Parameter> allParameters() {
    return kParameters;
}

const Parameter* findParameter(std::string_view code) {
    if (code.size() != 2 || code[0] < 'A' || code[0] > 'Z' ||
        static_cast<unsigned char>(code[1]) >= 128) {
        return nullptr;
    }
    const int16_t row = codeIndex().rows[CodeIndex::slot(code)];
    return row < 0 ? nullptr : &kParameters[row];
}

const Parameter& parameter(std::string_view code) {
    const Parameter* p = findParameter(code);
    if (p == nullptr) {
        std::abort();  // a code missing from the table is a programming error
    }
    return *p;
}

const Parameter& eventParameter(int row) {
    return kParameters[std::size(kParameters) - EventTexts::kCount + static_cast<std::size_t>(row)];
}

std::string_view defaultEventText(int row) {
    return kEvents[static_cast<std::size_t>(row)].text;
}

}  // namespace qn470
