// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/programfiles.h"

// The page (packaging/web/index.html) puts the served language files and the default
// sysini.ini into /kt520 before the program starts, and keeps /settings in the browser's storage.
// The program's folder is read-only there in effect: what it served is the same for every visitor.
ProgramFiles ProgramFiles::forProgram(const QString& appDir) {
    (void)appDir;
    return locate(QStringLiteral("/kt520"), false, QStringLiteral("/settings"));
}
