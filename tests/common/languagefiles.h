// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

// The three language files of the build, copied beside a program run in `dir`.
inline void copyLanguageFiles(const QString& dir) {
    for (const char* name : {"cha_dll.dll", "eng_dll.dll", "ty.dll"})
        QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name)),
                    QDir(dir).filePath(QString::fromLatin1(name)));
}

// A data table with one row per language: column "language", 1 to 3.
inline void addLanguageRows() {
    QTest::addColumn<int>("language");
    QTest::addRow("Simplified Chinese") << 1;
    QTest::addRow("English") << 2;
    QTest::addRow("Traditional Chinese") << 3;
}
