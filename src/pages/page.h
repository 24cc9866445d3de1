// SPDX-License-Identifier: Apache-2.0
#pragma once

// The base of every parameter page. A page exists only while its tab is selected: the view
// creates it, calls openPage(), and before deleting it calls closePage(), which applies the close
// rule (store the values unless this is the first close after a load, or the application is
// shutting down).
//
// Writing a page: derive from CPage, give the constructor a PageSpec (groups and the binding
// table), and override the hooks only for what the table cannot say:
//
//   CGPSPage::CGPSPage(const PageContext& context, QWidget* parent)
//       : CPage(context, kGpsPage, parent) {
//       build(kGpsSpec);
//   }

#include <QWidget>

#include "pages/field_binder.h"
#include "pages/page_context.h"

namespace qn470 {

// Gives a page (and anything it opens) the shared state it works on.
class CSignal {
public:
    explicit CSignal(const PageContext& context) : m_context(context) {}
    virtual ~CSignal() = default;

    const PageContext& context() const { return m_context; }
    ParameterSet& parameters() const { return m_context.parameters; }
    PageRegistry& registry() const { return m_context.registry; }
    Prompter& prompter() const { return m_context.prompter; }

private:
    PageContext m_context;
};

class CPage : public QWidget, public CSignal {
    Q_OBJECT

public:
    CPage(const PageContext& context, int pageIndex, QWidget* parent = nullptr);
    ~CPage() override;

    int pageIndex() const { return m_index; }

    // Window initialisation: becomes the current page in the registry, then onOpen().
    void openPage();

    // The close rule, run once before the page is deleted.
    void closePage();

    // Record -> controls. The table's rows, then afterLoad(). Pages whose PageSpec says so do
    // nothing until the record was filled from a profile or the tracker.
    virtual void LoadValues();

    // Controls -> record. The table's rows, then afterStore(). Says which field was refused, if
    // any; the controls keep what the user typed either way.
    virtual StoreResult StoreValues();

    FieldBinder& binder() { return m_binder; }

protected:
    void build(const PageSpec& pageSpec);

    // What the page does when it opens; the default loads the values.
    virtual void onOpen() { LoadValues(); }
    virtual void afterLoad() {}
    // Also after a refused store: a page decides what of its own part still applies then.
    virtual void afterStore(const StoreResult& /*stored*/) {}

private:
    int m_index;
    FieldBinder m_binder;
    bool m_loadNeedsSource = true;
    bool m_closed = false;
};

}  // namespace qn470
