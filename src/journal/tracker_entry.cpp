// SPDX-License-Identifier: Apache-2.0
#include "journal/tracker_entry.h"

#include <QCryptographicHash>
#include <QSysInfo>

#include "config/parameter_table.h"
#include "config/profile.h"
#include "config/series_codes.h"
#include "config/stored_form.h"
#include "config/wire_value.h"
#include "journal/journal_text.h"

namespace qn470 {
namespace {

// Byte for byte (see trackerText): restore finds a tracker by the IMEI stored here.
QString textOf(const ParameterSet& set, std::string_view code) {
    return trackerText(formatWireValue(set, parameter(code), Wire::Text));
}

}  // namespace

QByteArray storedProfile(const ParameterSet& set) {
    const std::string bytes = complementBytes(profileText(set));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

JournalEntry trackerEntry(const char* kind, const QString& port, const ParameterSet* before,
                          const ParameterSet* after, const OperationResult& result) {
    JournalEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.station = QSysInfo::machineHostName();
    entry.port = port;
    entry.kind = QString::fromLatin1(kind);
    entry.result = QString::fromStdString(result.text());
    if (const ParameterSet* tracker = after != nullptr ? after : before) {
        entry.imei = textOf(*tracker, "B2");
        entry.deviceId = textOf(*tracker, "O5");
        entry.firmware = textOf(*tracker, "O7");
    }
    if (before != nullptr) {
        entry.before = storedProfile(*before);
    }
    if (after != nullptr) {
        entry.after = storedProfile(*after);
    }
    return entry;
}

void setProfile(JournalEntry& entry, const QString& name, std::string_view bytes) {
    entry.profileName = name;
    entry.profileSha256 = QString::fromLatin1(
        QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                 QCryptographicHash::Sha256)
            .toHex());
}

void setBlocksWritten(JournalEntry& entry, const std::vector<int>& blocks) {
    entry.codesWritten.clear();
    for (const std::string& code : codesOfBlocks(blocks)) {
        entry.codesWritten.append(QString::fromStdString(code));
    }
}

}  // namespace qn470
