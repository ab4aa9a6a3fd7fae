// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/programfiles.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

ProgramFiles ProgramFiles::forProgram(const QString& appDir) {
    QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!QDir::isAbsolutePath(configHome)) configHome = QDir::home().filePath(QStringLiteral(".config"));
    return locate(appDir, QFileInfo(appDir).isWritable(), configHome);
}
