// SPDX-License-Identifier: Apache-2.0
#include "config/set_command_encoder.h"

#include <algorithm>
#include <cstring>

#include <string_view>

#include "config/command_line.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/report_decoder.h"
#include "config/wire_value.h"

namespace qn470 {
namespace {

// The parameter blocks; each entry lists two-character codes in their fixed order. Blocks 35 to 69
// carry one event message text each; block 70 closes the series.
constexpr std::string_view kBlocks[] = {
    /* 0 */ "A0 A1 A2 A3 A4 A5 B0 B1",
    /* 1 */ "C1 C2 C3 C5 C7 C8 C9 CA CB CC CD",
    /* 2 */ "D1 D2",
    /* 3 */ "D3 D4",
    /* 4 */ "D5 D8",
    /* 5 */ "E0 E1 E2 E3 E4 E5 E6 E7 EA F0 F2",
    /* 6 */ "G0 G1 G2",
    /* 7 */ "G3 G4 G5",
    /* 8 */ "H0 H1 H2 H3 V0 V4 V5 V6 V8 V9",
    /* 9 */ "K0 K1 K2 K3 K4 K6 K7",
    /* 10 */ "J2 J3 J4 J5 J6 J9 JA JB",
    /* 11 */ "O2 O3",
    /* 12 */ "O5 O6 O8 OB OC OD",
    /* 13 */ "OG OH SA SB SD ON OO Oa SC OR OS SE SF",
    /* 14 */ "SI SJ SK SL S0 S1 S2 S3 S5 S6 PA PC PD PE",
    /* 15 */ "Ra Rb Rc Rd Re Rf Ri Rj Rk Rl Rn Ro Rp",
    /* 16 */ "Rs Rt Ru Rv Rw Rx Ry Rz",
    /* 17 */ "T0 T1 T2 T3",
    /* 18 */ "U0 U1 U2",
    /* 19 */ "QA QB QC QD QE",
    /* 20 */ "Qa Qb Qc Qd",
    /* 21 */ "Qg Qh Qi Qj",
    /* 22 */ "Qm Qn Qo Qp",
    /* 23 */ "Qs Qt Qu Qv Qz",
    /* 24 */ "Pa Pb Pc Pd",
    /* 25 */ "Pg Ph Pi Pj",
    /* 26 */ "Pm Pn Po Pp",
    /* 27 */ "Ps Pt Pu Pv",
    /* 28 */ "WA WB WC WD WE",
    /* 29 */ "XA XB XC XD XE",
    /* 30 */ "YA YB YC YD YE",
    /* 31 */ "ZA ZB ZC ZD ZE",
    /* 32 */ "W0 W1 W2 W3 W4 W5",
    /* 33 */ "X0 X1 X2 X3 X4 X5",
    /* 34 */ "Y0 Y1 Y2 Y3 Y4 Y5",
};
constexpr std::string_view kClosingCodes = "Z0 Z1 Z2 Z3 Z4 Z5 S4";

// Event message rows ride in blocks 35 + row. The last row (Bk) would be numbered 70, which is
// the closing line's number, so the closing line takes its place and Bk is not sent; the tracker
// reports it and profiles keep it.

std::string_view codesOf(int block) {
    if (block >= 0 && block < kFirstEventBlock) {
        return kBlocks[block];
    }
    if (block == kClosingBlock) {
        return kClosingCodes;
    }
    return {};
}

// Changes a value so that the decoder must write it for it to come back.
void perturb(ParameterSet& probe, const Parameter& p) {
    if (p.isText()) {
        std::string text = readText(probe, p);
        if (text.empty()) {
            text = "x";
        } else {
            text[0] = text[0] == 'x' ? 'y' : 'x';
        }
        writeText(probe, p, text);
    } else {
        writeNumber(probe, p, readNumber(probe, p) ^ 1);
    }
}

bool sameValue(const ParameterSet& a, const ParameterSet& b, const Parameter& p) {
    return p.isText() ? readText(a, p) == readText(b, p) : readNumber(a, p) == readNumber(b, p);
}

bool sameBytes(const ParameterSet& a, const ParameterSet& b) {
    return std::memcmp(&a.record, &b.record, sizeof a.record) == 0 &&
           std::memcmp(&a.eventTexts, &b.eventTexts, sizeof a.eventTexts) == 0 &&
           std::memcmp(&a.firmwareVersion, &b.firmwareVersion, sizeof a.firmwareVersion) == 0 &&
           a.hardwareOption.value == b.hardwareOption.value;
}

// Decodes a built line as the tracker would, into a probe whose values of the line's codes were
// changed first; the line is faithful when the probe then equals the set again. `probe` equals
// `set` before and after.
void checkDecodesBack(const ParameterSet& set, ParameterSet& probe, int block,
                      const std::vector<const Parameter*>& items, const std::string& line,
                      SetCommandTable& table) {
    for (const Parameter* p : items) {
        if (p->decode != Decode::None) {
            perturb(probe, *p);
        }
    }
    std::string report = line;
    report.replace(0, kSetHeader.size(), kReportMark);
    ReportDecoder{}.decode(report, probe);
    if (sameBytes(probe, set)) {
        return;
    }
    UnfaithfulLine unfaithful{block, {}};
    for (const Parameter& p : allParameters()) {
        if (!sameValue(probe, set, p)) {
            unfaithful.codes.emplace_back(p.code);
        }
    }
    probe = set;
    if (!unfaithful.codes.empty()) {
        table.unfaithful.push_back(std::move(unfaithful));
    }
}

void encodeLine(const ParameterSet& set, ParameterSet& probe, int block,
                const std::vector<const Parameter*>& items, SetCommandTable& table) {
    const SequenceMark mark = block == 0               ? SequenceMark::First
                              : block == kClosingBlock ? SequenceMark::Closing
                                                       : SequenceMark::Middle;
    std::string line = setLinePrefix(mark, block);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += items[i]->code;
        line += '=';
        line += formatWireValue(set, *items[i]);
    }
    line += kSetLineEnd;

