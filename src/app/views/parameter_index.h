// SPDX-License-Identifier: Apache-2.0
#pragma once

// Every parameter the pages show, with the tab it is on, the control that holds it, and the
// label and hint as the page shows them; also the values that live in a list behind one control
// (the SMS templates of Communication) with their item index. Built on first use, by opening
// each page on a scratch record, so neither the record nor the registry notices.
//
//   ParameterIndex index(state, tabs);
//   for (const IndexedParameter* hit : index.search(QStringLiteral("server port"))) { ... }

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "app/page_tabs.h"
#include "pages/field_binding.h"

namespace qn470 {

struct IndexedParameter {
    int tab = 0;
    QString tabLabel;
    int controlId = 0;
    QString code;
    QString label;
    QString hint;
    QString group;      // the title of the group box it sits in
    int listItem = -1;  // values living in a list (SMS templates): the item index
    // The row the page shows it by, so its value can be shown without the page; none for a list
    // item. Its texts and rules are the page tables' static data.
    std::optional<FieldBinding> binding;
};

class ParameterIndex {
public:
    ParameterIndex(AppState& state, const std::vector<PageTab>& tabs);
    ~ParameterIndex();
    ParameterIndex(const ParameterIndex&) = delete;
    ParameterIndex& operator=(const ParameterIndex&) = delete;

    // In tab order, then in the order of each page's table.
    const std::vector<IndexedParameter>& parameters() const;

    // The entry of a code (case-insensitive), or nullptr.
    const IndexedParameter* find(QStringView code) const;

    // Case-insensitive; every word of the query must match the code, the label, the hint, the
    // tab name or the group title. Best first: exact code, code prefix, label, hint, tab name
    // and group.
    std::vector<const IndexedParameter*> search(const QString& query) const;

private:
    void build() const;

    AppState& m_state;
    const std::vector<PageTab>& m_tabs;
    mutable std::vector<IndexedParameter> m_parameters;
    mutable bool m_built = false;
};

}  // namespace qn470
