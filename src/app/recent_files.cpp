// SPDX-License-Identifier: Apache-2.0
#include "app/recent_files.h"

namespace qn470 {
namespace {

constexpr char kGroup[] = "Recent File List";

QString key(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

RecentFiles::RecentFiles(QSettings& settings) : m_settings(settings) {
    m_settings.beginGroup(QLatin1String(kGroup));
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = m_settings.value(key(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path)) {
            m_files.append(path);
        }
    }
    m_settings.endGroup();
}

void RecentFiles::add(const QString& path) {
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > kMaxFiles) {
        m_files.removeLast();
    }
    save();
}

void RecentFiles::remove(const QString& path) {
    m_files.removeAll(path);
    save();
}

void RecentFiles::save() {
    m_settings.beginGroup(QLatin1String(kGroup));
    for (int i = 0; i < kMaxFiles; ++i) {
        if (i < m_files.size()) {
            m_settings.setValue(key(i), m_files.at(i));
        } else {
            m_settings.remove(key(i));
        }
    }
    m_settings.endGroup();
    m_settings.sync();
}

}  // namespace qn470
