// SPDX-License-Identifier: Apache-2.0
#include "app/views/parameter_index.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <algorithm>
#include <array>
#include <memory>

#include "config/parameter_table.h"
#include "pages/communication_page.h"
#include "pages/field_binder.h"
#include "pages/page.h"

namespace qn470 {
namespace {

// What a query word matched; lower ranks first.
enum Rank : int { kExactCode, kCodePrefix, kLabel, kHint, kTab, kNoMatch };

// Words that mean the same to the user but not to the labels.
constexpr std::array<std::pair<const char*, const char*>, 4> kSynonyms = {{
    {"server", "host"},
    {"host", "server"},
    {"battery", "bat"},
    {"address", "ip"},
}};

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// "(E1) Host Port number1 :" reads as "(E1) Host Port number1" in a list.
QString listLabel(const FieldBinding& binding) {
    QString text = FieldBinder::shownLabel(binding).simplified();
    while (text.endsWith(QLatin1Char(':'))) {
        text.chop(1);
        text = text.trimmed();
    }
    return text;
}

QStringList wordsOf(const QString& text) {
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            word.append(c.toLower());
        } else if (!word.isEmpty()) {
            words.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty()) {
        words.append(word);
    }
    return words;
}

bool anyStartsWith(const QStringList& words, const QString& prefix) {
    return std::any_of(words.begin(), words.end(),
                       [&prefix](const QString& word) { return word.startsWith(prefix); });
}

// "00Main Bat. lost$+IMEI:..." says "Main Bat. lost": the event before its placeholders.
QString eventDescription(int row) {
    QString text = fromView(defaultEventText(row)).mid(2);
    text.truncate(text.indexOf(QLatin1Char('$')) >= 0 ? text.indexOf(QLatin1Char('$'))
                                                      : text.size());
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':'))) {
        text.chop(1);
    }
    return text;
}

QString groupTitleOf(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            return box->title();
        }
    }
    return {};
}

struct Terms {
    QString code;
    QStringList label;
    QStringList hint;
    QStringList place;  // tab name and group title
};

Rank rankOfWord(const Terms& terms, const QString& word) {
    if (terms.code == word) {
        return kExactCode;
    }
    if (terms.code.startsWith(word)) {
        return kCodePrefix;
    }
    if (anyStartsWith(terms.label, word)) {
        return kLabel;
    }
    if (anyStartsWith(terms.hint, word)) {
        return kHint;
    }
    return anyStartsWith(terms.place, word) ? kTab : kNoMatch;
}

Rank rankWithSynonyms(const Terms& terms, const QString& word) {
    Rank best = rankOfWord(terms, word);
    for (const auto& [said, meant] : kSynonyms) {
        if (word == QLatin1String(said)) {
            // A synonym never beats the word itself on the code.
            best = std::min(best, std::max(kLabel, rankOfWord(terms, QLatin1String(meant))));
        }
    }
    return best;
}

}  // namespace

ParameterIndex::ParameterIndex(AppState& state, const std::vector<PageTab>& tabs)
    : m_state(state), m_tabs(tabs) {}

ParameterIndex::~ParameterIndex() = default;

const std::vector<IndexedParameter>& ParameterIndex::parameters() const {
    if (!m_built) {
        build();
        m_built = true;
    }
    return m_parameters;
}

void ParameterIndex::build() const {
    // The pages are made on a record and registry of their own, and never opened, so the
    // window's record, its registry and its open page see nothing of it.
    ParameterSet scratchParameters;
    PageRegistry scratchRegistry;
    const PageContext context{scratchParameters, scratchRegistry, m_state.prompter,
                              m_state.choices};
    for (std::size_t tab = 0; tab < m_tabs.size(); ++tab) {
        const std::unique_ptr<CPage> page(m_tabs[tab].create(context, nullptr));
        IndexedParameter base;
        base.tab = static_cast<int>(tab);
        base.tabLabel = m_tabs[tab].label;
        // Group by group, each in table order: the order the page shows them in.
        for (const QWidget* widget : page->findChildren<QWidget*>()) {
            bool isId = false;
            const int id = widget->objectName().toInt(&isId);
            const FieldBinding* binding = isId ? page->binder().binding(id) : nullptr;
            if (binding == nullptr || binding->code.empty() || binding->group == kHidden) {
                continue;
            }
            IndexedParameter entry = base;
            entry.controlId = id;
            entry.code = fromView(binding->code);
            entry.label = binding->label != nullptr ? listLabel(*binding) : entry.code;
            entry.hint = FieldBinder::shownHint(*binding);
            entry.group = page->binder().group(binding->group)->title();
            entry.binding = *binding;
            m_parameters.push_back(std::move(entry));
        }
        // The SMS templates share one list and one editor.
        if (qobject_cast<CCommunicationPage*>(page.get()) != nullptr) {
            const QString group = groupTitleOf(
                page->findChild<QWidget*>(QString::number(CCommunicationPage::kTemplateList)));
            for (int row = 0; row < EventTexts::kCount; ++row) {
                IndexedParameter entry = base;
                entry.controlId = CCommunicationPage::kTemplateList;
                entry.code = fromView(eventParameter(row).code);
                entry.label =
                    QCoreApplication::translate("qn470::ParameterIndex", "(%1) SMS template")
                        .arg(entry.code);
                entry.hint = eventDescription(row);
                entry.group = group;
                entry.listItem = row;
                m_parameters.push_back(std::move(entry));
            }
        }
    }
}

const IndexedParameter* ParameterIndex::find(QStringView code) const {
    const std::vector<IndexedParameter>& all = parameters();
    // "Pa" and "PA" are different codes: the exact spelling wins.
    for (const IndexedParameter& p : all) {
        if (p.code == code) {
            return &p;
        }
    }
    for (const IndexedParameter& p : all) {
        if (p.code.compare(code, Qt::CaseInsensitive) == 0) {
            return &p;
        }
    }
    return nullptr;
}

std::vector<const IndexedParameter*> ParameterIndex::search(const QString& query) const {
    const QStringList words = wordsOf(query);
    std::vector<const IndexedParameter*> hits;
    if (words.isEmpty()) {
        return hits;
    }
    struct Hit {
        const IndexedParameter* parameter;
        int worst;
        int sum;
        bool exactSpelling;
    };
    std::vector<Hit> found;
    for (const IndexedParameter& p : parameters()) {
        const Terms terms{p.code.toLower(), wordsOf(p.label), wordsOf(p.hint),
                          wordsOf(p.tabLabel + QLatin1Char(' ') + p.group)};
        int worst = kExactCode;
        int sum = 0;
        for (const QString& word : words) {
            const Rank rank = rankWithSynonyms(terms, word);
            worst = std::max<int>(worst, rank);
            sum += rank;
        }
        if (worst != kNoMatch) {
            found.push_back({&p, worst, sum, p.code == query.trimmed()});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Hit& a, const Hit& b) {
        if (a.worst != b.worst) {
            return a.worst < b.worst;
        }
        if (a.sum != b.sum) {
            return a.sum < b.sum;
        }
        return a.exactSpelling && !b.exactSpelling;
    });
    hits.reserve(found.size());
    for (const Hit& hit : found) {
        hits.push_back(hit.parameter);
    }
    return hits;
}

}  // namespace qn470
