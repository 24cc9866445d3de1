// SPDX-License-Identifier: Apache-2.0
#pragma once

// The values the window holds now, one per parameter the pages show: for the open page what its
// controls show (typed but not yet stored), for the other pages the record, which they stored
// into when they closed. The Changes and Compare views and the change marks all compare through
// here, so a value is judged and shown the same way everywhere: as its page shows it.
//
//   WindowValues values(state, tabs, view);
//   if (values.differs(p, reference)) { ... values.windowText(p) ... values.textIn(p, reference) }
//   values.takeValues({&p}, reference);   // the reference's value back into the window

#include <QObject>
#include <QString>
#include <map>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/page_tabs.h"
#include "app/views/parameter_index.h"

namespace qn470 {

class CconfigToolView;

class WindowValues : public QObject {
    Q_OBJECT

public:
    WindowValues(AppState& state, const std::vector<PageTab>& tabs, CconfigToolView& view,
                 QObject* parent = nullptr);

    // In tab order, as the parameter index lists them.
    const std::vector<IndexedParameter>& parameters() const;

    // Whether the window shows another value for p than `other` holds.
    bool differs(const IndexedParameter& p, const ParameterSet& other) const;
    // The value as the window shows it now, and as it would show the value `set` holds.
    QString windowText(const IndexedParameter& p) const;
    QString textIn(const IndexedParameter& p, const ParameterSet& set) const;

    // Writes the values of `chosen` that `source` holds into the record, and the open page shows
    // them; the open page's other fields keep what they show. False (nothing written) when the
    // open page had to store first and refused a field.
    bool takeValues(const std::vector<const IndexedParameter*>& chosen, const ParameterSet& source);

    bool isOnOpenPage(const IndexedParameter& p) const;

signals:
    // takeValues() changed the record.
    void valuesTaken();

private:
    // The binding of p's control when the open page shows p and loads it through its table.
    const FieldBinding* openBinding(const IndexedParameter& p) const;
    // The binding of p's control on whichever page it is.
    const FieldBinding* anyBinding(const IndexedParameter& p) const;

    AppState& m_state;
    const std::vector<PageTab>& m_tabs;
    CconfigToolView& m_view;
};

}  // namespace qn470
