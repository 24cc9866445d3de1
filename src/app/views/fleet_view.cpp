// SPDX-License-Identifier: Apache-2.0
#include "app/views/fleet_view.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "config/atomic_file.h"
#include "config/default_profile.h"
#include "config/profile.h"
#include "journal/journal.h"
#include "journal/journal_text.h"
#include "journal/tracker_entry.h"
#include "provision/fleet_profiles.h"
#include "provision/provision_station.h"
#include "provision/station_journal.h"
#include "session/file_path.h"
#include "session/prompter.h"

namespace qn470 {
namespace {

QColor outcomeColour(CFleetView::Outcome outcome) {
    using Outcome = CFleetView::Outcome;
    switch (outcome) {
        case Outcome::Verified:
            return {198, 239, 206};
        case Outcome::Differs:
            return {255, 235, 156};
        case Outcome::Failed:
        case Outcome::Stopped:
        case Outcome::Refused:
            return {255, 199, 206};
        case Outcome::None:
        case Outcome::Running:
            break;
    }
    return {};
}

QString joined(const std::vector<std::string>& codes) {
    QStringList list;
    for (const std::string& code : codes) {
        list.append(QString::fromStdString(code));
    }
    return list.join(QLatin1Char(' '));
}

template <typename Widget>
Widget* named(Widget* widget, const QString& objectName, const QString& accessibleName) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    return widget;
}

}  // namespace

struct CFleetView::Row {
    QString port;
    bool present = true;
    bool held = false;                      // by the command window
    TrackerProvisioner* tracker = nullptr;  // while one runs here
    QString imei;
    QString deviceId;
    QString step;
    int progress = 0;
    int maximum = 1;
    Outcome outcome = Outcome::None;
    QString result;
    qint64 entryId = -1;
    qint64 elapsedMs = -1;
    bool halfWritten = false;
    QProgressBar* bar = nullptr;  // the table's
};

