// SPDX-License-Identifier: Apache-2.0
#include "app/views/compare_view.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/views/window_values.h"
#include "config/default_profile.h"
#include "session/device_session.h"
#include "session/file_operations.h"

namespace qn470 {
CCompareView::CCompareView(WindowValues& values, DeviceSession& session, FileOperations& files,
                           QWidget* parent)
    : QDialog(parent),
      m_values(values),
      m_session(session),
      m_files(files),
      m_tracker(new QPushButton(tr("&Tracker"), this)),
      m_file(new QPushButton(tr("&File..."), this)),
      m_defaults(new QPushButton(tr("&Defaults"), this)),
      m_note(new QLabel(this)),
      m_trackerNote(new QLabel(this)),
      m_table(new ValueTable(this)),
      m_onlyDifferences(new QCheckBox(tr("&Only differences"), this)),
      m_takeOver(new QPushButton(tr("Ta&ke over"), this)) {
    setObjectName(QStringLiteral("compareView"));
    setWindowTitle(tr("Compare"));
    setModal(false);
    m_tracker->setObjectName(QStringLiteral("compareTracker"));
    m_tracker->setAccessibleName(tr("Compare with the tracker"));
    m_file->setObjectName(QStringLiteral("compareFile"));
    m_file->setAccessibleName(tr("Compare with a profile file"));
    m_defaults->setObjectName(QStringLiteral("compareDefaults"));
    m_defaults->setAccessibleName(tr("Compare with the defaults"));
    m_note->setObjectName(QStringLiteral("compareNote"));
    m_trackerNote->setObjectName(QStringLiteral("trackerNote"));
    m_note->setWordWrap(true);
    m_table->setObjectName(QStringLiteral("compareTable"));
    m_table->setAccessibleName(tr("Compared values"));
    m_onlyDifferences->setObjectName(QStringLiteral("onlyDifferences"));
    m_onlyDifferences->setChecked(true);
    m_takeOver->setObjectName(QStringLiteral("takeOver"));
    m_takeOver->setAccessibleName(tr("Take over"));
    m_takeOver->setAccessibleDescription(tr("Copies the checked rows' values into the window"));
    auto* close = new QPushButton(tr("Close"), this);

    auto* sources = new QHBoxLayout;
    sources->addWidget(new QLabel(tr("Compare the window with:"), this));
    sources->addWidget(m_tracker);
    sources->addWidget(m_file);
    sources->addWidget(m_defaults);
    sources->addWidget(m_trackerNote, 1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_onlyDifferences);
    actions->addStretch(1);
    actions->addWidget(m_takeOver);
    actions->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sources);
    layout->addWidget(m_note);
    layout->addWidget(m_table, 1);
    layout->addLayout(actions);
    resize(760, 420);

    connect(m_tracker, &QPushButton::clicked, this, &CCompareView::compareWithTracker);
    connect(m_file, &QPushButton::clicked, this, &CCompareView::compareWithFile);
    connect(m_defaults, &QPushButton::clicked, this, &CCompareView::compareWithDefaults);
    connect(m_takeOver, &QPushButton::clicked, this, &CCompareView::takeOver);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_onlyDifferences, &QCheckBox::toggled, this, &CCompareView::fill);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        const IndexedParameter* p = rowParameter(item->row());
        if (item->column() != kCode || p == nullptr) {
            return;
        }
        if (item->checkState() == Qt::Checked) {
            m_checked.insert(p);
        } else {
            m_checked.erase(p);
        }
        m_takeOver->setEnabled(!m_checked.empty());
    });
    connect(&m_session, &DeviceSession::connectionChanged, this,
            &CCompareView::updateTrackerButton);
    connect(&m_session, &DeviceSession::operationStarted, this, &CCompareView::updateTrackerButton);
    connect(&m_session, &DeviceSession::operationFinished, this,
            [this](DeviceSession::Operation operation, bool success) {
                updateTrackerButton();
                // Other read-backs (a save's check) are not this view's.
                if (operation != DeviceSession::Operation::ReadBack || !m_readingTracker) {
                    return;
                }
                m_readingTracker = false;
                updateTrackerButton();
                if (success) {
                    showSource(m_session.readBackSet(), tr("Tracker"));
                } else {
                    m_note->setText(
                        tr("The tracker could not be read: %1").arg(m_session.failureReason()));
                }
            });
    m_table->setValueNames(tr("Window"), tr("Other"));
    m_takeOver->setEnabled(false);
    updateTrackerButton();
}

QString CCompareView::note() const {
    return m_note->text();
}

QString CCompareView::trackerNote() const {
    return m_trackerNote->text();
}

const IndexedParameter* CCompareView::rowParameter(int row) const {
    return m_table->rowParameter(row);
}

void CCompareView::showEvent(QShowEvent* event) {
    updateTrackerButton();
    QDialog::showEvent(event);
}

void CCompareView::updateTrackerButton() {
    const bool connected = m_session.isConnected();
    m_tracker->setEnabled(connected && !m_session.isBusy() && !m_readingTracker);
    m_trackerNote->setText(connected ? QString() : tr("Not connected: press Start first."));
    m_tracker->setAccessibleDescription(m_trackerNote->text());
}

void CCompareView::compareWithTracker() {
    if (!m_session.isConnected()) {
        updateTrackerButton();
        return;
    }
    if (!m_session.readBack()) {
        m_note->setText(tr("The tracker is busy; try again when the running operation ends."));
        return;
    }
    m_readingTracker = true;
    m_tracker->setEnabled(false);
    m_note->setText(tr("Reading the tracker..."));
}

void CCompareView::compareWithFile() {
    ParameterSet other;
    if (m_files.readProfileCopy(other)) {
        showSource(other, QFileInfo(m_files.chosenFile()).fileName());
    }
}

void CCompareView::compareWithDefaults() {
    ParameterSet other = m_session.parameters();
    loadDefaultProfile(other);  // built in: cannot fail
    showSource(other, tr("Defaults"));
}

void CCompareView::showSource(const ParameterSet& other, const QString& name) {
    m_other = other;
    m_otherName = name;
    m_checked.clear();
    m_table->setValueNames(tr("Window"), name);
    fill();
}

void CCompareView::refresh() {
    if (isVisible() && !m_otherName.isEmpty()) {
        fill();
    }
}

void CCompareView::fill() {
    if (m_otherName.isEmpty()) {
        m_table->fill({}, true);
        return;
    }
    std::vector<ValueRow> rows;
    for (const IndexedParameter& p : m_values.parameters()) {
        rows.push_back({&p, m_values.windowText(p), m_values.textIn(p, m_other),
                        m_values.differs(p, m_other), m_checked.count(&p) != 0});
    }
    const int differing = m_table->fill(rows, m_onlyDifferences->isChecked());
    m_note->setText(differing == 0
                        ? tr("The window holds the same values as %1.").arg(m_otherName)
                        : tr("%n value(s) differ from %1.", nullptr, differing).arg(m_otherName));
    m_takeOver->setEnabled(!m_checked.empty());
}

void CCompareView::takeOver() {
    // In the window's order, whatever order they were checked in.
    std::vector<const IndexedParameter*> chosen;
    for (const IndexedParameter& p : m_values.parameters()) {
        if (m_checked.count(&p) != 0) {
            chosen.push_back(&p);
        }
    }
    if (chosen.empty() || !m_values.takeValues(chosen, m_other)) {
        return;
    }
    m_checked.clear();
    fill();
}

}  // namespace qn470
