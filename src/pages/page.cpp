// SPDX-License-Identifier: Apache-2.0
#include "pages/page.h"

namespace qn470 {

CPage::CPage(const PageContext& context, int pageIndex, QWidget* parent)
    : QWidget(parent), CSignal(context), m_index(pageIndex), m_binder(*this, context) {}

CPage::~CPage() {
    if (registry().pages[m_index] == this) {
        registry().pages[m_index] = nullptr;
    }
}

void CPage::build(const PageSpec& pageSpec) {
    m_loadNeedsSource = pageSpec.loadNeedsSource;
    m_binder.build(pageSpec);
}

void CPage::openPage() {
    PageRegistry& r = registry();
    r.current.fill(false);
    r.current[m_index] = true;
    r.pages[m_index] = this;
    ++r.openCount[m_index];
    onOpen();
}

void CPage::closePage() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    PageRegistry& r = registry();
    if (r.loaded()) {
        r.lastClosed[m_index] = true;
        bool anotherClosed = false;
        for (int i = 0; i < kPageCount; ++i) {
            anotherClosed = anotherClosed || (i != m_index && r.lastClosed[i]);
        }
        // The first page closed after a load keeps the loaded values untouched.
        if (!r.shuttingDown && anotherClosed) {
            StoreValues();
        }
        for (int i = 0; i < kPageCount; ++i) {
            r.lastClosed[i] = i == m_index;
        }
    } else if (!r.shuttingDown) {
        StoreValues();
    }
    m_binder.close();
}

void CPage::LoadValues() {
    if (m_loadNeedsSource && !registry().loaded()) {
        return;
    }
    m_binder.load();
    afterLoad();
}

StoreResult CPage::StoreValues() {
    const StoreResult stored = m_binder.store();
    afterStore(stored);
    return stored;
}

}  // namespace qn470
