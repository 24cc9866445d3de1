// SPDX-License-Identifier: Apache-2.0
// Every number a page shows, held against the tracker's own rule (the decoder's condition and the
// value check): what the tracker holds fills the page without a message and stores back
// unchanged, and what the page takes the tracker takes. Where a page asks for less than the
// tracker takes, the limit is named below with its reason. And what the pages say about their
// fields, held against the parameter texts and against what the fields enforce.

#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "config/parameter_texts.h"
#include "config/value_check.h"
#include "page_fixture.h"
#include "pages/communication_page.h"
#include "pages/counter_page.h"
#include "pages/function_page.h"
#include "pages/gps_page.h"
#include "pages/input_output_page.h"
#include "pages/main_page.h"
#include "pages/motion_sensor_page.h"
#include "pages/security_page.h"
#include "pages/serial_port_page.h"
#include "pages/stopwatch_page.h"
#include "pages/timer_page.h"
#include "support/case_name.h"
#include "support/random_set.h"

namespace qn470 {
namespace {

struct PageKind {
    const char* name;
    std::unique_ptr<CPage> (*make)(const PageContext&);
};

template <typename Page>
std::unique_ptr<CPage> makePage(const PageContext& context) {
    return std::make_unique<Page>(context);
}

const PageKind kPages[] = {
    {"Main", &makePage<CMainPage>},
    {"GPS", &makePage<CGPSPage>},
    {"Communication", &makePage<CCommunicationPage>},
    {"Security", &makePage<CSecurityPage>},
    {"Function", &makePage<CReportPage1>},
    {"Timer", &makePage<CReportPage2>},
    {"Stopwatch", &makePage<CStopwatch>},
    {"Counter", &makePage<CCounter>},
    {"InputOutput", &makePage<CDigital>},
    {"MotionSensor", &makePage<CSensor>},
    {"SerialPort", &makePage<CSerialPort>},
};

// Page limits the tracker does not have. They are asked for only when the field is left, so a
// value the tracker holds still fills the page and stores back.
struct PageLimit {
    std::vector<std::string_view> codes;
    const char* reason;
};

const PageLimit kPageLimits[] = {
    {{"J9"}, "a battery low threshold between 10 and 12 V"},
    {{"W0", "X0", "Y0", "Z0", "W1", "X1", "Y1", "Z1"}, "timer times are seconds of the day"},
    {{"W2", "X2", "Y2", "Z2"}, "a timer reports at least every second"},
    {{"E4"}, "reconnecting after less than a minute on-line would never stay connected"},
    {{"E7", "EA"}, "the connection needs at least two seconds"},
    {{"A2", "H1"}, "0 would wait for no confirmation or send no SMS at all"},
    {{"H2", "V5"}, "shorter SOS intervals and call-in time-outs than the page's least"},
    {{"PA", "K2", "Ro", "Rp", "Rw"}, "distances below what GPS can tell apart"},
    {{"Ra", "Ri", "Rx", "Ry", "WA", "XA", "YA", "ZA"}, "intervals of 1 or 2 seconds"},
};

bool hasPageLimit(std::string_view code) {
    return std::any_of(std::begin(kPageLimits), std::end(kPageLimits), [code](const PageLimit& l) {
        return std::find(l.codes.begin(), l.codes.end(), code) != l.codes.end();
    });
}

// The numbers worth trying for a field: around the tracker's limits, the rules' limits and the
// port rule's values.
std::vector<int64_t> candidates(const Parameter& p, const FieldBinding& b) {
    const NumberRange range = acceptedRange(p);
    std::set<int64_t> out = {-1, 0, 1, 2, 3, 79, 80, 81, 1023, 1024, 86399, 86400, 86401};
    const auto around = [&out](int64_t n) { out.insert({n - 1, n, n + 1}); };
    around(range.min);
    around(range.max);
    for (const NumberRule* rule : {b.typing, b.leaving}) {
        if (rule != nullptr) {
            around(rule->min);
            around(rule->max);
        }
    }
    return {out.begin(), out.end()};
}

bool trackerTakes(const Parameter& p, int64_t n) {
    return !numberProblem(p, n).has_value();
}

bool passes(const NumberRule* rule, const std::string& text) {
    return rule == nullptr || checkNumberText(text, *rule) == CheckResult::Ok;
}

// Typed and left, then stored: every check the page has.
bool pageTakes(const FieldBinding& b, int64_t n) {
    const std::string text = std::to_string(n);
    return passes(b.typing, text) && passes(b.leaving, text) &&
           parseExchangedNumber(text, b.exchange).has_value();
}

bool isNumberEdit(const FieldBinding& b) {
    return b.control == Control::Edit && b.conversion == Conversion::Decimal && !b.code.empty();
}

class RuleAgreement : public ::testing::TestWithParam<PageKind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        registry.setLoadedFromProfile();
    }

