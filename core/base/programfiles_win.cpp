// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/programfiles.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
// The setup program leaves its uninstaller beside the programs; an unzipped folder has none.
const QString Uninstaller = QStringLiteral("uninstall.exe");

bool mayKeepSettings(const QString& appDir) {
    // An installed copy keeps the user's settings in the profile even where it could write its
    // own folder (a per-user install under %LOCALAPPDATA%\Programs): an update or an uninstall
    // replaces that folder.
    if (QFileInfo::exists(QDir(appDir).filePath(Uninstaller))) return false;
    // A folder's read-only flag says nothing of who may write in it (Program Files): only a
    // file made there tells.
    QTemporaryFile probe(QDir(appDir).filePath(QStringLiteral("kt520-XXXXXX.tmp")));
    return probe.open();
}
} // namespace

ProgramFiles ProgramFiles::forProgram(const QString& appDir) {
    // %APPDATA% (the roaming profile), where Windows programs keep their settings.
    QString appData = qEnvironmentVariable("APPDATA");
    if (!QDir::isAbsolutePath(appData))
        appData = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return locate(appDir, mayKeepSettings(appDir), appData);
}
