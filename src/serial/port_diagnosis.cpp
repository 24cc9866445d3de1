// SPDX-License-Identifier: Apache-2.0
#include "serial/port_diagnosis.h"

#include <QFile>
#include <QtGlobal>
#include <algorithm>

#include "serial/serial_link.h"

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace qn470 {
namespace {

// The texts; %1 is always the device path.
constexpr const char* kNoRightsNotInGroup =
    "%1 cannot be opened: no rights. It belongs to the group %2, and you (%3) are not in it.";
constexpr const char* kNoRightsAddToGroup = "Add yourself to the group:  sudo usermod -aG %2 %3";
constexpr const char* kNoRightsNewLogin =
    "Then log out and log in again: a new group counts only from a new login.";
constexpr const char* kNoRightsNotYet =
    "%1 cannot be opened: no rights. You (%3) are in its group %2, but this login does not have "
    "the group yet.";
constexpr const char* kNoRightsLogInAgain = "Log out and log in again, then try again.";
constexpr const char* kNoRightsMode =
    "%1 cannot be opened: no rights. Its permissions (mode %4, owner %5, group %2) do not let "
    "you (%3) read and write it.";
constexpr const char* kNoRightsAskAdmin =
    "Ask the administrator for a udev rule that gives it the group dialout and mode 0660 "
    "(GROUP=\"dialout\", "
    "MODE=\"0660\").";
constexpr const char* kBriefNotInGroup =
    "no rights: not in group %2 (sudo usermod -aG %2 %3, then log in again)";
constexpr const char* kBriefNotYet = "no rights: group %2 not in this login yet (log in again)";
constexpr const char* kBriefMode = "no rights: mode %4, owner %5, group %2";

constexpr const char* kBusy = "%1 cannot be opened: it is in use by another program.";
constexpr const char* kBusyHeldBy = "Held by %2.";
constexpr const char* kBusyLockFile = "Its lock file is %2.";
constexpr const char* kBusyHidden =
    "The program holding it cannot be seen from this user (it may be another user's); "
    "'sudo fuser -v %1' names it.";
constexpr const char* kBusyClose = "Close that program, then try again.";
constexpr const char* kModemManagerHolds =
    "ModemManager probes new USB serial adapters as if they were modems and keeps them open.";
constexpr const char* kModemManagerMayHold =
    "A newly plugged USB adapter may be held for a while by ModemManager, which probes it as if "
    "it were a modem.";
constexpr const char* kModemManagerRule =
    "To keep ModemManager away from USB serial adapters:  sudo cp %2 /etc/udev/rules.d/  "
    "then  sudo udevadm control --reload  and plug the adapter in again.";
constexpr const char* kBriefHeldBy = "busy: held by %2";
constexpr const char* kBriefHidden =
    "busy: held by a process that cannot be seen (sudo fuser -v %1)";
constexpr const char* kWindowsBusy =
    "%1 cannot be opened: it is in use by another program, or access to it is denied.";
constexpr const char* kWindowsClose = "Close the program that uses it, then try again.";
constexpr const char* kBriefWindowsBusy = "busy or no access";

constexpr const char* kMissing =
    "%1 does not exist: the adapter is not plugged in, or the system gave it another name.";
constexpr const char* kMissingPresent = "Serial ports present now:";
constexpr const char* kMissingNone = "No serial port is present now.";
constexpr const char* kMissingMore = "  ... and %2 more";
constexpr const char* kMissingChoose = "Plug the adapter in and choose its port.";
constexpr const char* kBriefMissing = "missing: %1 does not exist";

constexpr const char* kOther = "%1 cannot be opened: %2.";
constexpr const char* kBriefOther = "cannot open: %2";

// More would bury the advice under a screen of pseudo-terminals.
constexpr int kMaxListedPorts = 20;

QString fill(const char* text, const QString& path, const QString& a = {}, const QString& b = {},
             const QString& c = {}, const QString& d = {}) {
    QString out = QString::fromLatin1(text);
    out.replace(QLatin1String("%1"), path);
    out.replace(QLatin1String("%2"), a);
    out.replace(QLatin1String("%3"), b);
    out.replace(QLatin1String("%4"), c);
    out.replace(QLatin1String("%5"), d);
    return out;
}

PortDiagnosis missing(const QString& path, const QList<PortInfo>& present) {
    PortDiagnosis d{PortProblem::Missing, fill(kBriefMissing, path), {fill(kMissing, path)}};
    QStringList names;
    for (const PortInfo& port : present) {
        names.append(friendlyName(port));
    }
    names.sort(Qt::CaseInsensitive);
    if (names.isEmpty()) {
        d.lines.append(QString::fromLatin1(kMissingNone));
    } else {
        d.lines.append(QString::fromLatin1(kMissingPresent));
        for (qsizetype i = 0; i < names.size() && i < kMaxListedPorts; ++i) {
            d.lines.append(QStringLiteral("  ") + names[i]);
        }
        if (names.size() > kMaxListedPorts) {
            d.lines.append(
                fill(kMissingMore, path, QString::number(names.size() - kMaxListedPorts)));
        }
    }
    d.lines.append(QString::fromLatin1(kMissingChoose));
    return d;
}

#ifdef Q_OS_UNIX

QString holderList(const QList<PortHolder>& holders) {
    QStringList parts;
    for (const PortHolder& h : holders) {
        parts.append(h.command.isEmpty() ? QString::number(h.pid)
                                         : QStringLiteral("%1 (%2)").arg(h.pid).arg(h.command));
    }
    return parts.join(QLatin1String(", "));
}

bool isUsbAdapter(const QString& path) {
    return path.contains(QLatin1String("ttyUSB")) || path.contains(QLatin1String("ttyACM"));
}

PortDiagnosis noRights(const PortProbe& p) {
    const QString mode = QStringLiteral("%1").arg(p.mode, 4, 8, QLatin1Char('0'));
    const auto f = [&](const char* text) {
        return fill(text, p.path, p.group, p.user, mode, p.owner);
    };
    if (p.statOk && !p.groupIsRoot && !p.inGroupNow && !p.listedInGroup) {
        return {PortProblem::NoRights,
                f(kBriefNotInGroup),
                {f(kNoRightsNotInGroup), f(kNoRightsAddToGroup), f(kNoRightsNewLogin)}};
    }
    if (p.statOk && !p.groupIsRoot && !p.inGroupNow) {
        return {
            PortProblem::NoRights, f(kBriefNotYet), {f(kNoRightsNotYet), f(kNoRightsLogInAgain)}};
    }
    return {PortProblem::NoRights, f(kBriefMode), {f(kNoRightsMode), f(kNoRightsAskAdmin)}};
}

PortDiagnosis busy(const PortProbe& p) {
    QList<PortHolder> holders = p.holders;
    if (p.lockPid != 0 && std::none_of(holders.begin(), holders.end(),
                                       [&](const PortHolder& h) { return h.pid == p.lockPid; })) {
        holders.append(PortHolder{p.lockPid, p.lockCommand});
    }
    PortDiagnosis d{PortProblem::Busy, {}, {fill(kBusy, p.path)}};
    if (holders.isEmpty()) {
        d.brief = fill(kBriefHidden, p.path);
        d.lines.append(fill(kBusyHidden, p.path));
    } else {
        d.brief = fill(kBriefHeldBy, p.path, holderList(holders));
        d.lines.append(fill(kBusyHeldBy, p.path, holderList(holders)));
    }
    if (!p.lockFile.isEmpty()) {
        d.lines.append(fill(kBusyLockFile, p.path, p.lockFile));
    }
    d.lines.append(QString::fromLatin1(kBusyClose));
    const bool modemManager = std::any_of(holders.begin(), holders.end(), [](const PortHolder& h) {
        return h.command == QLatin1String("ModemManager");
    });
    if (modemManager || isUsbAdapter(p.path)) {
        d.lines.append(
            QString::fromLatin1(modemManager ? kModemManagerHolds : kModemManagerMayHold));
        d.lines.append(fill(kModemManagerRule, p.path, QString::fromLatin1(kModemManagerRulePath)));
    }
    return d;
}

QString fromLocal(const char* text) {
    return QString::fromLocal8Bit(text);
}

// open(2) as the serial port would, without touching the line settings.
int probeOpen(const QByteArray& path, bool& exclusive) {
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
#ifdef TIOCGEXCL
    int value = 0;
    if (::ioctl(fd, TIOCGEXCL, &value) == 0) {
        exclusive = value != 0;
    }
#endif
    ::close(fd);
    return 0;
}

void probeOwnership(const QByteArray& path, PortProbe& p) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        return;
    }
    p.statOk = true;
    p.mode = st.st_mode & 07777;
    const struct group* gr = ::getgrgid(st.st_gid);
    p.group = gr != nullptr ? fromLocal(gr->gr_name) : QString::number(st.st_gid);
    p.groupIsRoot = st.st_gid == 0;
    const struct passwd* owner = ::getpwuid(st.st_uid);
    p.owner = owner != nullptr ? fromLocal(owner->pw_name) : QString::number(st.st_uid);
    if (gr != nullptr) {
        for (char** member = gr->gr_mem; *member != nullptr; ++member) {
            p.listedInGroup = p.listedInGroup || fromLocal(*member) == p.user;
        }
    }
    const struct passwd* me = ::getpwuid(::geteuid());
    p.listedInGroup = p.listedInGroup || (me != nullptr && me->pw_gid == st.st_gid);
    p.inGroupNow = ::getegid() == st.st_gid;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0 && ::getgroups(count, groups.data()) == count) {
        p.inGroupNow =
            p.inGroupNow || std::find(groups.begin(), groups.end(), st.st_gid) != groups.end();
    }
}

