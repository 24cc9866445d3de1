#include "serial/simulator_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qn470 {
namespace {

QString entryPath(const QString& portName) {
    // Not QStandardPaths: it warns on every call where XDG_RUNTIME_DIR is unset (root, CI).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder =
        !runtime.isEmpty() ? runtime + QStringLiteral("/qn470-simulators/")
                           : QDir::tempPath() + QStringLiteral("/qn470-simulators-%1/")
                                                    .arg(QString::fromLocal8Bit(qgetenv("USER")));
    // "pts/3" -> "pts-3": one file per terminal.
    return folder + QString(portName).replace(QLatin1Char('/'), QLatin1Char('-'));
}

bool processAlive(qint64 pid) {
#ifdef Q_OS_LINUX
    return pid > 0 && QFile::exists(QStringLiteral("/proc/%1").arg(pid));
#else
    return pid > 0;
#endif
}

}  // namespace

void announceSimulator(const QString& portName) {
    const QString path = entryPath(portName);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QByteArray::number(QCoreApplication::applicationPid()));
    }
}

void withdrawSimulator(const QString& portName) {
    QFile file(entryPath(portName));
    if (file.open(QIODevice::ReadOnly) &&
        file.readAll().trimmed().toLongLong() == QCoreApplication::applicationPid()) {
        file.close();
        file.remove();
    }
}

bool isAnnouncedSimulator(const QString& portName) {
    QFile file(entryPath(portName));
    return file.open(QIODevice::ReadOnly) && processAlive(file.readAll().trimmed().toLongLong());
}

}  // namespace qn470
