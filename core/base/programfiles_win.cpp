// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/programfiles.h"
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

ProgramFiles ProgramFiles::forProgram(const QString& appDir) {
    // A folder's read-only flag says nothing of who may write in it (Program Files): only a
    // file made there tells.
    QTemporaryFile probe(QDir(appDir).filePath(QStringLiteral("kt520-XXXXXX.tmp")));
    const bool writable = probe.open();
    // %APPDATA% (the roaming profile), where Windows programs keep their settings.
    QString appData = qEnvironmentVariable("APPDATA");
    if (!QDir::isAbsolutePath(appData))
        appData = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return locate(appDir, writable, appData);
}