QString processCommand(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLocal8Bit(comm.readLine(64)).trimmed();
}

// The other processes with the device open, from their /proc/PID/fd links.
void findHolders(const QByteArray& device, PortProbe& p) {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        p.holdersHidden = true;
        return;
    }
    const pid_t self = ::getpid();
    while (const struct dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == self) {
            continue;
        }
        const QByteArray fdPath = QByteArray("/proc/") + entry->d_name + "/fd";
        DIR* fds = ::opendir(fdPath.constData());
        if (fds == nullptr) {
            p.holdersHidden = p.holdersHidden || errno == EACCES || errno == EPERM;
            continue;
        }
        bool holds = false;
        while (const struct dirent* fd = ::readdir(fds)) {
            char target[PATH_MAX];
            const ssize_t n = ::readlinkat(::dirfd(fds), fd->d_name, target, sizeof target - 1);
            if (n > 0 && QByteArray(target, n) == device) {
                holds = true;
                break;
            }
        }
        ::closedir(fds);
        if (holds) {
            p.holders.append({pid, processCommand(pid)});
        }
    }
    ::closedir(proc);
    std::sort(p.holders.begin(), p.holders.end(),
              [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
}

bool processRuns(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// A lock file as the serial port writes it (LCK..ttyUSB0, pts/3 as LCK..pts_3) whose process
// still runs.
void findLock(const QString& path, PortProbe& p) {
    QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const char* const folders[] = {"/var/lock",         "/etc/locks", "/var/spool/locks",
                                   "/var/spool/uucp",   "/tmp",       "/var/tmp",
                                   "/var/lock/lockdev", "/run/lock"};
    for (const char* folder : folders) {
        const QString file = QString::fromLatin1(folder) + QLatin1String("/LCK..") + name;
        QFile lock(file);
        if (!lock.open(QIODevice::ReadOnly)) {
            continue;
        }
        bool number = false;
        const qint64 pid = QString::fromLatin1(lock.readLine(64)).trimmed().toLongLong(&number);
        if (number && pid > 0 && pid != ::getpid() && processRuns(pid)) {
            p.lockFile = file;
            p.lockPid = pid;
            p.lockCommand = processCommand(pid);
            return;
        }
    }
}

bool looksBusy(const PortProbe& p) {
    return p.openErrno == EBUSY || p.exclusive || p.lockPid != 0;
}

#endif

}  // namespace

PortProbe probePort(const QString& portName) {
    PortProbe p;
#ifdef Q_OS_UNIX
    p.path = CSerialLink::systemLocation(portName);
    const QByteArray path = p.path.toLocal8Bit();
    p.userIsRoot = ::geteuid() == 0;
    const struct passwd* me = ::getpwuid(::geteuid());
    p.user = me != nullptr ? fromLocal(me->pw_name) : QString::number(::geteuid());
    p.openErrno = probeOpen(path, p.exclusive);
    probeOwnership(path, p);
    findLock(p.path, p);
    if (looksBusy(p)) {
        char real[PATH_MAX];
        findHolders(::realpath(path.constData(), real) != nullptr ? QByteArray(real) : path, p);
    }
#else
    Q_UNUSED(portName);
#endif
    return p;
}

PortDiagnosis explainPort(const QString& portName, const PortProbe& probe,
                          QSerialPort::SerialPortError error, const QString& errorText,
                          const QList<PortInfo>& present) {
    const QString path = probe.path.isEmpty() ? CSerialLink::systemLocation(portName) : probe.path;
    const QString reason = errorText.isEmpty() ? QStringLiteral("unknown error") : errorText;
    if (probe.path.isEmpty()) {
        // No probing here: the serial port's error is all there is.
        switch (error) {
            case QSerialPort::NoError:
                return {};
            case QSerialPort::DeviceNotFoundError:
                return missing(path, present);
            case QSerialPort::PermissionError:
                return {PortProblem::Busy,
                        QString::fromLatin1(kBriefWindowsBusy),
                        {fill(kWindowsBusy, path), QString::fromLatin1(kWindowsClose)}};
            default:
                return {PortProblem::Other,
                        fill(kBriefOther, path, reason),
                        {fill(kOther, path, reason)}};
        }
    }
#ifdef Q_OS_UNIX
    switch (probe.openErrno) {
        case EACCES:
        case EPERM:
            return noRights(probe);
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return missing(path, present);
        default:
            break;
    }
    if (looksBusy(probe)) {
        return busy(probe);
    }
    if (probe.openErrno != 0) {
        const QString system = QString::fromLocal8Bit(std::strerror(probe.openErrno));
        return {PortProblem::Other, fill(kBriefOther, path, system), {fill(kOther, path, system)}};
    }
#endif
    if (error == QSerialPort::NoError) {
        return {};
    }
    return {PortProblem::Other, fill(kBriefOther, path, reason), {fill(kOther, path, reason)}};
}

PortDiagnosis diagnosePort(const QString& portName, QSerialPort::SerialPortError error,
                           const QString& errorText, const QList<PortInfo>& present) {
    return explainPort(portName, probePort(portName), error, errorText, present);
}

PortDiagnosis checkPort(const QString& portName, const QList<PortInfo>& present) {
#ifdef Q_OS_UNIX
    return explainPort(portName, probePort(portName), QSerialPort::NoError, {}, present);
#else
    QSerialPort port(CSerialLink::systemLocation(portName));
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return {};
    }
    return explainPort(portName, {}, port.error(), port.errorString(), present);
#endif
}

}  // namespace qn470