CFleetView::CFleetView(FleetViewContext context, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(std::move(context)) {
    setObjectName(QStringLiteral("fleetView"));
    setWindowTitle(tr("Fleet"));
    setAccessibleName(tr("Fleet"));
    buildControls();
    connect(&m_portLook, &QTimer::timeout, this, &CFleetView::lookAtPorts);
    lookAtPorts();
    showButtons();
    showSummary();
}

CFleetView::~CFleetView() {
    // The keeper and the station go first; their trackers' signals reach no row after this.
    m_keeper.reset();
    m_station.reset();
}

void CFleetView::buildControls() {
    m_profile = named(new QLineEdit(this), QStringLiteral("fleetProfile"), tr("Profile file"));
    m_profile->setPlaceholderText(tr("the window's values"));
    m_values = named(new QLineEdit(this), QStringLiteral("fleetValues"), tr("Values table"));
    m_values->setPlaceholderText(tr("none: every tracker gets the profile"));
    m_valuesOptional =
        named(new QCheckBox(tr("Trackers without a row get the profile as it is"), this),
              QStringLiteral("fleetValuesOptional"), tr("Trackers without a row"));
    m_keep = named(new QLineEdit(this), QStringLiteral("fleetKeep"), tr("Keep codes"));
    m_keep->setPlaceholderText(tr("codes each tracker keeps, e.g. O5"));
    m_changedOnly = named(new QCheckBox(tr("Changed lines only"), this),
                          QStringLiteral("fleetChangedOnly"), tr("Changed lines only"));
    m_watch = named(new QCheckBox(tr("Provision each tracker as it is plugged in"), this),
                    QStringLiteral("fleetWatch"), tr("Provision each tracker as it is plugged in"));

    const auto fileRow = [this](QLineEdit* edit, const QString& what, const QString& caption,
                                const QString& filter) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        auto* browseButton =
            named(new QPushButton(tr("Browse..."), this),
                  edit->objectName() + QStringLiteral("Browse"), tr("Browse for the %1").arg(what));
        connect(browseButton, &QPushButton::clicked, this,
                [this, edit, caption, filter] { browse(edit, caption, filter); });
        row->addWidget(browseButton);
        return row;
    };
    auto* form = new QFormLayout;
    auto* profileLabel = new QLabel(tr("&Profile:"), this);
    profileLabel->setBuddy(m_profile);
    form->addRow(profileLabel, fileRow(m_profile, tr("profile"), tr("Profile"),
                                       tr("Profile (*.pro);;All files (*)")));
    auto* valuesLabel = new QLabel(tr("&Values table:"), this);
    valuesLabel->setBuddy(m_values);
    form->addRow(valuesLabel, fileRow(m_values, tr("values table"), tr("Values table"),
                                      tr("CSV table (*.csv);;All files (*)")));
    form->addRow(QString(), m_valuesOptional);
    auto* keepLabel = new QLabel(tr("&Keep:"), this);
    keepLabel->setBuddy(m_keep);
    form->addRow(keepLabel, m_keep);
    form->addRow(QString(), m_changedOnly);
    form->addRow(QString(), m_watch);

    m_problems = named(new QPlainTextEdit(this), QStringLiteral("fleetProblems"), tr("Problems"));
    m_problems->setReadOnly(true);
    m_problems->setMaximumHeight(90);
    m_problems->hide();
    m_message = named(new QLabel(this), QStringLiteral("fleetMessage"), tr("Message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_table = named(new QTableWidget(0, kColumnCount, this), QStringLiteral("fleetTable"),
                    tr("Trackers"));
    m_table->setHorizontalHeaderLabels({tr("Port"), tr("IMEI"), tr("Device ID"), tr("Step"),
                                        tr("Progress"), tr("Result"), tr("Time")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table; the arrow keys move within it.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(kResult, QHeaderView::Stretch);
    // An IMEI, a Device ID and a port name are read whole or not at all.
    for (const Column column : {kPort, kImei, kDeviceId}) {
        m_table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &CFleetView::showButtons);
    // Enter or a double click on a row: its entry in the journal.
    connect(m_table, &QTableWidget::activated, this, [this] { showSelectedInJournal(); });
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QTableWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (const int index = m_table->rowAt(at.y()); index >= 0) {
            m_table->selectRow(index);
            QMenu menu(this);
            menu.addAction(m_retry->text(), this, &CFleetView::retrySelected)
                ->setEnabled(m_retry->isEnabled());
            menu.addAction(m_showEntry->text(), this, &CFleetView::showSelectedInJournal)
                ->setEnabled(m_showEntry->isEnabled());
            menu.exec(m_table->viewport()->mapToGlobal(at));
        }
    });

    m_start = named(new QPushButton(tr("&Start"), this), QStringLiteral("fleetStart"), tr("Start"));
    m_stop = named(new QPushButton(tr("S&top"), this), QStringLiteral("fleetStop"), tr("Stop"));
    m_retry = named(new QPushButton(tr("&Retry"), this), QStringLiteral("fleetRetry"),
                    tr("Retry the selected tracker"));
    m_showEntry =
        named(new QPushButton(tr("Show in &journal"), this), QStringLiteral("fleetShowInJournal"),
              tr("Show the selected tracker in the journal"));
    connect(m_start, &QPushButton::clicked, this, [this] { start(); });
    connect(m_stop, &QPushButton::clicked, this, &CFleetView::stop);
    connect(m_retry, &QPushButton::clicked, this, &CFleetView::retrySelected);
    connect(m_showEntry, &QPushButton::clicked, this, &CFleetView::showSelectedInJournal);
    m_summary = named(new QLabel(this), QStringLiteral("fleetSummary"), tr("Summary"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addSpacing(12);
    buttons->addWidget(m_retry);
    buttons->addWidget(m_showEntry);
    buttons->addStretch(1);
    buttons->addWidget(m_summary);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problems);
    layout->addLayout(buttons);
    layout->addWidget(m_message);
    layout->addWidget(m_table, 1);
    resize(820, 480);
}

void CFleetView::browse(QLineEdit* edit, const QString& caption, const QString& filter) {
    const QString name = m_context.prompter.openFileName(caption, edit->text(), filter);
    if (!name.isEmpty()) {
        edit->setText(name);
    }
}

void CFleetView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    lookAtPorts();
    m_portLook.start(kPortLookMs);
}

void CFleetView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A run goes on while the window is hidden; its rows follow its trackers.
    m_portLook.stop();
}

bool CFleetView::isRunning() const {
    return m_station && (!m_station->allFinished() || m_station->watching());
}

int CFleetView::rowOf(const QString& port) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i]->port == port) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CFleetView::Outcome CFleetView::rowOutcome(int row) const {
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row]->outcome : Outcome::None;
}

qint64 CFleetView::rowEntryId(int row) const {
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row]->entryId : -1;
}

