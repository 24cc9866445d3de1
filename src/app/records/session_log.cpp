// SPDX-License-Identifier: Apache-2.0
#include "app/records/session_log.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include "config/atomic_file.h"
#include "serial/serial_link.h"
#include "session/device_session.h"

namespace qn470 {
namespace {

// Two blanks either side, so the direction mark stands out from both time and text.
QByteArray logLine(const QDateTime& time, SessionLog::Direction direction, const QString& text) {
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toUtf8() + "  " +
           static_cast<char>(direction) + "  " + text.toUtf8() + '\n';
}

}  // namespace

SessionLog::SessionLog(DeviceSession& session, QSettings& settings, QString folder, QObject* parent)
    : QObject(parent), m_settings(settings), m_folder(std::move(folder)) {
    m_writingFile = m_settings.value(QLatin1String(kSettingKey), false).toBool();
    connect(&session, &DeviceSession::receiveLogAppended, this,
            [this](const QString& text) { add(Direction::Received, text); });
    connect(&session.link(), &CSerialLink::dataQueued, this,
            [this](const QByteArray& data) { add(Direction::Sent, QString::fromLatin1(data)); });
    connect(&session, &DeviceSession::statusChanged, this,
            [this](const QString& text) { add(Direction::Status, text); });
}

SessionLog::~SessionLog() = default;

QString SessionLog::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/logs");
}

void SessionLog::setWritingFile(bool on) {
    m_writingFile = on;
    m_fileFailed = false;
    m_settings.setValue(QLatin1String(kSettingKey), on);
    if (!on) {
        m_file.close();
    }
}

QString SessionLog::currentFile() const {
    return fileFor(QDate::currentDate());
}

QString SessionLog::fileFor(const QDate& day) const {
    return m_folder +
           QStringLiteral("/session-%1.log").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QByteArray SessionLog::text() const {
    QByteArray all;
    for (const QByteArray& line : m_lines) {
        all += line;
    }
    return all;
}

bool SessionLog::saveTo(const QString& path, QString* error) const {
    const QByteArray bytes = text();
    const FileResult result = writeFileAtomically(
        path.toStdString(), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!result.ok && error != nullptr) {
        *error = QString::fromStdString(result.error);
    }
    return result.ok;
}

void SessionLog::add(Direction direction, const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QDateTime now = QDateTime::currentDateTime();
    for (const QString& piece : text.split(lineBreak, Qt::SkipEmptyParts)) {
        QByteArray line = logLine(now, direction, piece);
        if (m_writingFile && !m_fileFailed) {
            append(line, now.date());
        }
        m_lines.push_back(std::move(line));
        if (m_lines.size() > kMaxKeptLines) {
            m_lines.pop_front();
        }
    }
}

void SessionLog::append(const QByteArray& line, const QDate& day) {
    if (!m_file.isOpen() || m_fileDay != day) {
        m_file.close();
        m_fileDay = day;
        m_file.setFileName(fileFor(day));
        if (!QDir().mkpath(m_folder) || !m_file.open(QIODevice::Append | QIODevice::Text)) {
            m_fileFailed = true;
            emit fileFailed(m_file.fileName() + QStringLiteral(": ") + m_file.errorString());
            return;
        }
    }
    // Flushed line by line: the log is for the session that ends badly.
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        m_fileFailed = true;
        m_file.close();
        emit fileFailed(m_file.fileName() + QStringLiteral(": ") + m_file.errorString());
    }
}

}  // namespace qn470
