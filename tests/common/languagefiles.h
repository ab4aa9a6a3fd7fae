// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

// The three language files of the build, copied beside a program run in `dir`.
inline void copyLanguageFiles(const QString& dir) {
    for (const char* name : {"cha_dll.dll", "eng_dll.dll", "ty.dll"})
        QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name)),
                    QDir(dir).filePath(QString::fromLatin1(name)));
}
