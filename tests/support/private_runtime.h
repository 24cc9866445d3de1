// SPDX-License-Identifier: Apache-2.0
// A runtime folder of the test's own, made as a session's is (0700), for this process and the
// qn470 it starts: simulators announce themselves there, so --watch and port lists never see the
// trackers of tests running beside this one. Undone when it goes out of scope.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>

namespace qn470::test {

class PrivateRuntime {
public:
    // False when the folder cannot be made private.
    bool make(const QString& folder, QProcessEnvironment& environment) {
        if (!QDir().mkpath(folder) ||
            !QFile::setPermissions(
                folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
            return false;
        }
        qputenv("XDG_RUNTIME_DIR", folder.toLocal8Bit());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
        return true;
    }

    ~PrivateRuntime() { qputenv("XDG_RUNTIME_DIR", m_saved); }

private:
    QByteArray m_saved = qgetenv("XDG_RUNTIME_DIR");
};

}  // namespace qn470::test