    LineSlot& slot = table.lines[static_cast<std::size_t>(block)];
    if (line.size() <= kMaxSetLineLength) {
        checkDecodesBack(set, probe, block, items, line, table);
        slot.line = std::move(line);
        return;
    }
    slot.line.clear();
    OverlongLine overlong{block, line.size(), {}};
    for (const Parameter* p : items) {
        if (p->isText()) {
            overlong.textCodes.emplace_back(p->code);
        }
    }
    table.overlong.push_back(std::move(overlong));
}

}  // namespace

std::vector<std::string> SetCommandEncoder::blockCodes(int block) {
    std::vector<std::string> codes;
    if (block >= kFirstEventBlock && block < kClosingBlock) {
        codes.emplace_back(eventParameter(block - kFirstEventBlock).code);
        return codes;
    }
    const std::string_view list = codesOf(block);
    for (std::size_t at = 0; at + 1 < list.size(); at += 3) {
        codes.emplace_back(list.substr(at, 2));
    }
    return codes;
}

void SetCommandEncoder::encode(const ParameterSet& set, SetCommandTable& table) {
    for (LineSlot& slot : table.lines) {
        slot.line.clear();
    }
    table.overlong.clear();
    table.unfaithful.clear();
    ParameterSet probe = set;
    std::vector<const Parameter*> items;
    for (int block = 0; block < kEncodedBlockCount; ++block) {
        items.clear();
        for (const std::string& code : blockCodes(block)) {
            items.push_back(&parameter(code));
        }
        encodeLine(set, probe, block, items, table);
    }
}

SetCommandTable SetCommandEncoder::encode(const ParameterSet& set) {
    SetCommandTable table;
    encode(set, table);
    return table;
}

std::string SetCommandTable::describeOverlong() const {
    std::string text;
    for (const OverlongLine& line : overlong) {
        if (!text.empty()) {
            text += "; ";
        }
        text += "block " + std::to_string(line.block) + " (";
        for (std::size_t i = 0; i < line.textCodes.size(); ++i) {
            text += (i > 0 ? ", " : "") + line.textCodes[i];
        }
        text += "): " + std::to_string(line.length) + " characters, at most " +
                std::to_string(kMaxSetLineLength);
    }
    return text;
}

std::string SetCommandTable::describeUnfaithful() const {
    std::string text;
    for (const UnfaithfulLine& line : unfaithful) {
        if (!text.empty()) {
            text += "; ";
        }
        text += "block " + std::to_string(line.block) + " (";
        for (std::size_t i = 0; i < line.codes.size(); ++i) {
            text += (i > 0 ? ", " : "") + line.codes[i];
        }
        text += ")";
    }
    return text;
}

std::vector<std::string> SetCommandTable::unfaithfulCodes() const {
    std::vector<std::string> codes;
    for (const UnfaithfulLine& line : unfaithful) {
        for (const std::string& code : line.codes) {
            if (std::find(codes.begin(), codes.end(), code) == codes.end()) {
                codes.push_back(code);
            }
        }
    }
    return codes;
}

}  // namespace qn470
