// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// Where the program's own files are: the settings file sysini.ini and the language files.
// A copy that runs from a folder it may write (the build tree, an unzipped Windows folder)
// keeps everything beside itself, as the program always has. An installed copy (under /usr,
// beside a ../share/kt520 folder, beside the Windows setup's uninstall.exe, or in a folder it
// may not write) keeps sysini.ini in the user's configuration folder (~/.config/kt520,
// %APPDATA%\kt520 on Windows), made on first use from the delivered default, and finds the
// language files beside itself or in ../share/kt520.
struct ProgramFiles {
    QString settingsFile;     // read at start, written at exit and by "kt520-cli port"
    QString sharedSettings;   // the delivered default for a per-user file; empty when there is none
    QStringList languageDirs; // searched in this order
    bool perUser = false;

    // Everything in `dir`.
    static ProgramFiles besideExecutable(const QString& dir);
    // The rule above. `appDirWritable` and `configHome` (the XDG configuration folder) are
    // given, so that the rule holds the same for root, who may write anywhere.
    static ProgramFiles locate(const QString& appDir, bool appDirWritable, const QString& configHome);
    // For the running program in `appDir`: asks the system whether that folder can be written
    // and where the user's configuration folder is ($XDG_CONFIG_HOME, ~/.config when unset or
    // not absolute; %APPDATA% on Windows, where a folder with uninstall.exe counts as not
    // writable).
    static ProgramFiles forProgram(const QString& appDir);

    // The file start-up reads: the settings file, or the delivered default until it exists.
    QString settingsToRead() const;
    // Makes the per-user settings file, a copy of the delivered default, when there is none yet.
    // "Unable to write to <file>: <reason>" when its folder or the file cannot be made.
    std::optional<QString> prepareSettings() const;
    // base + ".dll" from the first language folder that has it, without regard to letter case;
    // empty when none has it.
    QString languageFile(const QString& base) const;
    // The files in use, one "what: path" line each, for "--where".
    QString describe() const;
};
