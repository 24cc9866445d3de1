// SPDX-License-Identifier: Apache-2.0
// The file buttons with scripted dialogs: names, extensions, messages, and that a cancelled or
// failed operation changes nothing.

#include "session/file_operations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "config/bin_image.h"
#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "serial/serial_link.h"
#include "session/device_session.h"
#include "session/scripted_prompter.h"

namespace qn470 {
namespace {

using test::ScriptedPrompter;

ParameterSet defaultSet() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

bool same(const ParameterSet& a, const ParameterSet& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class FileOperationsTest : public testing::Test {
protected:
    FileOperationsTest() {
        m_session.setPageHooks({[this] {
                                    ++m_stores;
                                    return StoreResult{};
                                },
                                [this](RecordSource source) { m_loads.push_back(source); }});
        writeNumber(m_set, "C1", 333);
        writeText(m_set, "E0", "files.example.org");
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_dir;
    ParameterSet m_set = defaultSet();
    CSerialLink m_link;
    ScriptedPrompter m_prompter;
    DeviceSession m_session{m_set, m_link, m_prompter};
    FileOperations m_files{m_session};
    QSignalSpy m_statuses{&m_session, &DeviceSession::statusChanged};
    int m_stores = 0;
    std::vector<RecordSource> m_loads;
};

TEST_F(FileOperationsTest, CancelledDialogsChangeNothingAndShowNothing) {
    const ParameterSet before = m_set;
    EXPECT_FALSE(m_files.saveToFile());
    EXPECT_FALSE(m_files.loadFromFile());
    EXPECT_FALSE(m_files.saveToBinFile());
    EXPECT_TRUE(same(before, m_set));
    EXPECT_EQ(m_statuses.count(), 0);
    EXPECT_TRUE(m_loads.empty());
    EXPECT_TRUE(files().isEmpty());

    // The dialogs as offered.
    ASSERT_EQ(m_prompter.dialogs.size(), 3u);
    EXPECT_TRUE(m_prompter.dialogs[0].save);
    EXPECT_EQ(m_prompter.dialogs[0].start, QString());
    EXPECT_EQ(m_prompter.dialogs[0].filter, QString("Setting file (*.pro);;All files (*.*)"));
    EXPECT_FALSE(m_prompter.dialogs[1].save);
    EXPECT_EQ(m_prompter.dialogs[1].start, QString("DefaultSystemConfig.pro"));
    EXPECT_EQ(m_prompter.dialogs[1].filter, QString("Setting file (*.pro);;All files (*.*)"));
    EXPECT_TRUE(m_prompter.dialogs[2].save);
    EXPECT_EQ(m_prompter.dialogs[2].filter, QString("Setting file (*.bin);;All files (*.*)"));
}

TEST_F(FileOperationsTest, ExtensionAppendedOnlyWhenMissing) {
    const struct {
        const char* chosen;
        const char* extension;
        const char* used;
    } cases[] = {
        {"car1", ".pro", "car1.pro"},
        {"car1.pro", ".pro", "car1.pro"},
        {"car1.pro.old", ".pro", "car1.pro.old"},
        {"car1.PRO", ".pro", "car1.PRO.pro"},
        {"my.profiles/car", ".pro", "my.profiles/car"},
        {"img", ".bin", "img.bin"},
        {"img.bin", ".bin", "img.bin"},
        {"img.pro", ".bin", "img.pro.bin"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileOperations::withExtension(c.chosen, c.extension), QString(c.used))
            << c.chosen;
    }

    m_prompter.answers = {path("car1"), path("car1.pro.old"), path("img")};
    EXPECT_TRUE(m_files.saveToFile());
    EXPECT_TRUE(m_files.saveToFile());
    EXPECT_TRUE(m_files.saveToBinFile());
    EXPECT_EQ(files(), QStringList({"car1.pro", "car1.pro.old", "img.bin"}));
    EXPECT_EQ(m_stores, 3) << "the page is stored before each save";
}

TEST_F(FileOperationsTest, ProfileRoundTripThroughTheButtons) {
    m_prompter.answers = {path("site")};
    ASSERT_TRUE(m_files.saveToFile());
    EXPECT_EQ(m_session.statusText(), QString("Write to file success.\r\n"));
    const ParameterSet saved = m_set;

    ASSERT_TRUE(m_files.loadDefaultProfile());
    EXPECT_EQ(readNumber(m_set, "C1"), readNumber(defaultSet(), "C1"));
    m_prompter.answers = {path("site")};  // ".pro" added again
    ASSERT_TRUE(m_files.loadFromFile());
    EXPECT_EQ(m_session.statusText(), QString("Read from file success.Please click any page.\r\n"));
    EXPECT_TRUE(same(saved, m_set));
    EXPECT_EQ(m_loads, (std::vector<RecordSource>{RecordSource::File, RecordSource::File}));
    // The set-command table follows the record.
    const SetCommandTable expected = SetCommandEncoder::encode(m_set);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(m_session.lineTable().lines[slot].line, expected.lines[slot].line);
    }
}

TEST_F(FileOperationsTest, FailedReadChangesNothing) {
    QFile junk(path("junk.pro"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is no profile at all\r\n");
    junk.close();
    QFile empty(path("empty.pro"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    const ParameterSet before = m_set;
    for (const QString name : {"missing.pro", "junk.pro", "empty.pro"}) {
        m_prompter.answers = {path(name)};
        EXPECT_FALSE(m_files.loadFromFile()) << name.toStdString();
        const QString status = m_session.statusText();
        EXPECT_TRUE(status.startsWith("FAIL ! Read from file. " + path(name) + ": "))
            << status.toStdString();
        EXPECT_TRUE(status.endsWith(".\r\n"));
    }
    EXPECT_TRUE(same(before, m_set));
    EXPECT_TRUE(m_loads.empty());
}

TEST_F(FileOperationsTest, FailedWritesSayTheyFailed) {
    const QString folder = path("no-such-folder");
    m_prompter.answers = {folder + "/a", folder + "/b"};
    EXPECT_FALSE(m_files.saveToFile());
    EXPECT_TRUE(m_session.statusText().startsWith("FAIL ! Write to file. " + folder + "/a.pro: "))
        << m_session.statusText().toStdString();
    EXPECT_FALSE(m_files.saveToBinFile());
    EXPECT_TRUE(
        m_session.statusText().startsWith("FAIL ! Write to bin file. " + folder + "/b.bin: "))
        << m_session.statusText().toStdString();
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(FileOperationsTest, BinFileStartsWithLengthCrcAndFormatMark) {
    m_prompter.answers = {path("image")};
    ASSERT_TRUE(m_files.saveToBinFile());
    EXPECT_EQ(m_session.statusText(), QString("Write to bin file success.\r\n"));
    QFile file(path("image.bin"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 1392);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x70);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x05);
    EXPECT_EQ(bytes[4], 2);
    const auto* image = reinterpret_cast<const unsigned char*>(bytes.constData());
    const uint16_t crc = crc16Xmodem(std::span(image + 4, 1388));
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), crc & 0xff);
    EXPECT_EQ(static_cast<unsigned char>(bytes[3]), crc >> 8);
}

TEST_F(FileOperationsTest, DefaultProfileAtStart) {
    ASSERT_TRUE(m_files.loadDefaultProfile());
    EXPECT_EQ(readNumber(m_set, "C1"), 180);
    EXPECT_EQ(readText(m_set, "E0"), "tracker.example.com");
    EXPECT_EQ(m_loads, std::vector<RecordSource>{RecordSource::File});
    EXPECT_TRUE(m_prompter.messages.empty());
    EXPECT_EQ(m_statuses.count(), 0);
}

}  // namespace
}  // namespace qn470
