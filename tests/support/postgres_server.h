// SPDX-License-Identifier: Apache-2.0
#pragma once

// A PostgreSQL server of its own for a test suite: initdb in a temporary folder, pg_ctl start on a
// free port of 127.0.0.1 (its socket in the same folder), pg_ctl stop -m immediate at the end.
// initdb refuses to run as root, so as root the programs run as the postgres user.

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>

namespace qn470::test {

class PostgresServer {
public:
    PostgresServer() = default;
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;
    ~PostgresServer() {
        if (m_running) {
            run(QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), data(), QStringLiteral("-m"), QStringLiteral("immediate"),
                 QStringLiteral("-w"), QStringLiteral("stop")});
        }
    }

    // Starts the server; empty, or why it cannot run here (a reason to skip).
    QString start() {
        m_bin = binaryFolder();
        if (m_bin.isEmpty()) {
            return QStringLiteral(
                "no PostgreSQL server programs (initdb) in pg_config --bindir "
                "or /usr/lib/postgresql/*/bin; install postgresql");
        }
        if (!m_dir.isValid()) {
            return QStringLiteral("no temporary folder");
        }
        if (::getuid() == 0) {
            const passwd* user = ::getpwnam("postgres");
            if (user == nullptr || ::chown(qPrintable(m_dir.path()), user->pw_uid, user->pw_gid)) {
                return QStringLiteral("running as root without a postgres user to run initdb as");
            }
            m_asPostgres = true;
        }
        m_port = freePort();
        QString output;
        if (!run(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data(), QStringLiteral("-U"), user(), QStringLiteral("-A"),
                  QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                  QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
                 &output)) {
            return QStringLiteral("initdb failed: ") + output;
        }
        return startAgain();
    }

    // pg_ctl stop (fast: every connection is cut), as a restart or an outage does it.
    QString stop() {
        QString output;
        if (!run(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), data(), QStringLiteral("-m"), QStringLiteral("fast"),
                  QStringLiteral("-w"), QStringLiteral("stop")},
                 &output)) {
            return QStringLiteral("pg_ctl stop failed: ") + output;
        }
        m_running = false;
        return {};
    }

    // pg_ctl start on the same folder and port; empty, or why not.
    QString startAgain() {
        QString output;
        const QString options = QStringLiteral("-F -p %1 -k %2 -c listen_addresses=127.0.0.1")
                                    .arg(m_port)
                                    .arg(m_dir.path());
        if (!run(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), data(), QStringLiteral("-l"), m_dir.filePath("server.log"),
                  QStringLiteral("-o"), options, QStringLiteral("-w"), QStringLiteral("-t"),
                  QStringLiteral("60"), QStringLiteral("start")},
                 &output)) {
            return QStringLiteral("pg_ctl start failed: ") + output;
        }
        m_running = true;
        return {};
    }

    QString user() const { return QStringLiteral("qn470"); }
    int port() const { return m_port; }

    QString location(const QString& database) const {
        return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
            .arg(user())
            .arg(m_port)
            .arg(database);
    }

    // The same database through the server's unix socket.
    QString socketLocation(const QString& database) const {
        return QStringLiteral("postgres://%1@localhost:%2/%3?host=%4")
            .arg(user())
            .arg(m_port)
            .arg(database, m_dir.path());
    }

    // A new empty database; its journal location, or empty with the error.
    QString createDatabase(QString* error) {
        const QString name = QStringLiteral("journal%1").arg(++m_databases);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"),
                                                        QStringLiteral("qn470-test-admin"));
            configure(db, QStringLiteral("postgres"));
            if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name)) {
                *error = db.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("qn470-test-admin"));
        return error->isEmpty() ? location(name) : QString();
    }

    void configure(QSqlDatabase& db, const QString& database) const {
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_port);
        db.setUserName(user());
        db.setDatabaseName(database);
    }

private:
    QString data() const { return m_dir.filePath(QStringLiteral("data")); }

    static QString binaryFolder() {
        QProcess config;
        config.start(QStringLiteral("pg_config"), {QStringLiteral("--bindir")});
        if (config.waitForFinished(10000) && config.exitCode() == 0) {
            const QString bin = QString::fromLocal8Bit(config.readAllStandardOutput()).trimmed();
            if (QFile::exists(bin + QStringLiteral("/initdb"))) {
                return bin;
            }
        }
        QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql"))
                                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
        for (const QString& version : versions) {
            const QString bin =
                QStringLiteral("/usr/lib/postgresql/") + version + QStringLiteral("/bin");
            if (QFile::exists(bin + QStringLiteral("/initdb"))) {
                return bin;
            }
        }
        return {};
    }

    static int freePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 54700;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        ::close(fd);
        return port;
    }

    // Runs one of the server programs (as postgres when root); its output goes to a file, so the
    // server pg_ctl leaves running holds no pipe of ours.
    bool run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
        QStringList command = {m_bin + QLatin1Char('/') + program};
        command += arguments;
        if (m_asPostgres) {
            command = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--")} +
                      command;
            command.prepend(QStringLiteral("runuser"));
        }
        const QString log = m_dir.filePath(QStringLiteral("command.log"));
        QProcess process;
        process.setStandardOutputFile(log);
        process.setStandardErrorFile(log, QIODevice::Append);
        process.setWorkingDirectory(m_dir.path());
        process.start(command.takeFirst(), command);
        const bool ok = process.waitForFinished(90000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (output != nullptr) {
            QFile file(log);
            file.open(QIODevice::ReadOnly);
            *output = process.errorString() + QStringLiteral(": ") +
                      QString::fromLocal8Bit(file.readAll());
        }
        return ok;
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/qn470-pg-XXXXXX")};
    QString m_bin;
    bool m_asPostgres = false;
    bool m_running = false;
    int m_port = 0;
    int m_databases = 0;
};

}  // namespace qn470::test