CFleetView::Row& CFleetView::rowFor(const QString& port) {
    if (const int index = rowOf(port); index >= 0) {
        return *m_rows[index];
    }
    const auto at = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const std::unique_ptr<Row>& row) { return port < row->port; });
    const int index = static_cast<int>(at - m_rows.begin());
    auto row = std::make_unique<Row>();
    row->port = port;
    m_table->insertRow(index);
    for (int column = 0; column < kColumnCount; ++column) {
        m_table->setItem(index, column, new QTableWidgetItem);
    }
    row->bar = new QProgressBar;
    row->bar->setAccessibleName(tr("Progress on %1").arg(port));
    row->bar->setFocusPolicy(Qt::NoFocus);
    m_table->setCellWidget(index, kProgress, row->bar);
    Row& added = **m_rows.insert(at, std::move(row));
    return added;
}

void CFleetView::lookAtPorts() {
    const QStringList present = ProvisionStation::trackerPorts(m_context.ports());
    const QString held = m_context.portHeld ? m_context.portHeld() : QString();
    for (const QString& port : present) {
        Row& row = rowFor(port);
        row.present = true;
        row.held = port == held;
        showRow(row);
    }
    for (std::size_t i = m_rows.size(); i-- > 0;) {
        Row& row = *m_rows[i];
        if (present.contains(row.port)) {
            continue;
        }
        row.present = false;
        if (row.tracker == nullptr && row.outcome == Outcome::None) {
            // Nothing happened here worth keeping on screen.
            m_table->removeRow(static_cast<int>(i));
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            showRow(row);
        }
    }
    showButtons();
}

bool CFleetView::prepareRun(std::vector<std::string>& problems) {
    ParameterSet profile;
    QString name;
    std::string bytes;
    const QString path = m_profile->text().trimmed();
    if (path.isEmpty()) {
        const std::optional<ParameterSet> window =
            m_context.windowProfile ? m_context.windowProfile() : std::nullopt;
        if (!window) {
            problems.push_back(tr("The open page holds a value it does not take.").toStdString());
            return false;
        }
        profile = *window;
        name = tr("window values");
        bytes = storedProfile(profile).toStdString();
    } else {
        loadDefaultProfile(profile);
        const std::filesystem::path file = filePath(path);
        const ReadResult read = readProfile(file, profile);
        if (!read.ok) {
            problems.push_back(read.error);
            return false;
        }
        if (const FileResult whole = readWholeFile(file, bytes, kMaxProfileBytes); !whole.ok) {
            problems.push_back(whole.error);
            return false;
        }
        name = QFileInfo(path).fileName();
    }
    if (const std::optional<std::string> problem = profileUnwritable(profile)) {
        problems.push_back(escapeControls(name).toStdString() + ": " + *problem);
        return false;
    }
    const QString keepText = m_keep->text().trimmed();
    const std::optional<std::string> keep =
        keepText.isEmpty() ? std::nullopt : std::optional<std::string>(keepText.toStdString());
    std::optional<FleetInput> input = readFleetInput(m_values->text().trimmed().toStdString(), keep,
                                                     profile, tr("Keep").toStdString(), problems);
    if (!input) {
        return false;
    }
    // Before any tracker is touched: a provisioning nobody can look up later is not wanted.
    QString error;
    std::unique_ptr<Journal> journal = Journal::open(m_context.journalLocation(), &error);
    if (!journal) {
        problems.push_back(tr("Journal: %1; nothing is written to a tracker without its backup.")
                               .arg(escapeControls(error))
                               .toStdString());
        return false;
    }
    // The previous run's station goes before the journal it kept.
    m_keeper.reset();
    m_station.reset();
    m_journal = std::move(journal);
    m_profiles = std::make_unique<FleetProfiles>(std::move(profile), name, std::move(bytes),
                                                 std::move(*input), m_valuesOptional->isChecked());
    return true;
}

