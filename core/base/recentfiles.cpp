// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/recentfiles.h"
#include "core/base/programfiles.h"
#include <QFileInfo>
#include <functional>

namespace {
const QString Section = QStringLiteral("recent");
QString fileKey(int n) {
    return QStringLiteral("file%1").arg(n);
}

std::optional<QString> update(const ProgramFiles& files, const std::function<void(IniFile&)>& change) {
    if (auto error = files.prepareSettings()) return error;
    IniFile ini = IniFile::load(files.settingsFile);
    change(ini);
    return ini.save(files.settingsFile);
}
} // namespace

QStringList RecentFiles::list(const IniFile& ini) {
    QStringList paths;
    for (int n = 1; n <= Max; ++n) {
        const QString path = ini.text(Section, fileKey(n));
        if (!path.isEmpty() && !paths.contains(path)) paths << path;
    }
    return paths;
}

QString RecentFiles::folder(const IniFile& ini) {
    return ini.text(Section, QStringLiteral("folder"));
}

void RecentFiles::add(IniFile& ini, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = list(ini);
    paths.removeAll(absolute);
    paths.prepend(absolute);
    for (int n = 1; n <= Max; ++n)
        ini.setText(Section, fileKey(n), n <= paths.size() ? paths.at(n - 1) : QString());
    ini.setText(Section, QStringLiteral("folder"), QFileInfo(absolute).absolutePath());
}

void RecentFiles::clear(IniFile& ini) {
    for (int n = 1; n <= Max; ++n)
        ini.setText(Section, fileKey(n), {});
}

QStringList RecentFiles::load(const ProgramFiles& files) {
    return list(IniFile::load(files.settingsToRead()));
}

QString RecentFiles::loadFolder(const ProgramFiles& files) {
    return folder(IniFile::load(files.settingsToRead()));
}

std::optional<QString> RecentFiles::remember(const ProgramFiles& files, const QString& path) {
    return update(files, [&path](IniFile& ini) { add(ini, path); });
}

std::optional<QString> RecentFiles::forget(const ProgramFiles& files) {
    return update(files, [](IniFile& ini) { clear(ini); });
}
