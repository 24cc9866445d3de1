#include "cli/journal_record.h"

#include <QCryptographicHash>
#include <QSysInfo>
#include <iostream>

#include "cli/cli_support.h"
#include "config/parameter_table.h"
#include "config/wire_value.h"

namespace qn470::cli {
namespace {

QByteArray storedProfile(const ParameterSet* set) {
    if (set == nullptr) {
        return {};
    }
    const std::string bytes = profileFileBytes(*set);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString textOf(const ParameterSet& set, std::string_view code) {
    return QString::fromStdString(formatWireValue(set, parameter(code), Wire::Text));
}

}  // namespace

JournalEntry trackerEntry(const QString& kind, const QString& port, const ParameterSet* before,
                          const ParameterSet* after, const QString& result) {
    JournalEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.station = QSysInfo::machineHostName();
    entry.port = port;
    entry.kind = kind;
    entry.result = result;
    if (const ParameterSet* tracker = after != nullptr ? after : before) {
        entry.imei = textOf(*tracker, "B2");
        entry.deviceId = textOf(*tracker, "O5");
        entry.firmware = textOf(*tracker, "O7");
    }
    entry.before = storedProfile(before);
    entry.after = storedProfile(after);
    return entry;
}

void setProfile(JournalEntry& entry, const QString& name, std::string_view bytes) {
    entry.profileName = name;
    entry.profileSha256 = QString::fromLatin1(
        QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                 QCryptographicHash::Sha256)
            .toHex());
}

void setCodesWritten(JournalEntry& entry, const std::vector<std::string>& codes) {
    entry.codesWritten.clear();
    for (const std::string& code : codes) {
        entry.codesWritten.append(QString::fromStdString(code));
    }
}

bool recordOrReport(Journal& journal, const JournalEntry& entry) {
    QString error;
    if (journal.record(entry, &error) < 0) {
        std::cerr << "qn470: " << error.toLocal8Bit().toStdString() << '\n';
        return false;
    }
    return true;
}

}  // namespace qn470::cli
