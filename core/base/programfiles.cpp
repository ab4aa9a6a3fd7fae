// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/programfiles.h"
#include "core/base/appsettings.h"
#include "core/base/language.h"
#include "core/base/settingsfile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {
const QString SharedFolder = QStringLiteral("../share/kt520");

bool underUsr(const QString& dir) {
    const QString clean = QDir::cleanPath(dir);
    return clean == QStringLiteral("/usr") || clean.startsWith(QStringLiteral("/usr/"));
}
} // namespace

ProgramFiles ProgramFiles::besideExecutable(const QString& dir) {
    ProgramFiles f;
    f.settingsFile = settingsPath(dir);
    f.languageDirs = {dir};
    return f;
}

ProgramFiles ProgramFiles::locate(const QString& appDir, bool appDirWritable, const QString& configHome) {
    const QString shared = QDir::cleanPath(QDir(appDir).filePath(SharedFolder));
    ProgramFiles f = besideExecutable(appDir);
    f.languageDirs << shared;
    if (appDirWritable && !underUsr(appDir) && !QFileInfo(shared).isDir()) return f;
    f.perUser = true;
    f.settingsFile = QDir(configHome).filePath(QStringLiteral("kt520/sysini.ini"));
    // A read-only folder of a copy that was never installed may still hold its own default.
    for (const QString& candidate : {settingsPath(shared), settingsPath(appDir)})
        if (QFileInfo(candidate).isFile()) {
            f.sharedSettings = candidate;
            break;
        }
    return f;
}

QString ProgramFiles::settingsToRead() const {
    if (perUser && !sharedSettings.isEmpty() && !QFileInfo::exists(settingsFile)) return sharedSettings;
    return settingsFile;
}

std::optional<QString> ProgramFiles::prepareSettings() const {
    if (!perUser || QFileInfo::exists(settingsFile)) return std::nullopt;
    std::error_code error;
    std::filesystem::create_directories(
        QFile::encodeName(QFileInfo(settingsFile).absolutePath()).toStdString(), error);
    if (error)
        return QStringLiteral("Unable to write to %1: %2")
            .arg(QDir::toNativeSeparators(settingsFile), QString::fromLocal8Bit(error.message()));
    // A damaged default is copied as it is: reading it gives the built-in values, as a damaged
    // sysini.ini always has.
    return IniFile::load(sharedSettings).save(settingsFile);
}

QString ProgramFiles::languageFile(const QString& base) const {
    for (const QString& dir : languageDirs)
        if (const QString path = Language::libraryPath(dir, base); !path.isEmpty()) return path;
    return {};
}

QString ProgramFiles::describe() const {
    const auto native = [](const QString& path) { return QDir::toNativeSeparators(path); };
    QString text = QStringLiteral("settings: %1").arg(native(settingsFile));
    if (!QFileInfo::exists(settingsFile))
        text += perUser && !sharedSettings.isEmpty() ? QStringLiteral(" (not made yet)")
                                                     : QStringLiteral(" (not made yet: built-in values)");
    text += QLatin1Char('\n');
    if (perUser)
        text += QStringLiteral("default settings: %1\n")
                    .arg(sharedSettings.isEmpty() ? QStringLiteral("none") : native(sharedSettings));
    QStringList dirs;
    for (const QString& dir : languageDirs)
        dirs << native(dir);
    for (int index = 1; index <= 3; ++index) {
        const QString base = Language::baseName(index);
        const QString path = languageFile(base);
        text +=
            QStringLiteral("%1.dll: %2\n")
                .arg(base, path.isEmpty()
                               ? QStringLiteral("missing (looked in %1)").arg(dirs.join(QStringLiteral(", ")))
                               : native(path));
    }
    return text;
}
