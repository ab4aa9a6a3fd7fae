// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/appsettings.h"
#include "core/base/filesave.h"
#include <QDir>
#include <algorithm>

namespace {
const QString Open = QStringLiteral("open");
const QString List0 = QStringLiteral("list0");
const QString List1 = QStringLiteral("list1");
const QString DefaultBand = QStringLiteral("400-470MHz");
// More band-two entries than this are not a band list but a damaged file.
constexpr int MaxBandTwoEntries = 64;
} // namespace

QString settingsPath(const QString& appDir) {
    return QDir(appDir).filePath(QStringLiteral("sysini.ini"));
}

AppSettings AppSettings::read(const IniFile& ini) {
    AppSettings s;
    s.com = ini.integer(Open, QStringLiteral("com"), 1);
    if (s.com < 1 || s.com > 16) s.com = 1; // no port dialog button has that number
    s.coMode = ini.integer(Open, QStringLiteral("co_mode"), 0);
    s.modelIndex = ini.integer(Open, QStringLiteral("M_type"), 0);
    s.lang = ini.integer(Open, QStringLiteral("lang"), 0);
    for (int i = 0; i < 3; ++i)
        s.band1 << ini.text(List0, QStringLiteral("com0bo%1").arg(i), DefaultBand);
    s.band1Index = ini.integer(List0, QStringLiteral("list0now"), 0);
    const int count = std::clamp(ini.integer(List1, QStringLiteral("list1count"), 0), 0, MaxBandTwoEntries);
    for (int i = 0; i < count; ++i)
        s.band2 << ini.text(List1, QStringLiteral("com1bo%1").arg(i), DefaultBand);
    s.band2Index = ini.integer(List1, QStringLiteral("list1now"), 0);
    return s;
}

std::optional<QString> saveSettings(const QString& path, const ExitSettings& v, const Language& lang) {
    IniFile ini = IniFile::load(path);
    ini.setInteger(Open, QStringLiteral("com"), v.com);
    ini.setInteger(Open, QStringLiteral("co_mode"), v.coMode);
    ini.setInteger(Open, QStringLiteral("M_type"), v.modelIndex);
    ini.setInteger(Open, QStringLiteral("lang"), v.lang);
    ini.setInteger(List0, QStringLiteral("list0now"), v.band1Index);
    ini.setInteger(List1, QStringLiteral("list1now"), v.band2Index);
    if (const auto failure = saveFile(path, ini.serialize()))
        return QStringLiteral("Unable to write to %1: %2")
            .arg(QDir::toNativeSeparators(path), failureReason(*failure, lang));
    return std::nullopt;
}
