// SPDX-License-Identifier: Apache-2.0
// Characters that would break a text's set line on the tracker are refused while typing, on any
// page: the keystroke is undone and one message names the field.

#include <gtest/gtest.h>

#include "page_fixture.h"
#include "pages/communication_page.h"
#include "pages/main_page.h"

namespace qn470 {
namespace {

struct GuardCase {
    const char* name;
    int id;
    const char* keys;
    const char* text;     // the field's text afterwards
    const char* message;  // empty: none
};

template <typename Page>
class TextGuard : public test::PageFixture<Page> {
protected:
    void expectGuarded(std::initializer_list<GuardCase> cases) {
        this->openActive();
        for (const GuardCase& c : cases) {
            this->prompter.messages.clear();
            this->typeInto(c.id, QString::fromLatin1(c.keys));
            EXPECT_EQ(this->text(c.id), QString::fromLatin1(c.text)) << c.name;
            EXPECT_EQ(this->messages(), test::oneMessage(c.message)) << c.name;
        }
    }
};

using MainPageTextGuard = TextGuard<CMainPage>;
using CommunicationPageTextGuard = TextGuard<CCommunicationPage>;

TEST_F(MainPageTextGuard, RefusesWhatWouldBreakTheSetLine) {
    expectGuarded({
        {"plain text", 1059, "Car 12", "Car 12", ""},
        {"comma", 1059, "ab,c", "abc",
         "(O5)The text holds a comma, which would end the value on the tracker."},
        {"leading quote", 2002, "\"123", "123",
         "(B1)The text starts with a double quote, which the tracker drops."},
        {"framing end", 1004, "a*bc!", "a*bc",
         "(O3)The text holds \"*\" with \"!\" three characters after it, which ends a line on "
         "the tracker."},
        {"report format", 1004, "SPRXAB27GHKLMn*U!", "SPRXAB27GHKLMn*U!", ""},
    });
}

TEST_F(CommunicationPageTextGuard, RefusesWhatWouldBreakTheSetLine) {
    expectGuarded({
        {"host with comma", 2206, "host,x", "hostx",
         "(E0)The text holds a comma, which would end the value on the tracker."},
        {"sms text quote-comma", CCommunicationPage::kTemplateEdit, "a\",b", "a\"b",
         "(BA)The text holds a double quote followed by a comma, which would end the text on the "
         "tracker."},
        // The comma comes before the "$" that makes it legal, so typing lets it through.
        {"sms text dollar comma", CCommunicationPage::kTemplateEdit, "00a$6,$1", "00a$6,$1", ""},
    });
}

}  // namespace
}  // namespace qn470
