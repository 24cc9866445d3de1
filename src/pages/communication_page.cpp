// SPDX-License-Identifier: Apache-2.0
#include "pages/communication_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "config/parameter_value.h"
#include "pages/field_binding.h"
#include "pages/text_guard.h"

namespace qn470 {
namespace {

enum Group { kGprs, kAck, kSms };

// The longest labels wrap so the three groups fit the window's width.
constexpr GroupSpec kGroups[] = {
    {.title = "GPRS", .column = 0, .labelChars = 48},
    {.title = "ACK", .column = 1, .labelChars = 32},
    {.title = "SMS", .column = 1},
};

constexpr ListItem kGprsModes[] = {{"TCP", 2}, {"UDP", 4}, {"HTTP", 16}};

// A port the tracker can use: 0 (none), 80, or one above the well-known range.
const NumberRule kE1Leaving = trackerRule("E1");
NumberRule portTyping() {
    NumberRule rule = whileTyping(kE1Leaving);
    rule.shownMin = 0;  // a port too big for the field: the message names the field's range
    return rule;
}
const NumberRule kE1Typing = portTyping();

// The page's own least values, asked for when the field is left; the tracker takes any.
const LeavingRules kE4 = checkedOnLeaving(pageRule("E4", 60, true));  // 0 switches it off
const NumberRule kE5Typing = trackerRule("E5");
const LeavingRules kE7 = checkedOnLeaving(pageRule("E7", 2));
const LeavingRules kEA = checkedOnLeaving(pageRule("EA", 2));
const LeavingRules kA2 = checkedOnLeaving(pageRule("A2", 1));

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    textField(2201, "D1", kGprs),
    textField(2202, "D2", kGprs),
    textField(2203, "D3", kGprs),
    textField(2204, "D4", kGprs),
    textField(2205, "D5", kGprs),
    // A mode without an item shows no item, so a store keeps it rather than writing another.
    listField(1038, "D8", kGprs, kGprsModes),
    textField(2206, "E0", kGprs),
    numberField(2207, "E1", kGprs, Exchange::Unsigned, &kE1Typing, &kE1Leaving),
    hiddenField(textField(2208, "E2", kHidden)),
    hiddenField(numberField(2209, "E3", kHidden, Exchange::Unsigned)),
    numberField(2212, "E4", kGprs, Exchange::Unsigned, &kE4.typing, &kE4.leaving),
    numberField(2213, "E5", kGprs, Exchange::Unsigned, &kE5Typing),
    checkField(1126, "E6", kGprs),
    numberField(2214, "E7", kGprs, Exchange::Unsigned, &kE7.typing, &kE7.leaving),
    numberField(2215, "EA", kGprs, Exchange::Unsigned, &kEA.typing, &kEA.leaving),
    textField(2210, "F0", kSms),
    checkField(1072, "F2", kSms),
    checkField(1067, "A0", kAck),
    checkField(1068, "A1", kAck),
    numberField(1012, "A2", kAck, Exchange::Unsigned, &kA2.typing, &kA2.leaving),
    checkField(1069, "A3", kAck),
    checkField(1070, "A4", kAck),
    checkField(1071, "A5", kAck),
    hiddenField(checkField(1125, "OR", kHidden)),
};

QString withoutQuotes(QString text) {
    return text.remove(QLatin1Char('"'));
}

}  // namespace

CCommunicationPage::CCommunicationPage(const PageContext& context, QWidget* parent)
    : CPage(context, kCommunicationPage, parent) {
    build(PageSpec{kGroups, kFields, true});

    auto* editor = new QWidget(this);
    auto* row = new QHBoxLayout(editor);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    m_templateList = new QComboBox(editor);
    m_templateList->setObjectName(QString::number(kTemplateList));
    m_templateList->setAccessibleName(tr("SMS format"));
    for (int i = 0; i < EventTexts::kCount; ++i) {
        const std::string_view code = eventParameter(i).code;
        m_templateList->addItem(QString::fromLatin1(code.data(), static_cast<int>(code.size())));
    }
    m_templateEdit = new QLineEdit(editor);
    m_templateEdit->setObjectName(QString::number(kTemplateEdit));
    m_templateEdit->setMinimumWidth(m_templateEdit->fontMetrics().averageCharWidth() * 40);
    m_set = new QPushButton(tr("Set"), editor);
    m_set->setObjectName(QString::number(kSet));
    row->addWidget(m_templateList);
    row->addWidget(m_templateEdit, 1);
    row->addWidget(m_set);
    binder().addToGroup(kSms, editor);
    QWidget::setTabOrder(binder().checkBox(1072), m_templateList);
    QWidget::setTabOrder(m_templateList, m_templateEdit);
    QWidget::setTabOrder(m_templateEdit, m_set);

    guardTextCharacters(*m_templateEdit, prompter(), [this]() -> const Parameter* {
        const int index = m_templateList->currentIndex();
        return index >= 0 && index < EventTexts::kCount ? &eventParameter(index) : nullptr;
    });
    connect(m_templateList, &QComboBox::currentIndexChanged, this,
            &CCommunicationPage::showTemplate);
    connect(m_set, &QPushButton::clicked, this, &CCommunicationPage::setTemplate);
}

void CCommunicationPage::onOpen() {
    // The templates are the record's like every other value: the built-in ones come with the
    // default profile, so opening the page never overwrites what a file or the tracker brought.
    showFirstTemplate();
    LoadValues();
}

void CCommunicationPage::afterLoad() {
    showFirstTemplate();
}

void CCommunicationPage::afterStore(const StoreResult& stored) {
    // After a refused store the user goes on editing: the template being typed stays shown.
    if (stored.ok) {
        showFirstTemplate();
    }
}

void CCommunicationPage::showFirstTemplate() {
    // Selecting the item it already shows does not signal, so the text is shown here.
    const QSignalBlocker quiet(m_templateList);
    m_templateList->setCurrentIndex(0);
    showTemplate(0);
}

void CCommunicationPage::showTemplate(int index) {
    if (index < 0 || index >= EventTexts::kCount) {
        return;
    }
    // Templates travel inside double quotes, so a quote is never shown or stored.
    m_templateEdit->setText(withoutQuotes(QString::fromLatin1(parameters().eventTexts.row(index))));
    m_templateEdit->setCursorPosition(0);  // a template reads from its start
}

void CCommunicationPage::setTemplate() {
    const int index = m_templateList->currentIndex();
    if (index < 0 || index >= EventTexts::kCount) {
        return;
    }
    const QByteArray bytes = withoutQuotes(m_templateEdit->text()).toLatin1().left(kTemplateChars);
    writeText(parameters(), eventParameter(index), std::string_view(bytes.data(), bytes.size()));
}

}  // namespace qn470
