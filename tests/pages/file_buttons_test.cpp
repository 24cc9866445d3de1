// SPDX-License-Identifier: Apache-2.0
// The three file buttons of the command window with scripted file dialogs: the names they
// write and read, their messages, cancelling, failures, and the recent-files list.

#include <QDir>
#include <QFile>
#include <cstring>

#include "command_window_support.h"
#include "config/parameter_value.h"

namespace qn470 {
namespace {

using test::CommandWindowTest;

class FileButtonsTest : public CommandWindowTest {
protected:
    void SetUp() override { create(); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(FileButtonsTest, CancellingAnyDialogChangesNothing) {
    session.showStatus(QStringLiteral("before\r\n"));
    const ParameterSet before = set;
    const QStringList recentBefore = recentFiles.files();
    for (int id : {1008, 140, 1009}) {
        click(id);
    }
    ASSERT_EQ(prompter.dialogs.size(), 3u);
    EXPECT_EQ(statusLog(), QStringLiteral("before"));
    EXPECT_EQ(std::memcmp(&set.record, &before.record, sizeof(ConfigRecord)), 0);
    EXPECT_EQ(recentFiles.files(), recentBefore);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pro", "*.bin"}, QDir::Files).isEmpty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FileButtonsTest, NamesGetTheirExtensionOnlyWhenMissing) {
    const struct {
        int button;
        const char* chosen;
        const char* file;  // what is written or read
        const char* status;
        const char* filter;
    } cases[] = {
        {1008, "car1", "car1.pro", "Write to file success.\r\n",
         "Setting file (*.pro);;All files (*.*)"},
        {1008, "car1.pro.old", "car1.pro.old", "Write to file success.\r\n",
         "Setting file (*.pro);;All files (*.*)"},
        {140, "car1", "car1.pro", "Read from file success.Please click any page.\r\n",
         "Setting file (*.pro);;All files (*.*)"},
        {140, "car1.pro.old", "car1.pro.old", "Read from file success.Please click any page.\r\n",
         "Setting file (*.pro);;All files (*.*)"},
        {1009, "car1", "car1.bin", "Write to bin file success.\r\n",
         "Setting file (*.bin);;All files (*.*)"},
        {1009, "car1.bin.x", "car1.bin.x", "Write to bin file success.\r\n",
         "Setting file (*.bin);;All files (*.*)"},
    };
    writeText(set, "O5", "SAVED");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        if (c.button == 140) {
            writeText(set, "O5", "CHANGED");  // the read brings back what was written
        }
        journal.clear();
        prompter.dialogs.clear();
        prompter.answers.push_back(path(c.chosen));
        click(c.button);
        EXPECT_EQ(session.statusText(), QString::fromLatin1(c.status));
        EXPECT_TRUE(QFile::exists(path(c.file)));
        ASSERT_EQ(prompter.dialogs.size(), 1u);
        EXPECT_EQ(prompter.dialogs[0].filter, QString::fromLatin1(c.filter));
        EXPECT_EQ(prompter.dialogs[0].save, c.button != 140);
        // Only the open dialog offers a name.
        EXPECT_EQ(prompter.dialogs[0].start,
                  c.button == 140 ? QStringLiteral("DefaultSystemConfig.pro") : QString());
        // The page is stored before a write and reloaded after a read.
        EXPECT_EQ(journal, (std::vector<std::string>{c.button == 140 ? "load file" : "store"}));
        EXPECT_EQ(recentFiles.files().value(0), path(c.file));
        EXPECT_EQ(readText(set, "O5"), "SAVED");
    }
    EXPECT_FALSE(QFile::exists(path("car1.pro.old.pro")));
    EXPECT_FALSE(QFile::exists(path("car1.bin.x.bin")));
    EXPECT_EQ(recentFiles.files().size(), RecentFiles::kMaxFiles);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FileButtonsTest, AFailedReadChangesNothingAndSaysSo) {
    writeText(set, "O5", "KEPT");
    const ParameterSet before = set;
    recentFiles.add(path("gone.pro"));
    QFile empty(path("empty.pro"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    for (const char* name : {"gone.pro", "empty.pro"}) {
        SCOPED_TRACE(name);
        journal.clear();
        prompter.answers.push_back(path(name));
        click(140);
        EXPECT_TRUE(session.statusText().startsWith(QStringLiteral("FAIL ! Read from file. ")))
            << session.statusText().toStdString();
        EXPECT_TRUE(session.statusText().contains(QString::fromLatin1(name)));
        EXPECT_TRUE(session.statusText().endsWith(QStringLiteral(".\r\n")));
        EXPECT_EQ(std::memcmp(&set.record, &before.record, sizeof(ConfigRecord)), 0);
        EXPECT_TRUE(journal.empty());  // the page is not reloaded
        EXPECT_FALSE(recentFiles.files().contains(path(name)));
    }
}

TEST_F(FileButtonsTest, AFailedWriteSaysSoAndIsNotRemembered) {
    const struct {
        int button;
        const char* prefix;
    } cases[] = {{1008, "FAIL ! Write to file. "}, {1009, "FAIL ! Write to bin file. "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix);
        prompter.answers.push_back(path("missing-folder/unit"));
        click(c.button);
        EXPECT_TRUE(session.statusText().startsWith(QString::fromLatin1(c.prefix)))
            << session.statusText().toStdString();
        EXPECT_TRUE(recentFiles.files().isEmpty());
    }
}

}  // namespace
}  // namespace qn470
