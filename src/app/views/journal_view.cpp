// SPDX-License-Identifier: Apache-2.0
#include "app/views/journal_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QSysInfo>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/records/window_journal.h"
#include "app/views/change_tracker.h"
#include "app/views/table_cell.h"
#include "app/views/value_table.h"
#include "app/views/window_values.h"
#include "config/atomic_file.h"
#include "config/default_profile.h"
#include "config/profile.h"
#include "journal/journal_text.h"
#include "journal/tracker_entry.h"
#include "provision/provision_station.h"
#include "provision/station_journal.h"
#include "serial/serial_link.h"
#include "session/device_session.h"
#include "session/file_path.h"
#include "session/prompter.h"

namespace qn470 {
namespace {

std::optional<ParameterSet> storedState(const QByteArray& stored) {
    if (stored.isEmpty()) {
        return std::nullopt;
    }
    ParameterSet set;
    loadDefaultProfile(set);
    if (!readProfileBytes(std::string_view(stored.constData(), stored.size()), set).ok) {
        return std::nullopt;
    }
    return set;
}

QString orDash(const QString& text) {
    return text.isEmpty() ? QStringLiteral("-") : escapeControls(text);
}

}  // namespace

bool entryMatches(const JournalEntry& entry, const QString& words, std::optional<QDate> from,
                  std::optional<QDate> to) {
    const QDate day = entry.time.toLocalTime().date();
    if ((from && day < *from) || (to && day > *to)) {
        return false;
    }
    for (const QString& word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool found = false;
        for (const QString* field : {&entry.imei, &entry.deviceId, &entry.kind, &entry.result}) {
            found = found || field->contains(word, Qt::CaseInsensitive);
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

CJournalView::CJournalView(JournalViewParts parts, QWidget* parent)
    : QDialog(parent), m_parts(std::move(parts)) {
    setObjectName(QStringLiteral("journalView"));
    setWindowTitle(tr("Journal"));
    setModal(false);
    buildControls();
    connect(&m_parts.journal, &WindowJournal::recorded, this, [this] {
        if (isVisible()) {
            reload();
        }
    });
    connect(&m_parts.journal, &WindowJournal::locationChanged, this, [this] {
        showLocation();
        reload();
    });
    showLocation();
}

CJournalView::~CJournalView() = default;

void CJournalView::buildControls() {
    const auto named = [](auto* widget, const char* name, const QString& accessible) {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setAccessibleName(accessible);
        return widget;
    };
    m_location = named(new QLabel(this), "journalLocation", tr("Journal location"));
    m_location->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Stored text is never read as markup: a Device ID "<b>" shows as typed.
    m_location->setTextFormat(Qt::PlainText);
    m_location->setWordWrap(true);
    m_newLocation = named(new QLineEdit(this), "newJournalLocation", tr("New journal location"));
    m_newLocation->setPlaceholderText(tr("sqlite:FILE or postgresql://USER@HOST/DB"));
    m_useLocation = named(new QPushButton(tr("&Use"), this), "useJournalLocation",
                          tr("Use this journal location"));
    m_filter = named(new QLineEdit(this), "journalFilter", tr("Filter entries"));
    m_filter->setPlaceholderText(tr("IMEI, Device ID, kind or result words"));
    m_filter->setClearButtonEnabled(true);
    m_dateRange = named(new QCheckBox(tr("&Dated from"), this), "journalDateRange",
                        tr("Only entries dated within the range"));
    m_from = named(new QDateEdit(QDate::currentDate(), this), "journalFrom", tr("First day"));
    m_to = named(new QDateEdit(QDate::currentDate(), this), "journalTo", tr("Last day"));
    for (QDateEdit* edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setEnabled(false);
    }
    m_entries = named(new QTableWidget(0, kColumnCount, this), "journalEntries",
                      tr("Journal entries, newest first"));
    m_entries->setHorizontalHeaderLabels({tr("Entry"), tr("Time"), tr("Station"), tr("Port"),
                                          tr("IMEI"), tr("Device ID"), tr("Kind"), tr("Result")});
    m_entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_entries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table; the arrow keys move within it.
    m_entries->setTabKeyNavigation(false);
    m_entries->verticalHeader()->hide();
    m_entries->horizontalHeader()->setStretchLastSection(true);
    m_details = named(new QLabel(this), "journalDetails", tr("Entry details"));
    m_details->setWordWrap(true);
    m_details->setTextFormat(Qt::PlainText);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_states = named(new ValueTable(this), "journalStates", tr("Before and after states"));
    m_states->setValueNames(tr("Before"), tr("After"));
    m_onlyDifferences = named(new QCheckBox(tr("&Only differences"), this),
                              "journalOnlyDifferences", tr("Only differences"));
    m_onlyDifferences->setChecked(true);
    m_openBefore = named(new QPushButton(tr("Open &before state"), this), "openBefore",
                         tr("Open before state"));
    m_openBefore->setToolTip(tr("Puts the before state into the pages"));
    m_openAfter =
        named(new QPushButton(tr("Open &after state"), this), "openAfter", tr("Open after state"));
    m_openAfter->setToolTip(tr("Puts the after state into the pages"));
    m_port = named(new QComboBox(this), "restorePort", tr("Tracker port for a restore"));
    m_scan = named(new QPushButton(tr("S&can"), this), "restoreScan", tr("Scan for tracker ports"));
    m_restore = named(new QPushButton(tr("&Restore to tracker..."), this), "restoreToTracker",
                      tr("Restore to tracker"));
    m_restore->setToolTip(
        tr("Writes the before state back to the tracker of the same IMEI on the chosen port"));
    m_export = named(new QPushButton(tr("&Export CSV..."), this), "exportCsv", tr("Export CSV"));
    m_note = named(new QLabel(this), "journalNote", tr("Journal view messages"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* close = named(new QPushButton(tr("Close"), this), "journalClose", tr("Close"));

    auto* locationRow = new QHBoxLayout;
    auto* locationLabel = new QLabel(tr("&Journal:"), this);
    locationLabel->setBuddy(m_newLocation);
    locationRow->addWidget(locationLabel);
    locationRow->addWidget(m_location, 1);
    locationRow->addWidget(m_newLocation, 1);
    locationRow->addWidget(m_useLocation);
    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter, 1);
    filterRow->addWidget(m_dateRange);
    filterRow->addWidget(m_from);
    filterRow->addWidget(new QLabel(tr("to"), this));
    filterRow->addWidget(m_to);
    auto* stateButtons = new QHBoxLayout;
    stateButtons->addWidget(m_onlyDifferences);
    stateButtons->addStretch(1);
    stateButtons->addWidget(m_openBefore);
    stateButtons->addWidget(m_openAfter);
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_details);
    lowerLayout->addWidget(m_states, 1);
    lowerLayout->addLayout(stateButtons);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_entries);
    splitter->addWidget(lower);
    auto* actions = new QHBoxLayout;
    auto* portLabel = new QLabel(tr("&Port:"), this);
    portLabel->setBuddy(m_port);
    actions->addWidget(portLabel);
    actions->addWidget(m_port, 1);
    actions->addWidget(m_scan);
    actions->addWidget(m_restore);
    actions->addStretch(1);
    actions->addWidget(m_export);
    actions->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(locationRow);
    layout->addLayout(filterRow);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_note);
    layout->addLayout(actions);
    resize(900, 640);

    connect(m_useLocation, &QPushButton::clicked, this, &CJournalView::changeLocation);
    connect(m_newLocation, &QLineEdit::returnPressed, this, &CJournalView::changeLocation);
    connect(m_filter, &QLineEdit::textChanged, this, &CJournalView::fillEntries);
    connect(m_dateRange, &QCheckBox::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        m_to->setEnabled(on);
        fillEntries();
    });
    connect(m_from, &QDateEdit::dateChanged, this, &CJournalView::fillEntries);
    connect(m_to, &QDateEdit::dateChanged, this, &CJournalView::fillEntries);
    connect(m_entries, &QTableWidget::itemSelectionChanged, this, &CJournalView::showSelected);
    connect(m_onlyDifferences, &QCheckBox::toggled, this, &CJournalView::showStates);
    connect(m_openBefore, &QPushButton::clicked, this, &CJournalView::openBefore);
    connect(m_openAfter, &QPushButton::clicked, this, &CJournalView::openAfter);
    connect(m_scan, &QPushButton::clicked, this, &CJournalView::scanPorts);
    connect(m_restore, &QPushButton::clicked, this, &CJournalView::restoreToTracker);
    connect(m_export, &QPushButton::clicked, this, &CJournalView::exportCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    showSelected();
}

void CJournalView::showEvent(QShowEvent* event) {
    reload();
    // The newest entry is usually the one wanted: what was just done.
    if (selectedId() == 0 && m_entries->rowCount() > 0) {
        m_entries->selectRow(0);
    }
    scanPorts();
    QDialog::showEvent(event);
}

QString CJournalView::note() const {
    return m_note->text();
}

void CJournalView::setNote(const QString& text) {
    m_note->setText(text);
}

Journal* CJournalView::store() {
    Journal* journal = m_parts.journal.store();
    if (journal == nullptr) {
        setNote(tr("The journal at %1 cannot be opened.")
                    .arg(Journal::shownLocation(m_parts.journal.location())));
    }
    return journal;
}

void CJournalView::showLocation() {
    QString from;
    switch (m_parts.journal.locationSource()) {
        case WindowJournal::LocationSource::Chosen:
            from = tr("chosen here");
            break;
        case WindowJournal::LocationSource::Environment:
            from = tr("from %1").arg(QLatin1String(WindowJournal::kLocationVariable));
            break;
        case WindowJournal::LocationSource::Setting:
            from = tr("from the settings");
            break;
        case WindowJournal::LocationSource::Default:
            from = tr("the default");
            break;
    }
    m_location->setText(QStringLiteral("%1 (%2)").arg(
        escapeControls(Journal::shownLocation(m_parts.journal.location())), from));
}

void CJournalView::changeLocation() {
    const QString location = m_newLocation->text().trimmed();
    if (location.isEmpty()) {
        setNote(tr("Type the journal location to use first."));
        return;
    }
    if (restoring()) {
        setNote(tr("A restore is running; change the journal when it has ended."));
        return;
    }
    QString error;
    if (!m_parts.journal.useLocation(location, &error)) {
        setNote(tr("Kept the journal at %1: %2")
                    .arg(escapeControls(Journal::shownLocation(m_parts.journal.location())),
                         escapeControls(error)));
        return;
    }
    m_newLocation->clear();
    setNote(tr("The window's journal is now %1.")
                .arg(escapeControls(Journal::shownLocation(location))));
}

void CJournalView::reload() {
    const qint64 selected = selectedId();
    m_all.clear();
    if (Journal* journal = store()) {
        QString error;
        m_all = journal->list({}, &error);
        if (!error.isEmpty()) {
            setNote(tr("The journal could not be read: %1").arg(escapeControls(error)));
        }
    }
    fillEntries();
    if (selected > 0) {
        showEntry(selected);
    }
}

void CJournalView::fillEntries() {
    const qint64 selected = selectedId();
    const std::optional<QDate> from =
        m_dateRange->isChecked() ? std::optional<QDate>(m_from->date()) : std::nullopt;
    const std::optional<QDate> to =
        m_dateRange->isChecked() ? std::optional<QDate>(m_to->date()) : std::nullopt;
    m_shown.clear();
    for (auto it = m_all.rbegin(); it != m_all.rend(); ++it) {
        if (entryMatches(*it, m_filter->text(), from, to)) {
            m_shown.push_back(*it);
        }
    }
    const QSignalBlocker quiet(m_entries);
    m_entries->clearSelection();
    m_entries->setRowCount(static_cast<int>(m_shown.size()));
    int selectedRow = -1;
    for (int row = 0; row < static_cast<int>(m_shown.size()); ++row) {
        const JournalEntry& e = m_shown[row];
        const QString cells[kColumnCount] = {
            QString::number(e.id),
            e.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            e.station,
            e.port,
            e.imei,
            e.deviceId,
            e.kind,
            e.result};
        for (int column = 0; column < kColumnCount; ++column) {
            m_entries->setItem(row, column, readOnlyCell(cells[column]));
        }
        if (e.id == selected) {
            selectedRow = row;
        }
    }
    m_entries->resizeColumnsToContents();
    if (selectedRow >= 0) {
        m_entries->selectRow(selectedRow);
    }
    if (selectedRow < 0 && m_selected) {
        showSelected();
    }
}

qint64 CJournalView::selectedId() const {
    const QList<QTableWidgetItem*> items = m_entries->selectedItems();
    if (items.isEmpty()) {
        return 0;
    }
    const int row = items.front()->row();
    return row < static_cast<int>(m_shown.size()) ? m_shown[row].id : 0;
}

bool CJournalView::showEntry(qint64 id) {
    const auto listed = [this, id](const std::vector<JournalEntry>& entries) {
        return std::find_if(entries.begin(), entries.end(),
                            [id](const JournalEntry& e) { return e.id == id; }) != entries.end();
    };
    if (!listed(m_all)) {
        // Written since the view last read the journal, perhaps.
        QString error;
        Journal* journal = m_parts.journal.store();
        m_all = journal != nullptr ? journal->list({}, &error) : std::vector<JournalEntry>();
        if (!listed(m_all)) {
            fillEntries();
            setNote(tr("There is no journal entry %1.").arg(id));
            return false;
        }
    }
    if (!listed(m_shown)) {
        const QSignalBlocker quietFilter(m_filter);
        const QSignalBlocker quietRange(m_dateRange);
        m_filter->clear();
        m_dateRange->setChecked(false);
        m_from->setEnabled(false);
        m_to->setEnabled(false);
    }
    fillEntries();
    for (int row = 0; row < static_cast<int>(m_shown.size()); ++row) {
        if (m_shown[row].id == id) {
            m_entries->selectRow(row);
            m_entries->setCurrentCell(row, kId);
            m_entries->scrollToItem(m_entries->item(row, kId));
            return true;
        }
    }
    return false;
}

void CJournalView::showSelected() {
    const qint64 id = selectedId();
    m_selected.reset();
    m_before.reset();
    m_after.reset();
    if (id > 0) {
        if (Journal* journal = store()) {
            QString error;
            m_selected = journal->entry(id, &error);
            if (!m_selected) {
                setNote(tr("Entry %1 could not be read: %2").arg(id).arg(escapeControls(error)));
            }
        }
    }
    if (!m_selected) {
        m_detailsText = tr("Choose an entry to see what the tracker held before and after.");
    } else {
        const JournalEntry& e = *m_selected;
        m_before = storedState(e.before);
        m_after = storedState(e.after);
        QString text =
            tr("Entry %1: %2 on station %3, port %4, %5 UTC. IMEI %6, Device ID %7, "
               "firmware %8. Result: %9.")
                .arg(QString::number(e.id), orDash(e.kind), orDash(e.station), orDash(e.port),
                     e.time.toUTC().toString(Qt::ISODate), orDash(e.imei), orDash(e.deviceId),
                     orDash(e.firmware), orDash(e.result));
        if (!e.profileName.isEmpty()) {
            text += QLatin1Char(' ') +
                    tr("Profile %1 (SHA-256 %2).")
                        .arg(escapeControls(e.profileName), escapeControls(e.profileSha256));
        }
        if (!e.codesWritten.isEmpty()) {
            text += QLatin1Char(' ') +
                    tr("Codes written: %1.").arg(escapeControls(e.codesWritten.join(' ')));
        }
        const auto missing = [](const QByteArray& stored, const std::optional<ParameterSet>& set) {
            return stored.isEmpty() ? tr("none kept") : !set ? tr("not readable") : QString();
        };
        const QString before = missing(e.before, m_before);
        const QString after = missing(e.after, m_after);
        if (!before.isEmpty()) {
            text += QLatin1Char(' ') + tr("Before state: %1.").arg(before);
        }
        if (!after.isEmpty()) {
            text += QLatin1Char(' ') + tr("After state: %1.").arg(after);
        }
        m_detailsText = text;
    }
    m_openBefore->setEnabled(m_before.has_value());
    m_openAfter->setEnabled(m_after.has_value());
    m_restore->setEnabled(m_selected.has_value() && !restoring());
    showStates();
}

void CJournalView::showStates() {
    std::vector<ValueRow> rows;
    if (m_before || m_after) {
        for (const IndexedParameter& p : m_parts.values.parameters()) {
            ValueRow row{&p,
                         m_before ? m_parts.values.textIn(p, *m_before) : QString(),
                         m_after ? m_parts.values.textIn(p, *m_after) : QString(),
                         false,
                         {}};
            row.differs = m_before && m_after && row.left != row.right;
            rows.push_back(row);
        }
    }
    // With one state there is no difference to show: every value of the one kept.
    const bool both = m_before && m_after;
    const int differing = m_states->fill(rows, both && m_onlyDifferences->isChecked());
    m_details->setText(
        !both ? m_detailsText
        : differing == 0
            ? m_detailsText + QLatin1Char(' ') + tr("Before and after hold the same values.")
            : m_detailsText + QLatin1Char(' ') +
                  tr("%n field(s) differ between before and after.", nullptr, differing));
}

void CJournalView::openBefore() {
    openState(true);
}

void CJournalView::openAfter() {
    openState(false);
}

void CJournalView::openState(bool before) {
    const std::optional<ParameterSet>& state = before ? m_before : m_after;
    if (!m_selected || !state) {
        return;
    }
    DeviceSession& session = m_parts.session;
    if (session.isBusy()) {
        setNote(tr("The window is loading or saving; open the state when that has ended."));
        return;
    }
    // As a profile loads: over a copy of the record, so what no profile holds stays.
    ParameterSet staging = session.parameters();
    const QByteArray& stored = before ? m_selected->before : m_selected->after;
    readProfileBytes(std::string_view(stored.constData(), stored.size()), staging);
    session.replaceRecord(staging, RecordSource::File);
    const std::optional<ParameterSet>& other = before ? m_after : m_before;
    if (other) {
        m_parts.changes.setReference(*other);
    }
    setNote((before ? tr("The pages hold the before state of entry %1; the marks show what "
                         "differs from its after state.")
                    : tr("The pages hold the after state of entry %1; the marks show what "
                         "differs from its before state."))
                .arg(m_selected->id));
}

void CJournalView::scanPorts() {
    const QString chosen = m_port->currentText();
    m_port->clear();
    m_port->addItems(trackerPortNames(m_parts.ports()));
    const int index = m_port->findText(chosen);
    if (index >= 0) {
        m_port->setCurrentIndex(index);
    }
}

void CJournalView::exportCsv() {
    Journal* journal = store();
    if (journal == nullptr) {
        return;
    }
    const QString path =
        m_parts.prompter.saveFileName(tr("Export the journal"), QStringLiteral("journal.csv"),
                                      tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    const QByteArray csv = journal->exportCsv(&error);
    if (!error.isEmpty()) {
        setNote(tr("The journal could not be read: %1").arg(escapeControls(error)));
        return;
    }
    const FileResult written =
        writeFileAtomically(filePath(path), std::string_view(csv.constData(), csv.size()));
    setNote(written.ok ? tr("Exported %n entry(ies) to %1.", nullptr,
                            static_cast<int>(std::count(csv.begin(), csv.end(), '\n')) - 1)
                             .arg(escapeControls(path))
                       : tr("Not exported: %1")
                             .arg(escapeControls(QString::fromLocal8Bit(written.error.c_str()))));
}

void CJournalView::restoreToTracker() {
    if (!m_selected || restoring()) {
        return;
    }
    const PortChoice choice = choosePort(m_port->currentText());
    if (!choice.ok) {
        setNote(tr("Choose the tracker's port first (Scan lists them)."));
        return;
    }
    const QString port = choice.portName;
    const QString held = m_parts.portHeld();
    if (!held.isEmpty() && CSerialLink::systemLocation(held) == CSerialLink::systemLocation(port)) {
        setNote(tr("The command window holds %1 open; press Stop there first, or choose another "
                   "port.")
                    .arg(escapeControls(port)));
        return;
    }
    Journal* journal = store();
    if (journal == nullptr) {
        return;
    }
    m_plan = restoreEntry(*journal, m_selected->id);
    if (m_plan.refused()) {
        setNote(tr("Not restored: %1.").arg(m_plan.refusal));
        return;
    }
    const JournalEntry& e = *m_plan.entry;
    const Prompter::Answer answer = m_parts.prompter.message(
        tr("Write the before state of journal entry %1 (%2 UTC) back to the tracker of IMEI %3 "
           "on %4?\nThe tracker is read first; nothing is written unless it reports that IMEI.")
            .arg(QString::number(e.id), e.time.toUTC().toString(Qt::ISODate), orDash(e.imei),
                 escapeControls(port)),
        tr("Restore to tracker"), Prompter::Buttons::OkCancel, Prompter::Icon::Warning);
    if (answer != Prompter::Answer::Ok) {
        setNote(tr("Nothing restored."));
        return;
    }
    // The tracker's IMEI decides, as for qn470 restore: read it first, then decide, then write.
    ProvisionRequest identify;
    identify.port = port;
    identify.baud = m_parts.baudRate();
    identify.intervalMs = m_parts.intervalMs;
    loadDefaultProfile(identify.profile);
    m_reader = std::make_unique<TrackerProvisioner>(identify);
    connect(m_reader.get(), &TrackerProvisioner::identified, this, [this] { m_reader->stop(); });
    connect(
        m_reader.get(), &TrackerProvisioner::finished, this, [this, port] { identified(port); },
        Qt::QueuedConnection);
    m_restore->setEnabled(false);
    setNote(tr("Reading the tracker on %1...").arg(escapeControls(port)));
    m_reader->start();
}

void CJournalView::identified(const QString& port) {
    const std::unique_ptr<TrackerProvisioner> reader = std::move(m_reader);
    if (!reader->outcome().before) {
        endRestore(tr("Not restored: %1: %2")
                       .arg(escapeControls(port), escapeControls(reader->outcome().resultText())));
        return;
    }
    Journal* journal = store();
    if (journal == nullptr) {
        endRestore(QString());
        return;
    }
    m_plan = planRestore(*journal, std::move(m_plan), *reader->outcome().before, port,
                         QSysInfo::machineHostName());
    if (m_plan.refused()) {
        endRestore(tr("Not restored: %1.").arg(m_plan.refusal));
        return;
    }
    if (m_plan.decision == RestoreDecision::AlreadyHolds) {
        endRestore(tr("The tracker on %1 already holds the before state of %2; nothing written.")
                       .arg(escapeControls(port), m_plan.entryName));
        return;
    }
    writeBack(port);
}

void CJournalView::writeBack(const QString& port) {
    ProvisionRequest request;
    request.port = port;
    request.baud = m_parts.baudRate();
    request.intervalMs = m_parts.intervalMs;
    request.profile = m_plan.target;
    m_station = std::make_unique<ProvisionStation>(request, m_parts.ports);
    m_keeper =
        std::make_unique<StationJournal>(*m_station, *m_parts.journal.store(), EntryKind::kRestore,
                                         [this](const TrackerProvisioner&, JournalEntry& entry) {
                                             setProfile(entry, m_plan.profileName, m_plan.stored);
                                         });
    connect(m_keeper.get(), &StationJournal::trackerJournaled, this,
            [this, port](TrackerProvisioner* tracker, const JournalOutcome& journaled) {
                const ProvisionOutcome& o = tracker->outcome();
                QString text = journaled.verified(o)
                                   ? tr("Restored %1 to the tracker on %2: verified.")
                                         .arg(m_plan.entryName, escapeControls(port))
                                   : tr("The restore of %1 to the tracker on %2 ended: %3.")
                                         .arg(m_plan.entryName, escapeControls(port),
                                              escapeControls(o.resultText()));
                if (!journaled.kept) {
                    text += QLatin1Char(' ') + tr("The journal did not keep its entry: %1")
                                                   .arg(escapeControls(journaled.error));
                }
                // The station goes once its receivers returned.
                QMetaObject::invokeMethod(
                    this, [this, text] { endRestore(text); }, Qt::QueuedConnection);
            });
    QString text = tr("Writing back the before state of %1 to %2...")
                       .arg(m_plan.entryName, escapeControls(port));
    for (const QString& note : m_plan.notes) {
        text += QLatin1Char('\n') + tr("Note: %1").arg(note);
    }
    setNote(text);
    m_station->addPort(port);
}

void CJournalView::endRestore(const QString& text) {
    QStringList lines = m_plan.notes;
    for (QString& line : lines) {
        line = tr("Note: %1").arg(line);
    }
    m_keeper.reset();
    m_station.reset();
    m_reader.reset();
    if (!text.isEmpty()) {
        lines.prepend(text);
        setNote(lines.join(QLatin1Char('\n')));
    }
    reload();
    m_restore->setEnabled(m_selected.has_value());
    emit restoreFinished();
}

}  // namespace qn470
