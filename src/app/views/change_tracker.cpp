// SPDX-License-Identifier: Apache-2.0
#include "app/views/change_tracker.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <cstring>

#include "app/config_tool_view.h"
#include "app/tab_strip.h"
#include "app/views/window_values.h"
#include "pages/page.h"
#include "session/device_session.h"
#include "session/file_operations.h"

namespace qn470 {

ChangeTracker::ChangeTracker(WindowValues& values, CconfigToolView& view, DeviceSession& session,
                             FileOperations& files, QObject* parent)
    : QObject(parent), m_values(values), m_view(view), m_session(session) {
    m_reference = session.parameters();
    connect(&session, &DeviceSession::recordReplaced, this, &ChangeTracker::takeReference);
    connect(&files, &FileOperations::profileWritten, this, &ChangeTracker::takeReference);
    connect(&session, &DeviceSession::operationFinished, this,
            [this](DeviceSession::Operation operation, bool success) {
                if (operation == DeviceSession::Operation::Save && success) {
                    m_sentToTracker = m_session.parameters();
                }
            });
    // After the view's own handler: the new page exists and the old one has stored.
    connect(view.tabStrip(), &CTabStrip::currentChanged, this, [this] {
        watchOpenPage();
        judge(false);
    });
    connect(&values, &WindowValues::valuesTaken, this, &ChangeTracker::refresh);
    watchOpenPage();
}

void ChangeTracker::takeReference() {
    m_reference = m_session.parameters();
    m_sentToTracker.reset();
    judge(false);
}

void ChangeTracker::setReference(const ParameterSet& reference) {
    m_reference = reference;
    m_sentToTracker.reset();
    judge(false);
}

void ChangeTracker::watchOpenPage() {
    CPage* page = m_view.currentPage();
    if (page == m_watchedPage) {
        return;
    }
    m_watchedPage = page;
    if (page == nullptr) {
        return;
    }
    for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::textChanged, this, &ChangeTracker::refreshOpenPage);
    }
    for (QComboBox* list : page->findChildren<QComboBox*>()) {
        connect(list, &QComboBox::currentIndexChanged, this, &ChangeTracker::refreshOpenPage);
    }
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QCheckBox*>(button) != nullptr) {
            connect(button, &QAbstractButton::toggled, this, &ChangeTracker::refreshOpenPage);
        } else {
            // A page's own buttons ("Set", "Submit") write into the record.
            connect(button, &QAbstractButton::clicked, this, &ChangeTracker::refresh);
        }
    }
}

void ChangeTracker::refresh() {
    judge(false);
}

void ChangeTracker::refreshOpenPage() {
    judge(true);
}

bool ChangeTracker::windowShowsReference() const {
    const ParameterSet& record = m_session.parameters();
    if (std::memcmp(&record.record, &m_reference.record, sizeof(ConfigRecord)) != 0 ||
        std::memcmp(&record.eventTexts, &m_reference.eventTexts, sizeof(EventTexts)) != 0 ||
        std::memcmp(&record.firmwareVersion, &m_reference.firmwareVersion,
                    sizeof(FirmwareVersion)) != 0 ||
        record.hardwareOption.value != m_reference.hardwareOption.value) {
        return false;
    }
    CPage* page = m_view.currentPage();
    if (page == nullptr) {
        return true;
    }
    for (const FieldBinding* b : page->binder().bindings()) {
        const std::optional<FieldDisplay> shown = FieldBinder::display(*b, m_reference);
        if (shown && *shown != page->binder().shown(b->id)) {
            return false;
        }
    }
    return true;
}

void ChangeTracker::judge(bool openPageOnly) {
    // Until something was changed the parameter index need not be made, which opens every page.
    if (m_changed.empty() && windowShowsReference()) {
        emit changesUpdated();
        return;
    }
    const std::vector<IndexedParameter>& all = m_values.parameters();
    m_changed.resize(all.size(), 0);
    CPage* page = m_view.currentPage();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const IndexedParameter& p = all[i];
        const bool open = m_values.isOnOpenPage(p);
        if (openPageOnly && !open) {
            continue;
        }
        const bool changed = m_values.differs(p, m_reference);
        m_changed[i] = changed ? 1 : 0;
        if (open && p.listItem < 0) {
            page->binder().setChanged(p.controlId, changed);
        }
    }
    CTabStrip* strip = m_view.tabStrip();
    for (int tab = 0; tab < strip->count(); ++tab) {
        if (!openPageOnly || tab == m_view.currentTab()) {
            strip->setMarkCount(tab, changedOnTab(tab));
        }
    }
    emit changesUpdated();
}

std::vector<const IndexedParameter*> ChangeTracker::changed() const {
    std::vector<const IndexedParameter*> list;
    if (m_changed.empty()) {
        return list;  // nothing judged one by one yet: nothing changed
    }
    const std::vector<IndexedParameter>& all = m_values.parameters();
    for (std::size_t i = 0; i < all.size() && i < m_changed.size(); ++i) {
        if (m_changed[i] != 0) {
            list.push_back(&all[i]);
        }
    }
    return list;
}

int ChangeTracker::changedCount() const {
    return static_cast<int>(std::count(m_changed.begin(), m_changed.end(), char{1}));
}

int ChangeTracker::changedOnTab(int tab) const {
    int count = 0;
    const std::vector<IndexedParameter>& all = m_values.parameters();
    for (std::size_t i = 0; i < all.size() && i < m_changed.size(); ++i) {
        count += all[i].tab == tab && m_changed[i] != 0 ? 1 : 0;
    }
    return count;
}

bool ChangeTracker::hasUnsavedChanges() const {
    if (changedCount() == 0) {
        return false;
    }
    if (!m_sentToTracker) {
        return true;
    }
    const std::vector<IndexedParameter>& all = m_values.parameters();
    return std::any_of(all.begin(), all.end(), [this](const IndexedParameter& p) {
        return m_values.differs(p, *m_sentToTracker);
    });
}

void ChangeTracker::revert(const IndexedParameter& p) {
    m_values.takeValues({&p}, m_reference);
}

void ChangeTracker::revertAll() {
    std::vector<const IndexedParameter*> every;
    for (const IndexedParameter& p : m_values.parameters()) {
        every.push_back(&p);
    }
    m_values.takeValues(every, m_reference);
}

}  // namespace qn470
