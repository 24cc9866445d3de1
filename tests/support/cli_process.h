// SPDX-License-Identifier: Apache-2.0
// Runs the built qn470 as a process while this test's event loop keeps going, so simulators
// running in the test keep serving it.
#pragma once

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace qn470 {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray rawOut;  // standard output as bytes
};

inline CliRun runQn470(
    const QStringList& arguments, int ms = 20000,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(QN470_CLI), arguments);
    loop.exec();
    CliRun run;
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "qn470 " << arguments.join(' ').toStdString() << " did not finish";
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.rawOut = process.readAllStandardOutput();
    run.out = QString::fromLocal8Bit(run.rawOut);
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace qn470
