// SPDX-License-Identifier: Apache-2.0
#pragma once

// A path the user chose, as the file layer takes it: in the system's own encoding on Linux (a
// name that is not UTF-8 still opens), as UTF-16 on Windows.

#include <QFile>
#include <QString>
#include <filesystem>

namespace qn470 {

inline std::filesystem::path filePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace qn470
