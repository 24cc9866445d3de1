// SPDX-License-Identifier: Apache-2.0
#include "cli/journal_access.h"

#include <QtGlobal>

#include "cli/cli_support.h"

namespace qn470::cli {

QString journalLocation(const std::string& urlOrEmpty) {
    if (!urlOrEmpty.empty()) {
        return QString::fromLocal8Bit(urlOrEmpty.c_str());
    }
    const QString fromEnvironment = qEnvironmentVariable(kJournalVariable);
    return fromEnvironment.isEmpty() ? Journal::defaultLocation() : fromEnvironment;
}

std::unique_ptr<Journal> openJournalOrReport(const std::string& urlOrEmpty) {
    QString error;
    std::unique_ptr<Journal> journal = Journal::open(journalLocation(urlOrEmpty), &error);
    if (!journal) {
        badInput(error.toLocal8Bit().toStdString());
    }
    return journal;
}

}  // namespace qn470::cli
