// SPDX-License-Identifier: Apache-2.0
// The list of simulated terminals: only in a folder private to the user, entries written without
// following links, and trusted only for a live process of this user holding the terminal.

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include <gtest/gtest.h>

#include "serial/pty_master.h"
#include "serial/simulator_registry.h"

namespace qn470 {
namespace {

// Sets an environment variable for one test, restoring it after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~ScopedVariable() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

class SimulatorRegistry : public testing::Test {
protected:
    void SetUp() override {
        if (!m_pty.ok()) {
            GTEST_SKIP() << m_pty.error().toStdString();
        }
        ASSERT_TRUE(m_runtime.isValid() && m_temp.isValid());
    }

    // The entry of this test's terminal in the runtime folder.
    QString entry() const {
        return m_runtime.filePath(QStringLiteral("qn470-simulators/") +
                                  QString(m_pty.portName()).replace('/', '-'));
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    test::PtyMaster m_pty;  // held by this process, as a simulator holds its terminal
    QTemporaryDir m_runtime;
    QTemporaryDir m_temp;
    ScopedVariable m_xdg{"XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())};
    ScopedVariable m_tmpdir{"TMPDIR", QFile::encodeName(m_temp.path())};
};

TEST_F(SimulatorRegistry, ATerminalThisProcessHoldsIsListedUntilWithdrawn) {
    EXPECT_FALSE(isAnnouncedSimulator(m_pty.portName()));
    EXPECT_EQ(announceSimulator(m_pty.portName()).toStdString(), "");
    EXPECT_TRUE(isAnnouncedSimulator(m_pty.portName()));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(m_runtime.filePath("qn470-simulators")), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    withdrawSimulator(m_pty.portName());
    EXPECT_FALSE(isAnnouncedSimulator(m_pty.portName()));
    EXPECT_FALSE(QFile::exists(entry()));
}

// Entries nobody can trust: each is planted where this terminal's entry goes.
TEST_F(SimulatorRegistry, APlantedOrStaleEntryIsNotASimulator) {
    const QString target = m_temp.filePath(QStringLiteral("holds-our-pid"));
    const struct {
        const char* name;
        std::function<void(const QString& path)> plant;
    } cases[] = {
        {"live_process_without_the_terminal",
         [](const QString& path) { writeFile(path, QByteArray::number(qint64(::getppid()))); }},
        {"init", [](const QString& path) { writeFile(path, "1"); }},
        {"gone_process", [](const QString& path) { writeFile(path, "2147483646"); }},
        {"not_a_number", [](const QString& path) { writeFile(path, "\x1b[2J"); }},
        {"link_to_a_file_with_our_pid",
         [&](const QString& path) {
             writeFile(target, QByteArray::number(QCoreApplication::applicationPid()));
             ASSERT_TRUE(QFile::link(target, path));
         }},
        {"folder", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
    };
    ASSERT_EQ(announceSimulator(m_pty.portName()).toStdString(), "");  // makes the folder
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(entry());
        QDir(entry()).removeRecursively();
        c.plant(entry());
        EXPECT_FALSE(isAnnouncedSimulator(m_pty.portName()));
    }
}

// A link planted where an entry is written: the link goes, the file it points to stays.
TEST_F(SimulatorRegistry, AnnouncingNeverWritesThroughALink) {
    ASSERT_TRUE(QDir(m_runtime.path()).mkdir(QStringLiteral("qn470-simulators")));
    ASSERT_EQ(::chmod(QFile::encodeName(m_runtime.filePath("qn470-simulators")), 0700), 0);
    const QString victim = m_temp.filePath(QStringLiteral("victim"));
    writeFile(victim, "precious");
    ASSERT_TRUE(QFile::link(victim, entry()));
    EXPECT_EQ(announceSimulator(m_pty.portName()).toStdString(), "");
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "precious");
    EXPECT_FALSE(QFileInfo(entry()).isSymLink());
    EXPECT_TRUE(isAnnouncedSimulator(m_pty.portName()));
}

// Without a private runtime folder the list goes to a folder of the temporary folder made 0700;
// one there already that others may write, or that is a link, is not used.
TEST_F(SimulatorRegistry, UsesOnlyAFolderPrivateToTheUser) {
    const QString fallback =
        m_temp.filePath(QStringLiteral("qn470-simulators-%1").arg(::geteuid()));
    const QString elsewhere = m_temp.filePath(QStringLiteral("elsewhere"));
    const struct {
        const char* name;
        QByteArray runtime;  // XDG_RUNTIME_DIR; null: unset
        std::function<void()> prepare;
        bool listed;
    } cases[] = {
        {"unset_runtime", QByteArray(), [] {}, true},
        {"shared_runtime", QFile::encodeName(m_temp.path()) + "/shared",
         [&] {
             QDir().mkdir(m_temp.filePath("shared"));
             ::chmod(QFile::encodeName(m_temp.filePath("shared")), 01777);
         },
         true},  // not used: the fallback is
        {"fallback_writable_by_others", QByteArray(),
         [&] {
             QDir().mkdir(fallback);
             ::chmod(QFile::encodeName(fallback), 0777);
         },
         false},
        {"fallback_is_a_link", QByteArray(),
         [&] {
             QDir().mkdir(elsewhere);
             ::chmod(QFile::encodeName(elsewhere), 0700);
             QFile::link(elsewhere, fallback);
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(fallback);
        QDir(fallback).removeRecursively();
        ScopedVariable runtime("XDG_RUNTIME_DIR", c.runtime);
        c.prepare();
        const QString why = announceSimulator(m_pty.portName());
        EXPECT_EQ(why.isEmpty(), c.listed) << why.toStdString();
        EXPECT_EQ(isAnnouncedSimulator(m_pty.portName()), c.listed);
        if (c.listed) {
            EXPECT_TRUE(QFileInfo(fallback).isDir() && !QFileInfo(fallback).isSymLink());
            EXPECT_EQ(QFile(fallback).permissions() & 0x0077, 0);  // no group or other bits
        } else {
            EXPECT_TRUE(QDir(elsewhere).isEmpty());
        }
        withdrawSimulator(m_pty.portName());
    }
}

}  // namespace
}  // namespace qn470
