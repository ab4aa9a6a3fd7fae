// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/settingsfile.h"
#include <QString>
#include <QStringList>
#include <optional>
struct ProgramFiles;

// The documents opened or saved last, newest first, and the folder of the last one: kept in a
// section "recent" of sysini.ini ("file1" ... "file8", "folder"), which the radio's own keys
// never use.
namespace RecentFiles {
inline constexpr int Max = 8;
QStringList list(const IniFile& ini);
QString folder(const IniFile& ini);
// `path` first, without repeats, at most Max; the folder follows it.
void add(IniFile& ini, const QString& path);
void clear(IniFile& ini);

// The same on the settings file in use; a message when it cannot be written.
QStringList load(const ProgramFiles& files);
QString loadFolder(const ProgramFiles& files);
[[nodiscard]] std::optional<QString> remember(const ProgramFiles& files, const QString& path);
[[nodiscard]] std::optional<QString> forget(const ProgramFiles& files);
} // namespace RecentFiles