    CPage& open() {
        page = GetParam().make(PageContext{set, registry, prompter, choices});
        page->openPage();
        return *page;
    }

    ParameterSet set;
    PageRegistry registry;
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    std::unique_ptr<CPage> page;
};

TEST_P(RuleAgreement, EveryNumberTheTrackerTakesFillsTheFieldAndReadsBack) {
    for (const FieldBinding* b : open().binder().bindings()) {
        if (!isNumberEdit(*b)) {
            continue;
        }
        const Parameter& p = parameter(b->code);
        for (const int64_t n : candidates(p, *b)) {
            if (!trackerTakes(p, n)) {
                continue;
            }
            const std::string text = std::to_string(n);
            EXPECT_TRUE(passes(b->typing, text)) << b->code << "=" << n;
            EXPECT_EQ(parseExchangedNumber(text, b->exchange), n) << b->code << "=" << n;
        }
    }
}

TEST_P(RuleAgreement, EveryNumberThePageTakesTheTrackerTakes) {
    for (const FieldBinding* b : open().binder().bindings()) {
        // A hidden or read-only field only ever holds what was loaded into it.
        if (!isNumberEdit(*b) || b->group == kHidden || b->readOnly) {
            continue;
        }
        const Parameter& p = parameter(b->code);
        bool narrower = false;
        for (const int64_t n : candidates(p, *b)) {
            const bool page = pageTakes(*b, n);
            EXPECT_TRUE(!page || trackerTakes(p, n)) << b->code << "=" << n;
            narrower = narrower || (trackerTakes(p, n) && !page);
        }
        // A limit of the page's own is named above, and a named one is still there.
        EXPECT_EQ(narrower, hasPageLimit(b->code)) << b->code;
    }
}

// Every numeric parameter at the least or the most the tracker takes.
ParameterSet edgeSet(bool most) {
    ParameterSet set;
    loadDefaultProfile(set);
    for (const Parameter& p : allParameters()) {
        if (p.isText() || p.storage == Storage::Hardware || p.profile == ProfileUse::None) {
            continue;
        }
        const NumberRange range = acceptedRange(p);
        writeNumber(set, p, most ? range.max : range.min);
    }
    return set;
}

TEST_P(RuleAgreement, RecordsTheTrackerHoldsFillThePageAndStoreBackUnchanged) {
    std::vector<ParameterSet> sets = {edgeSet(false), edgeSet(true)};
    std::mt19937 random(470);
    for (int i = 0; i < 20; ++i) {
        sets.push_back(randomCheckedSet(random));
    }
    for (std::size_t i = 0; i < sets.size(); ++i) {
        SCOPED_TRACE(i);
        set = sets[i];
        ASSERT_TRUE(checkParameterSet(set).empty()) << describeProblems(checkParameterSet(set));
        prompter.messages.clear();
        const ConfigRecord before = set.record;
        open();
        const StoreResult stored = page->StoreValues();
        EXPECT_TRUE(stored.ok) << stored.field.toStdString();
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messages.front().toStdString();
        EXPECT_TRUE(test::changedBytes(before, set.record).empty());
        page.reset();
    }
}

// Every page, built over the default profile but not opened: its bindings are all these tests
// need.
class AllPages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        for (const PageKind& kind : kPages) {
            pages.push_back(kind.make(PageContext{set, registry, prompter, choices}));
        }
    }

    ParameterSet set;
    PageRegistry registry;
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    std::vector<std::unique_ptr<CPage>> pages;
};

TEST_F(AllPages, EveryShownCodeHasOneRowOfTextsAndEveryRowAParameterAPageBinds) {
    std::map<std::string_view, int> rows;
    for (const ParameterText& t : parameterTexts()) {
        ++rows[t.code];
        EXPECT_NE(findParameter(t.code), nullptr) << t.code;
        // A row pasted under another code shows another parameter's name.
        EXPECT_EQ(t.label.substr(0, t.code.size() + 2), "(" + std::string(t.code) + ")") << t.code;
        // The row builders hand label and hint on as C strings.
        EXPECT_EQ(t.label.data()[t.label.size()], '\0') << t.code;
        EXPECT_TRUE(t.hint.empty() || t.hint.data()[t.hint.size()] == '\0') << t.code;
    }
    std::set<std::string_view> bound;
    for (const auto& page : pages) {
        for (const FieldBinding* b : page->binder().bindings()) {
            if (b->code.empty()) {
                continue;
            }
            bound.insert(b->code);
            if (b->group != kHidden) {
                EXPECT_EQ(rows[b->code], 1) << b->code;
            }
        }
    }
    for (const auto& [code, count] : rows) {
        EXPECT_EQ(count, 1) << code;
        EXPECT_TRUE(bound.count(code) == 1) << code << " is no page's field";
    }
}

