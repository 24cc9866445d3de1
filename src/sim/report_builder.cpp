// SPDX-License-Identifier: Apache-2.0
#include "sim/report_builder.h"

#include <string_view>

#include "config/command_line.h"
#include "config/parameter_value.h"
#include "config/set_command_encoder.h"
#include "config/wire_value.h"

namespace qn470 {
namespace {

// "KXs,KorvelantQN-470,0,12" is the longest header while a report stays below 100 lines.
constexpr std::size_t kLongestHeader = 24;
// Room for the items: the header, its comma, "*", two checksum digits, "!" and CR LF go off.
constexpr std::size_t kItemRoom = kMaxReportLineLength - kLongestHeader - 1 - 4 - kLineEnd.size();

struct Layout {
    std::vector<const Parameter*> plain;   // every other parameter, in set-line order first
    std::vector<const Parameter*> events;  // the 36 event texts
    std::vector<const Parameter*> closing;
};

bool contains(const std::vector<const Parameter*>& list, const Parameter* p) {
    for (const Parameter* q : list) {
        if (q == p) {
            return true;
        }
    }
    return false;
}

Layout layout() {
    Layout out;
    for (const std::string& code : SetCommandEncoder::blockCodes(kClosingBlock)) {
        out.closing.push_back(&parameter(code));
    }
    for (int block = 0; block < kFirstEventBlock; ++block) {
        for (const std::string& code : SetCommandEncoder::blockCodes(block)) {
            out.plain.push_back(&parameter(code));
        }
    }
    // The codes no set line carries (B2, B3, C4, E8, O7, OT) follow in table order.
    for (const Parameter& p : allParameters()) {
        if (p.storage == Storage::EventText) {
            out.events.push_back(&p);
        } else if (!contains(out.plain, &p) && !contains(out.closing, &p)) {
            out.plain.push_back(&p);
        }
    }
    return out;
}

std::string item(const ParameterSet& set, const Parameter& p) {
    std::string text(p.code);
    text += '=';
    text += reportValue(set, p);
    return text;
}

class LinePacker {
public:
    explicit LinePacker(const ParameterSet& set) : m_set(set) {}

    // Starts a new line when the item does not fit or the line already holds maxPerLine items.
    void add(const Parameter& p, int maxPerLine) {
        std::string text = item(m_set, p);
        if (!m_lines.empty() && !m_lines.back().empty() &&
            (static_cast<int>(m_lines.back().size()) >= maxPerLine ||
             m_length + 1 + text.size() > kItemRoom)) {
            breakLine();
        }
        if (m_lines.empty()) {
            m_lines.emplace_back();
        }
        m_length += (m_lines.back().empty() ? 0 : 1) + text.size();
        m_lines.back().push_back(std::move(text));
    }

    void breakLine() {
        if (m_lines.empty() || !m_lines.back().empty()) {
            m_lines.emplace_back();
            m_length = 0;
        }
    }

    std::vector<std::string> finish() {
        if (!m_lines.empty() && m_lines.back().empty()) {
            m_lines.pop_back();
        }
        std::vector<std::string> out;
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const char mark = i == 0 ? '1' : i + 1 == m_lines.size() ? '2' : '0';
            std::string body(kReportMark);
            body += ',';
            body += kDeviceName;
            body += ',';
            body += mark;
            body += ',';
            body += std::to_string(i);
            for (const std::string& text : m_lines[i]) {
                body += ',';
                body += text;
            }
            out.push_back(frameWithChecksum(body) + std::string(kLineEnd));
        }
        return out;
    }

private:
    const ParameterSet& m_set;
    std::vector<std::vector<std::string>> m_lines;
    std::size_t m_length = 0;
};

}  // namespace

std::string reportValue(const ParameterSet& set, const Parameter& p) {
    if (p.storage != Storage::EventText) {
        return formatWireValue(set, p);
    }
    std::string text = readText(set, p);
    if (text.find(',') == std::string::npos) {
        return text;
    }
    return '"' + text + '"';
}

std::vector<std::string> buildReport(const ParameterSet& set) {
    static const Layout kLayout = layout();
    LinePacker packer(set);
    constexpr int kAny = 1 << 20;
    for (const Parameter* p : kLayout.plain) {
        packer.add(*p, kAny);
    }
    packer.breakLine();
    for (const Parameter* p : kLayout.events) {
        packer.add(*p, kEventTextsPerLine);
    }
    packer.breakLine();
    for (const Parameter* p : kLayout.closing) {
        packer.add(*p, kAny);
    }
    return packer.finish();
}

}  // namespace qn470
