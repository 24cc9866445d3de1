// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which fields of the window hold another value than the reference: the last state read from
// the tracker, or the last profile loaded or saved (the built-in default profile at start),
// whichever came last. Fields of the open page are marked as they are edited; every tab's
// button shows how many of its fields changed.
//
// A successful save to the tracker leaves the reference as it is: the tracker's answer to the
// lines is not read back, so what it holds is not known for sure, and the marks keep showing
// what differs from the last known state. It does count as saved for the close prompt, as long
// as nothing is edited after it.

#include <QObject>
#include <QPointer>
#include <optional>
#include <vector>

#include "app/views/parameter_index.h"
#include "config/parameter_set.h"

namespace qn470 {

class CconfigToolView;
class CPage;
class DeviceSession;
class FileOperations;
class WindowValues;

class ChangeTracker : public QObject {
    Q_OBJECT

public:
    ChangeTracker(WindowValues& values, CconfigToolView& view, DeviceSession& session,
                  FileOperations& files, QObject* parent = nullptr);

    const ParameterSet& reference() const { return m_reference; }

    // The changed parameters in tab order.
    std::vector<const IndexedParameter*> changed() const;
    int changedCount() const;
    int changedOnTab(int tab) const;

    // Changes that went neither into a file nor to the tracker.
    bool hasUnsavedChanges() const;

    // The reference's value goes back into the window without a question.
    void revert(const IndexedParameter& p);
    void revertAll();

    // Judges every field again (after the record changed behind the window's back).
    void refresh();
    // Marks against `reference` until the next load or file takes its own (a journal entry's
    // other state, so opening one state marks what the entry changed).
    void setReference(const ParameterSet& reference);

signals:
    // The marks and counts were judged again.
    void changesUpdated();

private:
    void takeReference();
    void watchOpenPage();
    void refreshOpenPage();
    void judge(bool openPageOnly);
    bool windowShowsReference() const;

    WindowValues& m_values;
    CconfigToolView& m_view;
    DeviceSession& m_session;
    ParameterSet m_reference;
    // What the last successful save sent to the tracker, until the reference changes.
    std::optional<ParameterSet> m_sentToTracker;
    std::vector<char> m_changed;  // per parameter of m_values, in its order
    QPointer<CPage> m_watchedPage;
};

}  // namespace qn470
