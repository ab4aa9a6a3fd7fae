// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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
    p.start(exe, args);
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
