// SPDX-License-Identifier: Apache-2.0
#include "session/file_operations.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "config/bin_image.h"
#include "config/default_profile.h"
#include "config/profile.h"
#include "session/device_session.h"
#include "session/file_path.h"
#include "session/prompter.h"
#include "session/status_texts.h"

namespace qn470 {
namespace {

QString text(const char* latin1) {
    return QString::fromLatin1(latin1);
}

// A message box longer than this would not fit the screen; `qn470 check` lists them all.
constexpr std::size_t kProblemsShown = 20;

QString failure(const char* format, const std::string& error) {
    return text(format).arg(
        QString::fromLocal8Bit(error.data(), static_cast<qsizetype>(error.size())));
}

}  // namespace

QString FileOperations::withExtension(const QString& path, const QString& extension) {
    return path.contains(extension, Qt::CaseSensitive) ? path : path + extension;
}

bool FileOperations::loadDefaultProfile() {
    if (m_session.isBusy()) {
        return false;
    }
    ParameterSet staging = m_session.parameters();
    qn470::loadDefaultProfile(staging);  // built in: cannot fail
    m_session.replaceRecord(staging, RecordSource::File);
    return true;
}

bool FileOperations::saveToFile() {
    return chooseFileToWrite(status::kWriteFileFieldRefused, status::kProfileFilter,
                             status::kProfileExtension) &&
           writeProfileFile(m_chosenFile);
}

bool FileOperations::chooseFileToWrite(const char* fieldRefused, const char* filter,
                                       const char* extension) {
    m_chosenFile.clear();
    if (m_session.isBusy()) {
        return false;
    }
    // Stopped before the dialog: no name is asked for a file that will not be written.
    if (const StoreResult stored = m_session.storeCurrentPage(); !stored.ok) {
        m_session.showStatus(text(fieldRefused).arg(stored.field));
        return false;
    }
    const QString chosen = m_session.prompter().saveFileName(text(status::kSaveDialogCaption),
                                                             QString(), text(filter));
    if (chosen.isEmpty()) {
        return false;
    }
    m_chosenFile = withExtension(chosen, text(extension));
    return true;
}

bool FileOperations::chooseProfileToOpen() {
    m_chosenFile.clear();
    if (m_session.isBusy()) {
        return false;
    }
    const QString chosen = m_session.prompter().openFileName(text(status::kOpenDialogCaption),
                                                             text(status::kDefaultProfileFileName),
                                                             text(status::kProfileFilter));
    if (chosen.isEmpty()) {
        return false;
    }
    m_chosenFile = withExtension(chosen, text(status::kProfileExtension));
    return true;
}

bool FileOperations::loadFromFile() {
    return chooseProfileToOpen() && readProfileFile(m_chosenFile);
}

ReadResult FileOperations::readOver(const QString& path, ParameterSet& staging) {
    const ReadResult result = readProfile(filePath(path), staging);
    if (!result.ok) {
        m_session.showStatus(failure(status::kReadFileFail, result.error));
    }
    return result;
}

bool FileOperations::readProfileCopy(ParameterSet& into) {
    if (!chooseProfileToOpen()) {
        return false;
    }
    ParameterSet staging = m_session.parameters();
    if (!readOver(m_chosenFile, staging).ok) {
        return false;
    }
    into = staging;
    return true;
}

bool FileOperations::saveToBinFile() {
    return chooseFileToWrite(status::kWriteBinFieldRefused, status::kBinFilter,
                             status::kBinExtension) &&
           writeBinFile(m_chosenFile);
}

bool FileOperations::writeProfileFile(const QString& path) {
    if (m_session.isBusy()) {
        return false;
    }
    const FileResult result = writeProfile(m_session.parameters(), filePath(path));
    m_session.showStatus(result.ok ? text(status::kWriteFileSuccess)
                                   : failure(status::kWriteFileFail, result.error));
    if (result.ok) {
        emit profileWritten(path);
    }
    return result.ok;
}

bool FileOperations::readProfileFile(const QString& path) {
    if (m_session.isBusy()) {
        return false;
    }
    ParameterSet staging = m_session.parameters();
    const ReadResult result = readOver(path, staging);
    if (!result.ok) {
        return false;
    }
    m_session.replaceRecord(staging, RecordSource::File);
    m_session.showStatus(text(status::kReadFileSuccess));
    // Stored files keep loading as they always did; the user learns what in them is wrong.
    if (!result.problems.empty()) {
        QString list;
        for (std::size_t i = 0; i < result.problems.size() && i < kProblemsShown; ++i) {
            list += QString::fromLatin1(describeProblem(result.problems[i])) + QLatin1Char('\n');
        }
        if (result.problems.size() > kProblemsShown) {
            list += text(status::kProfileMoreProblems).arg(result.problems.size() - kProblemsShown);
        }
        m_session.prompter().message(
            text(status::kProfileProblems)
                .arg(QFileInfo(path).fileName(), QString::number(result.problems.size()), list),
            text(status::kProfileProblemsCaption), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
    return true;
}

bool FileOperations::writeBinFile(const QString& path) {
    if (m_session.isBusy()) {
        return false;
    }
    // The image's length, CRC and format mark are set in the record as well.
    const FileResult result = qn470::writeBinFile(m_session.parameters().record, filePath(path));
    m_session.showStatus(result.ok ? text(status::kWriteBinSuccess)
                                   : failure(status::kWriteBinFail, result.error));
    return result.ok;
}

}  // namespace qn470
