// SPDX-License-Identifier: Apache-2.0
#pragma once

// A timestamped record of what the window exchanged with the tracker: every line received (as
// the receive log shows them), every line sent and every status line. Kept in memory for "Save
// log..."; while turned on (remembered in the settings), also appended line by line to a file
// per day, so a session can be followed afterwards even when the program was killed.
//
//   SessionLog log(session, settings);           // files under SessionLog::defaultFolder()
//   log.setWritingFile(true);                    // ".../logs/session-2026-12-08.log"
//   log.saveTo(path, &error);                    // the lines kept in memory
//
// Each line: "2026-12-08T14:02:11.250  <  text" ('<' received, '>' sent, '*' status), local time.

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QObject>
#include <QString>
#include <deque>

class QSettings;

namespace qn470 {

class DeviceSession;

class SessionLog : public QObject {
    Q_OBJECT

public:
    static constexpr char kSettingKey[] = "sessionLog";
    // The oldest lines go first beyond this, so a long session cannot grow without bound.
    static constexpr std::size_t kMaxKeptLines = 50000;

    enum class Direction : char { Received = '<', Sent = '>', Status = '*' };

    SessionLog(DeviceSession& session, QSettings& settings, QString folder = defaultFolder(),
               QObject* parent = nullptr);
    ~SessionLog() override;

    // The application's data folder + "/logs".
    static QString defaultFolder();

    bool isWritingFile() const { return m_writingFile; }
    void setWritingFile(bool on);
    // The file today's lines go to.
    QString currentFile() const;

    // The lines kept in memory, LF-terminated UTF-8.
    QByteArray text() const;
    // Writes text() to path atomically; false with a message naming the file.
    bool saveTo(const QString& path, QString* error) const;

    void add(Direction direction, const QString& text);

signals:
    // The day's file could not be opened or written; said once, then the file is left alone
    // until the log is turned on again.
    void fileFailed(const QString& message);

private:
    QString fileFor(const QDate& day) const;
    void append(const QByteArray& line, const QDate& day);

    QSettings& m_settings;
    QString m_folder;
    bool m_writingFile = false;
    bool m_fileFailed = false;
    QFile m_file;
    QDate m_fileDay;
    std::deque<QByteArray> m_lines;
};

}  // namespace qn470
