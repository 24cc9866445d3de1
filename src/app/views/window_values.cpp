// SPDX-License-Identifier: Apache-2.0
#include "app/views/window_values.h"

#include <algorithm>
#include <memory>

#include "app/config_tool_view.h"
#include "config/parameter_value.h"
#include "config/wire_value.h"
#include "pages/page.h"

namespace qn470 {
namespace {

const Parameter& parameterOf(const IndexedParameter& p) {
    return parameter(p.code.toStdString());
}

bool sameValue(const ParameterSet& a, const ParameterSet& b, const Parameter& p) {
    return p.isText() ? readText(a, p) == readText(b, p) : readNumber(a, p) == readNumber(b, p);
}

void copyValue(ParameterSet& to, const ParameterSet& from, const Parameter& p) {
    if (p.isText()) {
        writeText(to, p, readText(from, p));
    } else {
        writeNumber(to, p, readNumber(from, p));
    }
}

}  // namespace

WindowValues::WindowValues(AppState& state, const std::vector<PageTab>& tabs, CconfigToolView& view,
                           QObject* parent)
    : QObject(parent), m_state(state), m_tabs(tabs), m_view(view) {}

const std::vector<IndexedParameter>& WindowValues::parameters() const {
    return m_view.parameterIndex().parameters();
}

bool WindowValues::isOnOpenPage(const IndexedParameter& p) const {
    return m_view.currentPage() != nullptr && m_view.currentTab() == p.tab;
}

const FieldBinding* WindowValues::openBinding(const IndexedParameter& p) const {
    if (p.listItem >= 0 || !isOnOpenPage(p)) {
        return nullptr;
    }
    const FieldBinding* b = m_view.currentPage()->binder().binding(p.controlId);
    return b != nullptr && b->conversion != Conversion::None ? b : nullptr;
}

const FieldBinding* WindowValues::anyBinding(const IndexedParameter& p) const {
    return p.binding ? &*p.binding : nullptr;
}

bool WindowValues::differs(const IndexedParameter& p, const ParameterSet& other) const {
    if (const FieldBinding* b = openBinding(p)) {
        return FieldBinder::display(*b, other) != m_view.currentPage()->binder().shown(b->id);
    }
    return !sameValue(m_state.parameters, other, parameterOf(p));
}

QString WindowValues::windowText(const IndexedParameter& p) const {
    if (const FieldBinding* b = openBinding(p)) {
        const FieldDisplay shown = m_view.currentPage()->binder().shown(b->id);
        // A list showing no item keeps the record's value when it stores.
        if (b->control != Control::List || shown.listIndex >= 0) {
            return FieldBinder::displayText(*b, shown);
        }
    }
    return textIn(p, m_state.parameters);
}

QString WindowValues::textIn(const IndexedParameter& p, const ParameterSet& set) const {
    const Parameter& parameter = parameterOf(p);
    if (const FieldBinding* b = anyBinding(p)) {
        const std::optional<FieldDisplay> shown = FieldBinder::display(*b, set);
        // A value no list item has is shown as it is stored.
        if (shown && (b->control != Control::List || shown->listIndex >= 0)) {
            return FieldBinder::displayText(*b, *shown);
        }
    }
    QString text = QString::fromLatin1(formatWireValue(set, parameter, Wire::None));
    // Templates travel inside quotes; their page never shows them.
    if (p.listItem >= 0) {
        text.remove(QLatin1Char('"'));
    }
    return text;
}

bool WindowValues::takeValues(const std::vector<const IndexedParameter*>& chosen,
                              const ParameterSet& source) {
    CPage* page = m_view.currentPage();
    std::vector<int> reloaded;
    bool wholePage = false;
    for (const IndexedParameter* p : chosen) {
        if (!isOnOpenPage(*p)) {
            continue;
        }
        if (openBinding(*p) != nullptr) {
            reloaded.push_back(p->controlId);
        } else {
            wholePage = true;  // only the page's own hooks show it
        }
    }
    if (wholePage) {
        // The page shows the record again: what it shows that is not taken must be in it first,
        // unless every field of the page is taken.
        const bool everyField =
            std::all_of(parameters().begin(), parameters().end(), [&](const IndexedParameter& p) {
                return !isOnOpenPage(p) ||
                       std::find(chosen.begin(), chosen.end(), &p) != chosen.end();
            });
        if (!everyField && !m_view.storeCurrentPage().ok) {
            return false;
        }
    }
    for (const IndexedParameter* p : chosen) {
        copyValue(m_state.parameters, source, parameterOf(*p));
    }
    if (wholePage) {
        m_view.reloadCurrentPage();
    } else if (page != nullptr && !reloaded.empty()) {
        page->binder().loadFields(reloaded);
    }
    emit valuesTaken();
    return true;
}

}  // namespace qn470
