// SPDX-License-Identifier: Apache-2.0
#include "serial/simulator_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <cerrno>
#include <csignal>
#include <cstring>
#endif

namespace qn470 {

#ifdef Q_OS_UNIX
namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A real folder (not a link to one) of this user that no one else may enter.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The folder of entries, made when `create`; empty with the reason when there is no private one.
QByteArray entryFolder(bool create, QString* why = nullptr) {
    // Not QStandardPaths: it warns on every call where XDG_RUNTIME_DIR is unset (root, CI).
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray folder = !runtime.isEmpty() && isPrivateFolder(runtime)
                                  ? runtime + "/qn470-simulators"
                                  : QFile::encodeName(QDir::tempPath()) + "/qn470-simulators-" +
                                        QByteArray::number(::geteuid());
    if (create && ::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        if (why != nullptr) {
            *why = QStringLiteral("cannot create %1: %2")
                       .arg(QFile::decodeName(folder), systemError());
        }
        return {};
    }
    if (!isPrivateFolder(folder)) {
        if (why != nullptr) {
            *why = QStringLiteral(
                       "%1 is not a folder private to this user; the simulator is "
                       "not listed as one")
                       .arg(QFile::decodeName(folder));
        }
        return {};
    }
    return folder;
}

// "pts/3" -> "FOLDER/pts-3": one file per terminal.
QByteArray entryPath(const QByteArray& folder, const QString& portName) {
    return folder + '/' + QFile::encodeName(QString(portName).replace(QLatin1Char('/'), QLatin1Char('-')));
}

// The process id an entry holds; 0 for anything but a plain file of this user.
qint64 entryProcess(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    struct stat info {};
    char text[32] = {};
    const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                       info.st_uid == ::geteuid() && ::read(fd, text, sizeof text - 1) > 0;
    ::close(fd);
    return plain ? QByteArray(text).trimmed().toLongLong() : 0;
}

// The process is alive, this user's, and holds the master side of the terminal ("pts/3").
bool ownsTerminal(qint64 pid, const QString& portName) {
    if (pid <= 0 || !portName.startsWith(QLatin1String("pts/"))) {
        return false;
    }
#ifdef Q_OS_LINUX
    const QString process = QStringLiteral("/proc/%1").arg(pid);
    struct stat info {};
    if (::stat(QFile::encodeName(process).constData(), &info) != 0 || info.st_uid != ::geteuid()) {
        return false;
    }
    const QByteArray index = "tty-index:\t" + QFile::encodeName(portName.mid(4)) + '\n';
    QDirIterator descriptors(process + QStringLiteral("/fd"), QDir::Files | QDir::System);
    while (descriptors.hasNext()) {
        const QString fd = descriptors.next();
        if (!QFile::symLinkTarget(fd).endsWith(QLatin1String("ptmx"))) {
            continue;
        }
        QFile fdInfo(process + QStringLiteral("/fdinfo/") + descriptors.fileName());
        if (fdInfo.open(QIODevice::ReadOnly) && fdInfo.readAll().contains(index)) {
            return true;
        }
    }
    return false;
#else
    // Elsewhere pseudo-terminals are not listed as ports; alive is all that can be asked.
    return ::kill(static_cast<pid_t>(pid), 0) == 0;
#endif
}

}  // namespace

QString announceSimulator(const QString& portName) {
    QString why;
    const QByteArray folder = entryFolder(true, &why);
    if (folder.isEmpty()) {
        return why;
    }
    const QByteArray path = entryPath(folder, portName);
    // What is there is stale (the terminal is this process's now) or planted; unlink removes a
    // link itself, and O_EXCL | O_NOFOLLOW create a new file or nothing.
    ::unlink(path.constData());
    const int fd =
        ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return QStringLiteral("cannot create %1: %2").arg(QFile::decodeName(path), systemError());
    }
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
    const bool written = ::write(fd, pid.constData(), size_t(pid.size())) == pid.size();
    ::close(fd);
    if (!written) {
        ::unlink(path.constData());
        return QStringLiteral("cannot write %1").arg(QFile::decodeName(path));
    }
    return {};
}

void withdrawSimulator(const QString& portName) {
    const QByteArray folder = entryFolder(false);
    if (folder.isEmpty()) {
        return;
    }
    const QByteArray path = entryPath(folder, portName);
    if (entryProcess(path) == QCoreApplication::applicationPid()) {
        ::unlink(path.constData());
    }
}

bool isAnnouncedSimulator(const QString& portName) {
    const QByteArray folder = entryFolder(false);
    return !folder.isEmpty() && ownsTerminal(entryProcess(entryPath(folder, portName)), portName);
}

#else

// Pseudo-terminals are POSIX only: there is nothing to announce.
QString announceSimulator(const QString&) {
    return {};
}
void withdrawSimulator(const QString&) {}
bool isAnnouncedSimulator(const QString&) {
    return false;
}

#endif

}  // namespace qn470
