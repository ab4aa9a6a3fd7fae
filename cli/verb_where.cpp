// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/base/programfiles.h"
#include <QCoreApplication>

int runWhere(const QStringList& args) {
    VerbParser verb(
        QStringLiteral("Prints the settings file and the language files in use: beside the program, or "
                       "for an installed copy the user's configuration folder and the shared files."),
        false);
    if (auto done = verb.parse(args)) return *done;
    if (!verb.parser.positionalArguments().isEmpty())
        return verb.usageError(
            QStringLiteral("unexpected argument '%1'").arg(verb.parser.positionalArguments().first()));
    out() << ProgramFiles::forProgram(QCoreApplication::applicationDirPath()).describe();
    return Exit::Ok;
}
