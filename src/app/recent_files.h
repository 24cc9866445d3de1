// SPDX-License-Identifier: Apache-2.0
#pragma once

// The most-recently-used file list, kept in the tool's settings: at most four paths, newest
// first, under "Recent File List" as File1 .. File4.

#include <QSettings>
#include <QStringList>

namespace qn470 {

// Where the tool keeps its own settings.
inline constexpr char kSettingsOrganization[] = "Local AppWizard-Generated Applications";
inline constexpr char kSettingsApplication[] = "qn470-config";

class RecentFiles {
public:
    static constexpr int kMaxFiles = 4;

    // Reads the list from settings; every change is written back at once.
    explicit RecentFiles(QSettings& settings);

    const QStringList& files() const { return m_files; }

    // Puts path first, dropping an older entry for the same path and the oldest beyond four.
    void add(const QString& path);

    // Drops path, e.g. when it could not be opened.
    void remove(const QString& path);

private:
    void save();

    QSettings& m_settings;
    QStringList m_files;
};

}  // namespace qn470
