// Every number a page shows, held against the tracker's own rule (the decoder's condition and the
// value check): what the tracker holds fills the page without a message and stores back
// unchanged, and what the page takes the tracker takes. Where a page asks for less than the
// tracker takes, the limit is named below with its reason.

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

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

INSTANTIATE_TEST_SUITE_P(Pages, RuleAgreement, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return caseName(info.param.name); });

}  // namespace
}  // namespace qn470
