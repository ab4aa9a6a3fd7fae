// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Starts a program of ours. Where the tests run under an emulator (the arm64 build on an amd64
// machine, under qemu), the programs they start run under it too: the emulator does not follow
// one program's exec of another.
// The emulated program's preloads are not the emulator's: qemu hands them on (QEMU_SET_ENV).
inline void startProgram(QProcess& p, const QString& exe, const QStringList& args) {
    const QString emulator = qEnvironmentVariable("KT520_TEST_EMULATOR");
    if (emulator.isEmpty()) {
        p.start(exe, args);
        return;
    }
    QProcessEnvironment env = p.processEnvironment();
    if (env.isEmpty()) env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_PRELOAD"));
    p.setProcessEnvironment(env);
    p.start(emulator, QStringList{exe} + args);
}

// A program of ours run as the user runs it. exitCode -1: it hung (killed after the guard) or
// never started; -2: it crashed.
struct ProcessRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ProcessRun runProcess(const QString& exe, const QStringList& args,
                             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                             int guardMs = 120000) {
    QProcess p;
    p.setProcessEnvironment(env);
    startProgram(p, exe, args);
    ProcessRun r;
    if (!p.waitForStarted(30000) || !p.waitForFinished(guardMs)) { // hang guards only
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
