// SPDX-License-Identifier: Apache-2.0
#include "app/command_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/progress_dialog.h"
#include "app/recent_files.h"
#include "app/records/session_log.h"
#include "config/baud_rate.h"
#include "serial/serial_link.h"
#include "session/baud_text.h"
#include "session/device_session.h"
#include "session/file_operations.h"
#include "session/prompter.h"

namespace qn470 {
namespace {

// The logs show CR LF line ends as line breaks.
QString displayed(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void scrollToBottom(QPlainTextEdit* log) {
    log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

template <typename T>
T* named(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QPushButton* button(const QString& text, int id, QWidget* parent) {
    auto* result = named(new QPushButton(text, parent), id);
    // As in a dialog: Enter presses the focused button.
    result->setAutoDefault(true);
    return result;
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    result->setBuddy(buddy);
    buddy->setAccessibleName(result->text());
    return result;
}

}  // namespace

CCommandWindow::CCommandWindow(DeviceSession& session, FileOperations& files,
                               RecentFiles& recentFiles, PortSource ports, PageHooks pageHooks,
                               QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_files(files),
      m_recentFiles(recentFiles),
      m_ports(std::move(ports)),
      m_pageHooks(std::move(pageHooks)) {
    setObjectName(QStringLiteral("112"));
    buildControls();

    m_session.setPageHooks(m_pageHooks);
    connect(&m_session, &DeviceSession::statusChanged, this, &CCommandWindow::showStatus);
    connect(&m_session, &DeviceSession::receiveLogAppended, this, &CCommandWindow::appendReceived);
    connect(&m_session, &DeviceSession::receiveLogCleared, m_receiveLog, &QPlainTextEdit::clear);
    connect(&m_session, &DeviceSession::connectionChanged, this, &CCommandWindow::showLinkState);
    connect(&m_session, &DeviceSession::operationStarted, this,
            &CCommandWindow::onOperationStarted);
    // The session ends an operation on a lost link before this window hears of the loss.
    connect(&m_session, &DeviceSession::operationFinished, this, [this] {
        m_lostDuringOperation = m_session.isConnected() && !m_session.link().isOpen();
    });
    connect(&m_session.link(), &CSerialLink::deviceLost, this, &CCommandWindow::onLinkLost);
    m_lostRescan.setInterval(kLostRescanIntervalMs);
    connect(&m_lostRescan, &QTimer::timeout, this, [this] {
        if (m_session.link().isOpen() || !m_session.isConnected()) {
            m_lostRescan.stop();
            return;
        }
        rescanKeepingChoice();
    });
    connect(qApp, &QApplication::focusChanged, this, &CCommandWindow::onFocusChanged);

    connect(m_sendCommand, &QPushButton::clicked, this, &CCommandWindow::sendCommandLine);
    connect(m_sendSwitch, &QPushButton::clicked, this, &CCommandWindow::sendTransmissionSwitch);
    connect(m_transmission, &QButtonGroup::buttonClicked, this,
            [this] { m_sendSwitch->setFocus(Qt::OtherFocusReason); });
    connect(m_startStop, &QPushButton::clicked, this, &CCommandWindow::startStop);
    connect(m_scan, &QPushButton::clicked, this, [this] {
        m_portList->clearEditText();
        scanPorts();
    });
    const auto connectButton = [this](int id, void (CCommandWindow::*command)()) {
        connect(findChild<QPushButton*>(QString::number(id)), &QPushButton::clicked, this, command);
    };
    connectButton(kSaveToFile, &CCommandWindow::saveToFile);
    connectButton(kSaveToBinFile, &CCommandWindow::saveToBinFile);
    connectButton(kSaveToDevice, &CCommandWindow::saveToDevice);
    connectButton(kLoadFromFile, &CCommandWindow::loadFromFile);
    connectButton(kLoadFromDevice, &CCommandWindow::loadFromDevice);

    initialise();
}

CCommandWindow::~CCommandWindow() {
    // Hiding this window while QWidget tears it down moves the focus; this part is gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The hooks reach the view's page; the session may outlive this window.
    m_session.setPageHooks({});
}

void CCommandWindow::buildControls() {
    m_commandEdit = named(new QLineEdit(this), kCommandEdit);
    m_sendCommand = button(tr("Send"), kSendCommand, this);
    m_active = named(new QRadioButton(tr("active"), this), kActive);
    m_inactive = named(new QRadioButton(tr("inactive"), this), kInactive);
    m_transmission = new QButtonGroup(this);
    m_transmission->addButton(m_active, kActive);
    m_transmission->addButton(m_inactive, kInactive);
    m_sendSwitch = button(tr("Send"), kSendSwitch, this);
    m_portList = named(new QComboBox(this), kPortList);
    m_portList->setEditable(true);
    m_portList->setInsertPolicy(QComboBox::NoInsert);
    m_portList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_portList->setMinimumContentsLength(16);
    m_scan = button(tr("Scan"), kScan, this);
    m_baud = named(new QLineEdit(QString::number(kDefaultBaudRate), this), kBaud);
    m_baud->setMaxLength(kMaxBaudTextLength);
    m_baud->setFixedWidth(m_baud->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) +
                          12);
    m_startStop = button(tr("Start"), kStartStop, this);
    m_statusLog = named(new QPlainTextEdit(this), kStatusLog);
    m_receiveLog = named(new QPlainTextEdit(this), kReceiveLog);
    for (QPlainTextEdit* log : {m_statusLog, m_receiveLog}) {
        log->setReadOnly(true);
        log->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    m_statusLog->setAccessibleName(tr("status"));
    // As tall as the controls beside it, however tall the window.
    m_statusLog->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_receiveLog->setAccessibleName(tr("received"));
    auto* saveLogAction = new QAction(tr("Save log..."), this);
    saveLogAction->setObjectName(QStringLiteral("saveLog"));
    connect(saveLogAction, &QAction::triggered, this, &CCommandWindow::saveLog);
    m_receiveLog->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_receiveLog, &QWidget::customContextMenuRequested, this,
            &CCommandWindow::showReceiveLogMenu);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(label(tr("Command :"), m_commandEdit, this), 0, 0);
    grid->addWidget(m_commandEdit, 0, 1, 1, 5);
    grid->addWidget(m_sendCommand, 0, 6);

    auto* transmission = new QLabel(tr("serial port data transmission"), this);
    transmission->setBuddy(m_active);
    auto* radios = new QHBoxLayout;
    radios->addWidget(transmission);
    radios->addSpacing(8);
    radios->addWidget(m_active);
    radios->addWidget(m_inactive);
    radios->addStretch();
    grid->addLayout(radios, 1, 0, 1, 6);
    grid->addWidget(m_sendSwitch, 1, 6);

    grid->addWidget(label(tr("COM :"), m_portList, this), 2, 0);
    grid->addWidget(m_portList, 2, 1);
    grid->addWidget(m_scan, 2, 2);
    grid->addWidget(label(tr("baud rate :"), m_baud, this), 2, 3);
    grid->addWidget(m_baud, 2, 4);
    grid->addWidget(m_startStop, 2, 6);
    grid->setColumnStretch(1, 1);

    auto* files = new QHBoxLayout;
    files->setSpacing(6);
    files->addWidget(button(tr("Save to file"), kSaveToFile, this));
    files->addWidget(button(tr("Save to Bin file"), kSaveToBinFile, this));
    files->addWidget(button(tr("Save to device"), kSaveToDevice, this));
    files->addWidget(button(tr("Load from file"), kLoadFromFile, this));
    files->addWidget(button(tr("Load from device"), kLoadFromDevice, this));
    auto* journal = new QPushButton(tr("Journal..."), this);
    journal->setObjectName(QStringLiteral("journalButton"));
    journal->setAccessibleName(tr("Journal"));
    journal->setAutoDefault(true);
    connect(journal, &QPushButton::clicked, this, &CCommandWindow::journalRequested);
    files->addWidget(journal);
    auto* fleet = new QPushButton(tr("Fleet..."), this);
    fleet->setObjectName(QStringLiteral("fleetButton"));
    fleet->setAccessibleName(tr("Fleet"));
    fleet->setAutoDefault(true);
    fleet->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(fleet, &QPushButton::clicked, this, &CCommandWindow::fleetRequested);
    files->addWidget(fleet);

    auto* controls = new QVBoxLayout;
    controls->setSpacing(6);
    controls->addLayout(grid);
    controls->addLayout(files);

    // The controls with the status log beside them; the receive log takes the rest, full width
    // for the tracker's long report lines.
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addLayout(controls, 0);
    top->addWidget(m_statusLog, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(top, 0);
    layout->addWidget(m_receiveLog, 1);
}

void CCommandWindow::initialise() {
    scanPorts();
    if (!m_files.loadDefaultProfile() && m_pageHooks.loadValues) {
        // The record keeps what it had, and counts as read from a profile all the same.
        m_pageHooks.loadValues(RecordSource::File);
    }
    m_inactive->setChecked(true);
    m_receiveLog->setPlainText(displayed(m_session.receiveLog()));
    showStatus(m_session.statusText());
}

// Controls -----------------------------------------------------------------------------------

void CCommandWindow::showStatus(const QString& text) {
    // A single message needs no empty line below it.
    QString shown = displayed(text);
    if (shown.endsWith(QLatin1Char('\n'))) {
        shown.chop(1);
    }
    m_statusLog->setPlainText(shown);
    scrollToBottom(m_statusLog);
}

void CCommandWindow::appendReceived(const QString& text) {
    QTextCursor end(m_receiveLog->document());
    end.movePosition(QTextCursor::End);
    end.insertText(displayed(text));
    scrollToBottom(m_receiveLog);
}

qint32 CCommandWindow::baudRate() const {
    return parseBaudText(m_baud->text());
}

CProgress* CCommandWindow::progressDialog() const {
    return m_progress;
}

QString CCommandWindow::portText() const {
    return m_portList->currentText();
}

void CCommandWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
                sendCommandLine();
                return;
            }
            break;
        case Qt::Key_Escape:
            if (event->modifiers() == Qt::NoModifier) {
                sendTransmissionSwitch();
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void CCommandWindow::onFocusChanged(QWidget* old, QWidget* now) {
    // Leaving the command line puts the focus on its Send button, so Enter sends it. Only
    // within this window: a click into a page or another window keeps its focus.
    if (old == m_commandEdit && now != nullptr && now != m_sendCommand && isAncestorOf(now)) {
        m_sendCommand->setFocus(Qt::OtherFocusReason);
    }
}

// Commands -----------------------------------------------------------------------------------

void CCommandWindow::sendCommandLine() {
    m_session.sendCommandLine(m_commandEdit->text());
}

void CCommandWindow::sendTransmissionSwitch() {
    m_session.sendTransmissionSwitch(m_active->isChecked());
}

void CCommandWindow::startStop() {
    if (m_session.isConnected() && !m_session.link().isOpen()) {
        // Lost and not back yet: "Start" opens what the port list names now.
        m_session.connectDevice(m_portList->currentText(), m_baud->text());
    } else {
        m_session.toggleConnection(m_portList->currentText(), m_baud->text());
    }
    showLinkState();
}

void CCommandWindow::showLinkState() {
    const bool open = m_session.link().isOpen();
    if (open || !m_session.isConnected()) {
        m_lostRescan.stop();
    }
    m_startStop->setText(open ? tr("Stop") : tr("Start"));
}

void CCommandWindow::onLinkLost() {
    if (!m_lostDuringOperation) {
        m_session.showStatus(tr("Link lost: %1 is gone.\r\n").arg(m_session.link().portName()));
    }
    m_lostDuringOperation = false;
    showLinkState();
    rescanKeepingChoice();
    m_lostRescan.start();
}

void CCommandWindow::linkReopened() {
    m_session.showStatus(tr("Link reopened: %1.\r\n").arg(m_session.link().portName()));
    showLinkState();
}

void CCommandWindow::rescanKeepingChoice() {
    const QStringList names = trackerPortNames(m_ports ? m_ports() : QList<PortInfo>{});
    QStringList shown;
    for (int i = 0; i < m_portList->count(); ++i) {
        shown.append(m_portList->itemText(i));
    }
    if (names == shown) {
        return;
    }
    const QString chosen = m_portList->currentText();
    m_portList->clear();
    m_portList->addItems(names);
    const int index = names.indexOf(chosen);
    if (index >= 0) {
        m_portList->setCurrentIndex(index);
    } else if (!names.isEmpty()) {
        m_portList->setCurrentIndex(0);
    } else {
        // Nothing to choose from: keep naming the port the link waits for.
        m_portList->setEditText(chosen);
    }
}

void CCommandWindow::showReceiveLogMenu(const QPoint& position) {
    QMenu* menu = m_receiveLog->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (m_sessionLog != nullptr) {
        menu->addSeparator();
        menu->addAction(findChild<QAction*>(QStringLiteral("saveLog")));
    }
    menu->popup(m_receiveLog->viewport()->mapToGlobal(position));
}

void CCommandWindow::saveLog() {
    if (m_sessionLog == nullptr) {
        return;
    }
    const QString defaultName =
        QStringLiteral("session-%1.log")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    const QString path = m_session.prompter().saveFileName(
        tr("Save log"), defaultName, tr("Log files (*.log);;All files (*.*)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (m_sessionLog->saveTo(path, &error)) {
        m_session.showStatus(tr("Log saved to %1.\r\n").arg(path));
    } else {
        m_session.showStatus(tr("FAIL ! Save log. %1.\r\n").arg(error));
    }
}

void CCommandWindow::scanPorts() {
    const QStringList names = trackerPortNames(m_ports ? m_ports() : QList<PortInfo>{});
    m_portList->clear();
    m_portList->addItems(names);
    if (!names.isEmpty()) {
        m_portList->setCurrentIndex(0);
    }
}

void CCommandWindow::loadFromDevice() {
    m_session.loadFromDevice();
}

void CCommandWindow::saveToDevice() {
    if (m_saveCommand) {
        m_saveCommand();
    } else {
        m_session.saveToDevice();
    }
}

void CCommandWindow::saveToFile() {
    afterFileCommand(m_files.saveToFile(), false);
}

void CCommandWindow::loadFromFile() {
    afterFileCommand(m_files.loadFromFile(), true);
}

void CCommandWindow::saveToBinFile() {
    afterFileCommand(m_files.saveToBinFile(), false);
}

void CCommandWindow::afterFileCommand(bool ok, bool read) {
    const QString path = m_files.chosenFile();
    if (path.isEmpty()) {
        return;
    }
    if (ok) {
        m_recentFiles.add(path);
    } else if (read) {
        m_recentFiles.remove(path);
    }
}

void CCommandWindow::onOperationStarted() {
    if (m_progress != nullptr && m_progress->isRunning()) {
        return;
    }
    m_progress = new CProgress(m_session, m_session.operation(), window());
    if (m_progress->isRunning()) {
        m_progress->show();
    }
}

}  // namespace qn470
