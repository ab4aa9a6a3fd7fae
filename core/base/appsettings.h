// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/settingsfile.h"
#include <QString>
#include <QStringList>
#include <optional>

class Language;
// The values sysini.ini holds for the program. The band lists are configuration delivered with
// the program: they are read, never written.
struct AppSettings {
    int com = 1;        // PortNumber, 1-16
    int coMode = 0;     // SinglePortMode when 1
    int modelIndex = 0; // M_type
    int lang = 0;       // stored LanguageIndex, 0 when none is stored (start-up rule applies)
    QStringList band1;  // always three entries
    int band1Index = 0; // list0now
    QStringList band2;  // list1count entries
    int band2Index = 0; // list1now

    static AppSettings read(const IniFile& ini);
};

// The values written at exit; -1 stands for a list without selection.
struct ExitSettings {
    int com = 1;
    int coMode = 0;
    int modelIndex = 0;
    int lang = 1;
    int band1Index = 0;
    int band2Index = 0;
};

// Writes the six keys into the file at `path`, keeping every other line as it was. The file is
// replaced only once the new one is complete, so a failure leaves the old file as it was.
// Returns the message "Unable to write to <path>" and the reason in `lang` on failure.
[[nodiscard]] std::optional<QString> saveSettings(const QString& path, const ExitSettings& values,
                                                  const Language& lang);

QString settingsPath(const QString& appDir);