// A hint that states a range, "(A ~ B unit, 0=meaning)", with values listed before it as in
// "(0, 80, 1024~ 65535)". 4Giga stands for the 32-bit top.
struct StatedRange {
    std::vector<int64_t> extras;
    int64_t min = 0;
    int64_t max = 0;
    std::string unit;
    bool zeroHasMeaning = false;
};

std::optional<StatedRange> statedRange(std::string_view hint) {
    static const std::regex pattern(
        R"(^\(((?:-?\d+, )*)(-?\d+) *~ *(\d+|4Giga)(?: ([^,)]+))?(?:, (0=)?[^)]*)?\)$)");
    std::cmatch m;
    if (!std::regex_match(hint.data(), hint.data() + hint.size(), m, pattern)) {
        return std::nullopt;
    }
    StatedRange range;
    const std::string extras = m[1];
    for (std::size_t at = 0; at < extras.size(); at = extras.find(", ", at) + 2) {
        range.extras.push_back(std::stoll(extras.substr(at)));
    }
    range.min = std::stoll(m[2]);
    range.max = m[3] == "4Giga" ? int64_t{std::numeric_limits<uint32_t>::max()} : std::stoll(m[3]);
    range.unit = m[4];
    range.zeroHasMeaning = m[5].matched;
    return range;
}

// Hints whose range is not what the field enforces. The texts stay as users know them; the rule
// is the tracker's or the page's, as the tests above hold it.
struct HintException {
    std::string_view code;
    const char* reason;
};
const std::vector<HintException> kHintExceptions = {};

bool isHintException(std::string_view code) {
    return std::any_of(kHintExceptions.begin(), kHintExceptions.end(),
                       [code](const HintException& e) { return e.code == code; });
}

TEST_F(AllPages, ARangeAHintStatesIsTheRangeTheFieldEnforces) {
    std::set<std::string_view> disagreeing;
    for (const auto& page : pages) {
        for (const FieldBinding* b : page->binder().bindings()) {
            if (!isNumberEdit(*b) || b->group == kHidden || b->hint == nullptr) {
                continue;
            }
            const std::optional<StatedRange> stated = statedRange(b->hint);
            // A range the pattern cannot read would escape the check.
            EXPECT_EQ(stated.has_value(),
                      std::string_view(b->hint).find('~') != std::string_view::npos)
                << b->code << " " << b->hint;
            if (!stated) {
                continue;
            }
            const NumberRule* rule = b->leaving != nullptr ? b->leaving : b->typing;
            ASSERT_NE(rule, nullptr) << b->code << " states a range but checks none";
            const auto accepts = [rule](int64_t n) {
                return rule->accepts(n, std::to_string(n).size());
            };
            bool agrees = stated->min == rule->min && stated->max == rule->max &&
                          (!stated->zeroHasMeaning || accepts(0));
            for (const int64_t extra : stated->extras) {
                agrees = agrees && accepts(extra);
            }
            if (!agrees) {
                disagreeing.insert(b->code);
            }
            EXPECT_TRUE(agrees || isHintException(b->code))
                << b->code << " " << b->hint << ": rule " << rule->min << " ~ " << rule->max;
        }
    }
    // An exception whose hint now agrees is stale.
    for (const HintException& e : kHintExceptions) {
        EXPECT_TRUE(disagreeing.count(e.code) == 1) << e.code << " agrees now";
    }
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// Compared without case: the speed hints spell the unit "Km/H".
TEST(ParameterTexts, AUnitAHintNamesIsTheRowsUnit) {
    std::set<std::string> units;
    for (const ParameterText& t : parameterTexts()) {
        if (!t.unit.empty()) {
            units.insert(lowered(t.unit));
        }
    }
    ASSERT_FALSE(units.empty());
    const std::regex word(R"([^ ,()]+)");
    for (const ParameterText& t : parameterTexts()) {
        const std::string hint(t.hint);
        bool named = false;
        for (auto it = std::sregex_iterator(hint.begin(), hint.end(), word);
             it != std::sregex_iterator(); ++it) {
            const std::string w = lowered(it->str());
            if (units.count(w) == 1) {
                named = true;
                EXPECT_EQ(w, lowered(t.unit)) << t.code << " " << t.hint;
            }
        }
        // A range with a unit word names it where the range ends.
        const std::optional<StatedRange> stated = statedRange(t.hint);
        if (stated && !stated->unit.empty()) {
            EXPECT_EQ(lowered(stated->unit), lowered(t.unit)) << t.code << " " << t.hint;
        }
        // A unit no hint names could not be told from the texts the user sees.
        EXPECT_TRUE(named || t.unit.empty()) << t.code;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, RuleAgreement, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return caseName(info.param.name); });

}  // namespace
}  // namespace qn470
