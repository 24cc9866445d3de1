// SPDX-License-Identifier: Apache-2.0
#include "app/views/window_changes.h"

#include <QPushButton>

#include "app/config_tool_view.h"
#include "app/views/change_tracker.h"
#include "app/views/changes_view.h"
#include "app/views/compare_view.h"
#include "app/views/window_values.h"
#include "session/device_session.h"
#include "session/file_operations.h"

namespace qn470 {

WindowChanges::WindowChanges(AppState& state, const std::vector<PageTab>& tabs,
                             CconfigToolView& view, DeviceSession& session, FileOperations& files,
                             QObject* parent)
    : QObject(parent),
      m_state(state),
      m_files(files),
      m_values(new WindowValues(state, tabs, view, this)),
      m_tracker(new ChangeTracker(*m_values, view, session, files, this)) {
    // The dialogs belong to the window: they close with it and stay above it.
    m_changesView = new CChangesView(*m_tracker, *m_values, view.window());
    m_compareView = new CCompareView(*m_values, session, files, view.window());
    m_changesView->setWindowFlag(Qt::Tool);
    m_compareView->setWindowFlag(Qt::Tool);
    connect(m_changesView, &CChangesView::showParameter, &view, &CconfigToolView::focusParameter);
    connect(m_tracker, &ChangeTracker::changesUpdated, m_compareView, &CCompareView::refresh);
    addButtons(view);
}

WindowChanges::~WindowChanges() = default;

CChangesView* WindowChanges::changesView() const {
    return m_changesView;
}

CCompareView* WindowChanges::compareView() const {
    return m_compareView;
}

QPushButton* WindowChanges::changesButton() const {
    return m_changesButton;
}

QPushButton* WindowChanges::compareButton() const {
    return m_compareButton;
}

void WindowChanges::addButtons(CconfigToolView& view) {
    m_changesButton = new QPushButton(tr("Changes"));
    m_changesButton->setObjectName(QStringLiteral("changesButton"));
    m_changesButton->setAccessibleName(tr("Changes"));
    m_changesButton->setToolTip(tr("Fields that differ from the last state read or saved"));
    m_compareButton = new QPushButton(tr("Compare"));
    m_compareButton->setObjectName(QStringLiteral("compareButton"));
    m_compareButton->setAccessibleName(tr("Compare"));
    m_compareButton->setToolTip(
        tr("The window's values beside the tracker's, a file's or the "
           "defaults"));
    connect(m_changesButton, &QPushButton::clicked, this, &WindowChanges::showChanges);
    connect(m_compareButton, &QPushButton::clicked, this, &WindowChanges::showCompare);
    connect(m_tracker, &ChangeTracker::changesUpdated, m_changesButton, [this] {
        const int count = m_tracker->changedCount();
        m_changesButton->setText(count == 0 ? tr("Changes") : tr("Changes (%1)").arg(count));
        m_changesButton->setAccessibleDescription(tr("%n field(s) changed", nullptr, count));
    });
    view.addToolWidget(m_changesButton);
    view.addToolWidget(m_compareButton);
}

void WindowChanges::showChanges() {
    m_changesView->show();
    m_changesView->raise();
    m_changesView->activateWindow();
}

void WindowChanges::showCompare() {
    m_compareView->show();
    m_compareView->raise();
    m_compareView->activateWindow();
}

bool WindowChanges::mayClose() {
    if (!m_tracker->hasUnsavedChanges()) {
        return true;
    }
    const Prompter::Answer answer = m_state.prompter.message(
        tr("%n field(s) hold changes that were saved neither to a file nor to the tracker.\n"
           "Save them to a file before closing?",
           nullptr, m_tracker->changedCount()),
        tr("Unsaved changes"), Prompter::Buttons::SaveDiscardCancel, Prompter::Icon::Warning);
    switch (answer) {
        case Prompter::Answer::Discard:
            return true;
        case Prompter::Answer::Cancel:
            return false;
        case Prompter::Answer::Ok:
            break;
    }
    if (m_saveToFile) {
        m_saveToFile();
    } else {
        m_files.saveToFile();
    }
    // A cancelled dialog or a failed write leaves the changes unsaved, and the window open.
    return !m_tracker->hasUnsavedChanges();
}

}  // namespace qn470
