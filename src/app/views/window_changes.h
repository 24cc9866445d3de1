// SPDX-License-Identifier: Apache-2.0
#pragma once

// What the window knows about its own changes, in one place: the change marks and tab counts,
// the "Changes" and "Compare" buttons in the tab strip's free space with their dialogs, and the
// question before the window closes with unsaved changes.
//
//   WindowChanges changes(state, tabs, *frame, session, files);   // before the default profile
//   frame->setCloseCheck([&] { return changes.mayClose(); });

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "app/app_state.h"
#include "app/page_tabs.h"

class QPushButton;

namespace qn470 {

class CChangesView;
class CCompareView;
class CconfigToolView;
class ChangeTracker;
class DeviceSession;
class FileOperations;
class WindowValues;

class WindowChanges : public QObject {
    Q_OBJECT

public:
    WindowChanges(AppState& state, const std::vector<PageTab>& tabs, CconfigToolView& view,
                  DeviceSession& session, FileOperations& files, QObject* parent = nullptr);
    ~WindowChanges() override;

    // How the window saves to a file ("Save to file"); without it the file operations do.
    void setSaveToFile(std::function<void()> save) { m_saveToFile = std::move(save); }

    // Before the window closes: true when nothing unsaved is left or the user lets it go.
    bool mayClose();

    ChangeTracker& tracker() const { return *m_tracker; }
    WindowValues& values() const { return *m_values; }
    CChangesView* changesView() const;
    CCompareView* compareView() const;
    QPushButton* changesButton() const;
    QPushButton* compareButton() const;

    void showChanges();
    void showCompare();

private:
    void addButtons(CconfigToolView& view);

    AppState& m_state;
    FileOperations& m_files;
    WindowValues* m_values;
    ChangeTracker* m_tracker;
    QPointer<CChangesView> m_changesView;
    QPointer<CCompareView> m_compareView;
    QPointer<QPushButton> m_changesButton;
    QPointer<QPushButton> m_compareButton;
    std::function<void()> m_saveToFile;
};

}  // namespace qn470