bool CFleetView::start() {
    if (isRunning()) {
        return false;
    }
    std::vector<std::string> problems;
    const bool ready = prepareRun(problems);
    QStringList lines;
    for (const std::string& problem : problems) {
        lines.append(QString::fromStdString(problem));
    }
    m_problems->setPlainText(lines.join(QLatin1Char('\n')));
    m_problems->setVisible(!lines.isEmpty());
    if (!ready) {
        m_message->setText(tr("Not started: the input has problems (listed above)."));
        return false;
    }
    m_message->clear();
    m_stopping = false;
    ProvisionRequest request;
    request.baud = m_context.baudRate ? m_context.baudRate() : kDefaultBaudRate;
    request.intervalMs = m_context.intervalMs;
    request.changedOnly = m_changedOnly->isChecked();
    request.profile = m_profiles->profile();
    // The port the command window holds open is not the station's to take.
    const PortSource ports = m_context.ports;
    const std::function<QString()> portHeld = m_context.portHeld;
    m_station = std::make_unique<ProvisionStation>(request, [ports, portHeld] {
        QList<PortInfo> list = ports();
        const QString held = portHeld ? portHeld() : QString();
        list.removeIf([&](const PortInfo& port) { return port.portName == held; });
        return list;
    });
    connect(m_station.get(), &ProvisionStation::trackerAdded, this, &CFleetView::follow);
    connect(m_station.get(), &ProvisionStation::finished, this, &CFleetView::stationEnded);
    m_keeper = std::make_unique<StationJournal>(*m_station, *m_journal, EntryKind::kProvision,
                                                m_profiles->describer(), m_profiles->preparer());
    connect(m_keeper.get(), &StationJournal::trackerJournaled, this, &CFleetView::trackerEnded);

    lookAtPorts();
    bool heldLeftAlone = false;
    for (const std::unique_ptr<Row>& row : m_rows) {
        if (row->present && row->held) {
            refuseHeld(*row);
            heldLeftAlone = true;
        }
    }
    // A snapshot: adding a tracker may add its row.
    for (const QString& port : m_station->presentTrackerPorts()) {
        m_station->addPort(port);
    }
    if (m_watch->isChecked()) {
        m_station->watch(kPortLookMs);
    } else if (m_station->allFinished()) {
        if (!heldLeftAlone) {
            m_message->setText(tr("No tracker port found."));
        }
        stationEnded();
    }
    showButtons();
    showSummary();
    return true;
}

void CFleetView::refuseHeld(Row& row) {
    row.outcome = Outcome::Refused;
    row.result = tr("not started: the command window holds this port open");
    row.step = QString();
    row.elapsedMs = -1;
    row.entryId = -1;
    showRow(row);
    m_message->setText(tr("%1 is held open by the command window and is left alone; stop the "
                          "connection there to provision it here.")
                           .arg(row.port));
}

void CFleetView::follow(TrackerProvisioner* tracker) {
    Row& row = rowFor(tracker->request().port);
    row.tracker = tracker;
    row.present = true;
    row.outcome = Outcome::Running;
    row.result.clear();
    row.imei.clear();
    row.deviceId.clear();
    row.step = stepName(tracker->step());
    row.progress = 0;
    row.maximum = 1;
    row.entryId = -1;
    row.elapsedMs = -1;
    row.halfWritten = false;
    const QString port = row.port;
    // Rows move as ports come and go: each update finds its row by the port.
    connect(tracker, &TrackerProvisioner::stepChanged, this, [this, port](ProvisionStep step) {
        if (const int index = rowOf(port); index >= 0) {
            m_rows[index]->step = stepName(step);
            showRow(*m_rows[index]);
        }
    });
    connect(tracker, &TrackerProvisioner::progressChanged, this,
            [this, port](int value, int maximum) {
                if (const int index = rowOf(port); index >= 0) {
                    m_rows[index]->progress = value;
                    m_rows[index]->maximum = std::max(1, maximum);
                    showRow(*m_rows[index]);
                }
            });
    connect(tracker, &TrackerProvisioner::identified, this, [this, port, tracker] {
        if (const int index = rowOf(port); index >= 0) {
            m_rows[index]->imei = tracker->outcome().imei;
            m_rows[index]->deviceId = tracker->outcome().deviceId;
            showRow(*m_rows[index]);
        }
    });
    if (m_profiles->trackerAdded(*tracker)) {
        // A lab may want exactly that, so it is said, not refused; before the second is written.
        m_message->setText(
            tr("Every tracker gets the Device ID %1 of %2; keeping O5 keeps each "
               "one's own, an O5 column in the values table gives each its own.")
                .arg(escapeControls(m_profiles->sharedDeviceId()), m_profiles->profileName()));
    }
    showRow(row);
    showSummary();
    showButtons();
}

void CFleetView::trackerEnded(TrackerProvisioner* tracker, const JournalOutcome& journaled) {
    const ProvisionOutcome& o = tracker->outcome();
    Row& row = rowFor(tracker->request().port);
    row.tracker = nullptr;
    row.imei = o.imei;
    row.deviceId = o.deviceIdNow();
    row.step = stepName(ProvisionStep::Done);
    row.elapsedMs = o.elapsedMs;
    row.entryId = journaled.entryId;
    row.halfWritten = o.halfWritten;
    QString text = o.resultText();
    if (!o.notWritable.empty()) {
        text += tr("; not writable: %1").arg(joined(o.notWritable));
    }
    if (o.halfWritten) {
        text += tr("; left half-written");
    }
    if (!journaled.kept) {
        text += tr("; the journal did not keep its entry: %1").arg(journaled.error);
    }
    row.result = escapeControls(text);
    using Kind = OperationResult::Kind;
    row.outcome = journaled.verified(o)            ? Outcome::Verified
                  : !journaled.kept                ? Outcome::Failed
                  : o.result.kind == Kind::Differs ? Outcome::Differs
                  : o.result.kind == Kind::Stopped ? Outcome::Stopped
                                                   : Outcome::Failed;
    if (row.outcome == Outcome::Verified) {
        row.progress = row.maximum;
    }
    showRow(row);
    showSummary();
    showButtons();
}

