// SPDX-License-Identifier: Apache-2.0
#include "serial/port_diagnosis.h"

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>

#include "serial/pty_master.h"
#include "serial/serial_link.h"

namespace qn470 {
namespace {

// explainPort over made-up facts: every text, whatever machine runs the test.
struct ExplainCase {
    const char* name;
    PortProbe probe;
    QSerialPort::SerialPortError error;
    PortProblem kind;
    QStringList contains;  // in the text, in this order
    QStringList absent;
    const char* brief;
};

PortProbe fact(const char* path, int openErrno) {
    PortProbe p;
    p.path = path;
    p.openErrno = openErrno;
    p.statOk = true;
    p.mode = 0660;
    p.owner = "root";
    p.group = "dialout";
    p.user = "alice";
    return p;
}

PortProbe with(PortProbe p, const std::function<void(PortProbe&)>& change) {
    change(p);
    return p;
}

const QList<PortInfo> kPresent = {{"ttyUSB0", "USB-Serial Controller", "Prolific Technology Inc."},
                                  {"pts/4", "pseudo-terminal", ""}};

class Explain : public testing::TestWithParam<ExplainCase> {};

TEST_P(Explain, KindTextAndBrief) {
    const ExplainCase& c = GetParam();
    const PortDiagnosis d = explainPort("ttyX", c.probe, c.error, "Permission denied", kPresent);
    EXPECT_EQ(d.kind, c.kind);
    const QString text = d.text();
    qsizetype at = 0;
    for (const QString& part : c.contains) {
        const qsizetype found = text.indexOf(part, at);
        EXPECT_GE(found, 0) << part.toStdString() << " in order in\n" << text.toStdString();
        at = found < 0 ? at : found + part.size();
    }
    for (const QString& part : c.absent) {
        EXPECT_FALSE(text.contains(part)) << part.toStdString() << " in\n" << text.toStdString();
    }
    EXPECT_EQ(d.brief, QString(c.brief));
}

INSTANTIATE_TEST_SUITE_P(
    PortDiagnosis, Explain,
    testing::Values(
        ExplainCase{"NotInGroup",
                    fact("/dev/ttyUSB0", EACCES),
                    QSerialPort::PermissionError,
                    PortProblem::NoRights,
                    {"/dev/ttyUSB0 cannot be opened: no rights", "group dialout",
                     "you (alice) are not in it", "sudo usermod -aG dialout alice",
                     "log out and log in again"},
                    {"ModemManager"},
                    "no rights: not in group dialout (sudo usermod -aG dialout alice, then log in "
                    "again)"},
        ExplainCase{
            "AddedButSameLogin",
            with(fact("/dev/ttyUSB0", EACCES), [](PortProbe& p) { p.listedInGroup = true; }),
            QSerialPort::PermissionError,
            PortProblem::NoRights,
            {"You (alice) are in its group dialout", "this login does not have", "log in again"},
            {"usermod"},
            "no rights: group dialout not in this login yet (log in again)"},
        ExplainCase{"GroupRootNeedsTheAdministrator",
                    with(fact("/dev/ttyS3", EPERM),
                         [](PortProbe& p) {
                             p.group = "root";
                             p.groupIsRoot = true;
                             p.mode = 0600;
                         }),
                    QSerialPort::PermissionError,
                    PortProblem::NoRights,
                    {"mode 0600, owner root, group root", "(alice)", "GROUP=\"dialout\""},
                    {"usermod"},
                    "no rights: mode 0600, owner root, group root"},
        ExplainCase{
            "ModemManagerHoldsIt",
            with(fact("/dev/ttyUSB0", EBUSY),
                 [](PortProbe& p) {
                     p.holders = {{812, "ModemManager"}};
                 }),
            QSerialPort::PermissionError,
            PortProblem::Busy,
            {"in use by another program", "Held by 812 (ModemManager).", "ModemManager probes",
             "sudo cp /usr/share/doc/qn470-config/examples/60-qn470-modemmanager.rules "
             "/etc/udev/rules.d/",
             "sudo udevadm control --reload"},
            {"cannot be seen"},
            "busy: held by 812 (ModemManager)"},
        ExplainCase{"HolderOfAnotherUser",
                    with(fact("/dev/ttyS1", EBUSY), [](PortProbe& p) { p.holdersHidden = true; }),
                    QSerialPort::PermissionError,
                    PortProblem::Busy,
                    {"cannot be seen from this user", "sudo fuser -v /dev/ttyS1"},
                    {"Held by", "ModemManager"},
                    "busy: held by a process that cannot be seen (sudo fuser -v /dev/ttyS1)"},
        ExplainCase{"LockFileOfARunningProgram",
                    with(fact("/dev/ttyUSB1", 0),
                         [](PortProbe& p) {
                             p.lockPid = 4321;
                             p.lockCommand = "minicom";
                             p.lockFile = "/var/lock/LCK..ttyUSB1";
                             p.holders = {{77, "cat"}};
                         }),
                    QSerialPort::PermissionError,
                    PortProblem::Busy,
                    {"Held by 77 (cat), 4321 (minicom).", "/var/lock/LCK..ttyUSB1",
                     "may be held for a while by ModemManager", "udevadm"},
                    {},
                    "busy: held by 77 (cat), 4321 (minicom)"},
        ExplainCase{"ExclusiveUseSeenByRoot",
                    with(fact("/dev/pts/7", 0),
                         [](PortProbe& p) {
                             p.exclusive = true;
                             p.holders = {{99, "picocom"}};
                         }),
                    QSerialPort::NoError,
                    PortProblem::Busy,
                    {"Held by 99 (picocom)."},
                    {"ModemManager"},
                    "busy: held by 99 (picocom)"},
        ExplainCase{"Missing",
                    fact("/dev/ttyUSB3", ENOENT),
                    QSerialPort::DeviceNotFoundError,
                    PortProblem::Missing,
                    {"/dev/ttyUSB3 does not exist",
                     "present now:", "  Prolific Technology Inc. USB-Serial Controller (ttyUSB0)",
                     "  pseudo-terminal (pts/4)", "Plug the adapter in"},
                    {"no rights"},
                    "missing: /dev/ttyUSB3 does not exist"},
        ExplainCase{"GoneWhileOpening",
                    fact("/dev/ttyACM0", ENXIO),
                    QSerialPort::OpenError,
                    PortProblem::Missing,
                    {"/dev/ttyACM0 does not exist"},
                    {},
                    "missing: /dev/ttyACM0 does not exist"},
        ExplainCase{"AnyOtherSystemError",
                    fact("/dev/ttyS0", EIO),
                    QSerialPort::ResourceError,
                    PortProblem::Other,
                    {"/dev/ttyS0 cannot be opened: Input/output error."},
                    {"usermod", "Held by"},
                    "cannot open: Input/output error"},
        ExplainCase{"OpensNow",
                    fact("/dev/ttyS0", 0),
                    QSerialPort::NoError,
                    PortProblem::None,
                    {},
                    {"cannot"},
                    ""},
        ExplainCase{"OpensNowButTheSerialPortRefused",
                    fact("/dev/ttyS0", 0),
                    QSerialPort::UnsupportedOperationError,
                    PortProblem::Other,
                    {"/dev/ttyS0 cannot be opened: Permission denied."},
                    {},
                    "cannot open: Permission denied"},
        // Without probing (Windows) only the serial port's error is known.
        ExplainCase{"UnprobedAccessDenied",
                    {},
                    QSerialPort::PermissionError,
                    PortProblem::Busy,
                    {"in use by another program, or access to it is denied"},
                    {"usermod", "udevadm"},
                    "busy or no access"},
        ExplainCase{"UnprobedNotFound",
                    {},
                    QSerialPort::DeviceNotFoundError,
                    PortProblem::Missing,
                    {"does not exist", "(pts/4)"},
                    {},
                    "missing: /dev/ttyX does not exist"}),
    [](const testing::TestParamInfo<ExplainCase>& info) { return info.param.name; });

TEST(PortDiagnosis, LongPortListIsCut) {
    QList<PortInfo> many;
    for (int i = 0; i < 25; ++i) {
        many.append({QString("pts/%1").arg(i + 100), "pseudo-terminal", ""});
    }
    const PortDiagnosis d =
        explainPort("x", fact("/dev/x", ENOENT), QSerialPort::NoError, {}, many);
    EXPECT_EQ(d.lines.filter("pseudo-terminal").size(), 20);
    EXPECT_TRUE(d.text().contains("... and 5 more"));
}

// On real pseudo-terminals ------------------------------------------------------------------

// Runs work() in a child process with standard output on a pipe; returns what work() returned
// and whatever the child wrote there. A stuck child is killed.
QByteArray inChild(const std::function<QByteArray()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        ::dup2(fds[1], STDOUT_FILENO);
        const QByteArray out = work();
        const ssize_t n = ::write(STDOUT_FILENO, out.constData(), static_cast<size_t>(out.size()));
        ::_exit(n == out.size() ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray out;
    QDeadlineTimer deadline(20000);
    pollfd p{fds[0], POLLIN, 0};
    while (!deadline.hasExpired() && ::poll(&p, 1, 100) >= 0) {
        char buffer[4096];
        const ssize_t n = p.revents != 0 ? ::read(fds[0], buffer, sizeof buffer) : -1;
        if (n == 0) {
            break;
        }
        if (n > 0) {
            out.append(buffer, n);
        }
    }
    ::close(fds[0]);
    if (deadline.hasExpired()) {
        ::kill(child, SIGKILL);
        ADD_FAILURE() << "the child did not finish";
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return out;
}

// Becomes nobody (65534) with no extra groups; false when that is refused.
bool becomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

QString userName(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw != nullptr ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid);
}

bool inGroup(gid_t gid) {
    gid_t groups[256];
    const int count = ::getgroups(256, groups);
    return ::getegid() == gid ||
           std::find(groups, groups + std::max(count, 0), gid) != groups + std::max(count, 0);
}

enum class Through { Diagnosis, CommandLine };

struct RightsCase {
    const char* name;
    Through through;
};

class NoRightsOnPty : public testing::TestWithParam<RightsCase> {};

// A pseudo-terminal the user running the diagnosis may not open: as root the test drops to
// nobody in a child, otherwise it takes its own rights away.
TEST_P(NoRightsOnPty, NamesTheGroupAndTheCommand) {
    test::PtyMaster pty;
    if (!pty.ok()) {
        GTEST_SKIP() << "no pseudo-terminal: " << pty.error().toStdString();
    }
    const QByteArray path = QByteArray("/dev/") + pty.portName().toLocal8Bit();
    const bool root = ::geteuid() == 0;
    if (root) {
        // As an adapter is: root's, group dialout (or tty), read and write for the group only.
        const group* owners = ::getgrnam("dialout");
        owners = owners != nullptr ? owners : ::getgrnam("tty");
        ASSERT_EQ(::chown(path.constData(), 0, owners != nullptr ? owners->gr_gid : 0), 0);
    }
    ASSERT_EQ(::chmod(path.constData(), root ? 0660 : 0), 0) << strerror(errno);
    struct stat st {};
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    const group* gr = ::getgrgid(st.st_gid);
    const QString groupName = gr != nullptr ? QString::fromLocal8Bit(gr->gr_name) : QString();
    const QString user = root ? userName(65534) : userName(::geteuid());
    const QString port = pty.portName();
    // nobody may not enter the checkout (a clone in a private folder): it runs a copy from a
    // folder of its own under /tmp (TMPDIR may be private too). qn470 links no library of ours.
    QByteArray program = QN470_CLI;
    QTemporaryDir reachable(QStringLiteral("/tmp/qn470-rights-XXXXXX"));
    if (root && GetParam().through == Through::CommandLine) {
        ASSERT_TRUE(reachable.isValid()) << reachable.errorString().toStdString();
        ASSERT_EQ(::chmod(QFile::encodeName(reachable.path()).constData(), 0755), 0);
        const QString copy = reachable.filePath(QStringLiteral("qn470"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QN470_CLI), copy));
        ASSERT_EQ(::chmod(QFile::encodeName(copy).constData(), 0755), 0);
        program = QFile::encodeName(copy);
    }
    const QByteArray out = inChild([&]() -> QByteArray {
        if (root && !becomeNobody()) {
            return "cannot become nobody";
        }
        if (GetParam().through == Through::CommandLine) {
            ::dup2(STDOUT_FILENO, STDERR_FILENO);
            const QByteArray portArg = port.toLocal8Bit();
            ::execl(program.constData(), "qn470", "send", "--port", portArg.constData(),
                    "--wait-ms", "0", "AT", static_cast<char*>(nullptr));
            return "exec failed";
        }
        CSerialLink link;
        if (link.open(port, 115200)) {
            return "opened";
        }
        const PortDiagnosis d = diagnosePort(port, link.openError(), link.openErrorText(), {});
        return QByteArray::number(static_cast<int>(d.kind)) + '\n' + d.text().toUtf8();
    });
    ASSERT_NE(out, "cannot become nobody");
    ASSERT_NE(out, "exec failed");
    const QString text = QString::fromUtf8(out);
    if (GetParam().through == Through::CommandLine) {
        // Standard error went to the pipe as well.
        EXPECT_TRUE(text.contains("serial port is open fail.\nqn470: cannot open " + port +
                                  " at 115200 baud\nqn470: /dev/" + port +
                                  " cannot be opened: no rights."))
            << QString(text).replace('\r', "\\r").toStdString();
    } else {
        EXPECT_TRUE(text.startsWith(QString::number(static_cast<int>(PortProblem::NoRights)) +
                                    "\n/dev/" + port + " cannot be opened: no rights."))
            << text.toStdString();
    }
    // The command is the advice only when the user is not in the group at all.
    if (st.st_gid != 0 && gr != nullptr && (root || !inGroup(st.st_gid))) {
        EXPECT_TRUE(text.contains("sudo usermod -aG " + groupName + " " + user))
            << text.toStdString();
        EXPECT_TRUE(text.contains("log in again")) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(PortDiagnosis, NoRightsOnPty,
                         testing::Values(RightsCase{"Diagnosis", Through::Diagnosis},
                                         RightsCase{"CommandLine", Through::CommandLine}),
                         [](const testing::TestParamInfo<RightsCase>& info) {
                             return info.param.name;
                         });

// A child that holds the pseudo-terminal's slave open in exclusive mode until told to stop.
class ExclusiveHolder {
public:
    explicit ExclusiveHolder(const QByteArray& path) {
        int ready[2];
        int stop[2];
        if (::pipe(ready) != 0 || ::pipe(stop) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(stop[1]);
            const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
            const char ok = fd >= 0 && ::ioctl(fd, TIOCEXCL) == 0 ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            char c;
            (void)!::read(stop[0], &c, 1);  // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(stop[0]);
        m_stop = stop[1];
        char ok = '0';
        m_holding = ::read(ready[0], &ok, 1) == 1 && ok == '1';
        ::close(ready[0]);
    }
    ~ExclusiveHolder() {
        if (m_pid > 0) {
            ::close(m_stop);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    ExclusiveHolder(const ExclusiveHolder&) = delete;
    ExclusiveHolder& operator=(const ExclusiveHolder&) = delete;

    bool holding() const { return m_holding; }
    qint64 pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_stop = -1;
    bool m_holding = false;
};

TEST(PortDiagnosisOnPty, ExclusiveHolderIsNamed) {
    test::PtyMaster pty;
    if (!pty.ok()) {
        GTEST_SKIP() << "no pseudo-terminal: " << pty.error().toStdString();
    }
    ExclusiveHolder holder(QByteArray("/dev/") + pty.portName().toLocal8Bit());
    ASSERT_TRUE(holder.holding());
    // What 'qn470 ports --check' asks; as root open(2) passes, the exclusive mode still shows.
    const PortDiagnosis d = checkPort(pty.portName(), {});
    EXPECT_EQ(d.kind, PortProblem::Busy) << d.text().toStdString();
    EXPECT_TRUE(d.text().contains(QString("Held by %1 (").arg(holder.pid())))
        << d.text().toStdString();
    EXPECT_TRUE(d.brief.startsWith(QString("busy: held by %1 (").arg(holder.pid())))
        << d.brief.toStdString();
}

TEST(PortDiagnosisOnPty, SerialPortOfAnotherProgramIsNamed) {
    test::PtyMaster pty;
    if (!pty.ok()) {
        GTEST_SKIP() << "no pseudo-terminal: " << pty.error().toStdString();
    }
    // Another qn470 holds the port through the same serial port code (lock file and exclusive
    // mode) while it waits for answers.
    QProcess other;
    other.start(QN470_CLI, {"send", "--port", pty.portName(), "--wait-ms", "20000", "PING"});
    ASSERT_TRUE(other.waitForStarted());
    QByteArray seen;
    QDeadlineTimer deadline(10000);
    while (!seen.contains("PING\r\n") && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        seen += pty.readAvailable();
    }
    ASSERT_TRUE(seen.contains("PING\r\n")) << "the other qn470 never opened the port";

    CSerialLink link;
    EXPECT_FALSE(link.open(pty.portName(), 115200));
    EXPECT_NE(link.openError(), QSerialPort::NoError);
    const PortDiagnosis d =
        diagnosePort(pty.portName(), link.openError(), link.openErrorText(), {});
    const qint64 pid = other.processId();
    other.kill();
    other.waitForFinished();
    EXPECT_EQ(d.kind, PortProblem::Busy) << d.text().toStdString();
    EXPECT_TRUE(d.text().contains(QString("Held by %1 (qn470).").arg(pid)))
        << d.text().toStdString();
}

class MissingPort : public testing::TestWithParam<const char*> {};

TEST_P(MissingPort, ListsThePortsThatExist) {
    test::PtyMaster pty;
    if (!pty.ok()) {
        GTEST_SKIP() << "no pseudo-terminal: " << pty.error().toStdString();
    }
    CSerialLink link;
    ASSERT_FALSE(link.open(GetParam(), 115200));
    const PortDiagnosis d =
        diagnosePort(GetParam(), link.openError(), link.openErrorText(), systemPortSource()());
    EXPECT_EQ(d.kind, PortProblem::Missing);
    EXPECT_EQ(d.lines.value(0), "/dev/" + QString(GetParam()) +
                                    " does not exist: the adapter is not plugged in, or the "
                                    "system gave it another name.");
    // Linux lists pseudo-terminals as present ports.
    EXPECT_TRUE(d.lines.contains("  pseudo-terminal (" + pty.portName() + ")"))
        << d.text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(PortDiagnosis, MissingPort, testing::Values("pts/999", "ttyQN999"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return QString(info.param).remove('/').toStdString();
                         });

}  // namespace
}  // namespace qn470