void CFleetView::stop() {
    if (!m_station) {
        return;
    }
    m_stopping = true;
    m_message->setText(tr("Stopping every tracker..."));
    m_station->stopAll();
}

void CFleetView::stationEnded() {
    if (m_stopping) {
        QStringList halfWritten;
        for (const std::unique_ptr<Row>& row : m_rows) {
            if (row->halfWritten) {
                halfWritten.append(row->port);
            }
        }
        m_message->setText(halfWritten.isEmpty()
                               ? tr("Stopped; no tracker was left half-written.")
                               : tr("Stopped; left half-written: %1. Write them again (Retry) "
                                    "before they are used.")
                                     .arg(halfWritten.join(QStringLiteral(", "))));
        m_stopping = false;
    }
    showButtons();
    showSummary();
    emit runEnded();
}

void CFleetView::retrySelected() {
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    if (selected.isEmpty() || !m_station) {
        return;
    }
    Row& row = *m_rows[selected.front().row()];
    if (row.tracker != nullptr || !row.present) {
        return;
    }
    if (m_context.portHeld && m_context.portHeld() == row.port) {
        refuseHeld(row);
        return;
    }
    m_station->addPort(row.port);
}

void CFleetView::showSelectedInJournal() {
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    if (selected.isEmpty() || !m_showInJournal) {
        return;
    }
    const qint64 id = m_rows[selected.front().row()]->entryId;
    if (id >= 0) {
        m_showInJournal(id);
    }
}

void CFleetView::showRow(const Row& row) {
    const int index = rowOf(row.port);
    if (index < 0) {
        return;
    }
    QString step = row.step;
    if (row.tracker == nullptr && !row.present) {
        step = tr("unplugged");
    } else if (row.tracker == nullptr && row.held) {
        step = tr("held by the command window");
    } else if (row.tracker == nullptr && row.outcome == Outcome::None) {
        step = tr("ready");
    }
    const QString texts[kColumnCount] = {
        row.port,
        escapeControls(row.imei),
        escapeControls(row.deviceId),
        step,
        QString(),
        row.result,
        row.elapsedMs < 0 ? QString()
                          : tr("%1 s").arg(static_cast<double>(row.elapsedMs) / 1000.0, 0, 'f', 1),
    };
    for (int column = 0; column < kColumnCount; ++column) {
        QTableWidgetItem* item = m_table->item(index, column);
        if (item->text() != texts[column]) {
            item->setText(texts[column]);
        }
    }
    QTableWidgetItem* result = m_table->item(index, kResult);
    const QColor colour = outcomeColour(row.outcome);
    result->setBackground(colour.isValid() ? QBrush(colour) : QBrush());
    result->setForeground(colour.isValid() ? QBrush(Qt::black) : QBrush());
    row.bar->setRange(0, row.maximum);
    row.bar->setValue(std::min(row.progress, row.maximum));
}

void CFleetView::showSummary() {
    int verified = 0;
    int failed = 0;
    int running = 0;
    for (const std::unique_ptr<Row>& row : m_rows) {
        switch (row->outcome) {
            case Outcome::Verified:
                ++verified;
                break;
            case Outcome::Running:
                ++running;
                break;
            case Outcome::None:
                break;
            default:
                ++failed;
        }
    }
    QString text = tr("%1 verified, %2 failed").arg(verified).arg(failed);
    if (running > 0) {
        text += tr(", %1 running").arg(running);
    }
    if (m_station && m_station->watching()) {
        text += tr("; waiting for trackers");
    }
    m_summary->setText(text);
}

void CFleetView::showButtons() {
    const bool running = isRunning();
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    for (QWidget* input : std::initializer_list<QWidget*>{m_profile, m_values, m_valuesOptional,
                                                          m_keep, m_changedOnly, m_watch}) {
        input->setEnabled(!running);
    }
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    const Row* row = selected.isEmpty() ? nullptr : m_rows[selected.front().row()].get();
    m_retry->setEnabled(m_station && row != nullptr && row->tracker == nullptr && row->present &&
                        row->outcome != Outcome::None);
    m_showEntry->setEnabled(row != nullptr && row->entryId >= 0);
}

}  // namespace qn470
