// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/base/appsettings.h"
#include "core/base/programfiles.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include "core/transfer/replydelay.h"
#include <QCoreApplication>
#include <QDir>

int runWhere(const QStringList& args) {
    VerbParser verb(
        QStringLiteral("Prints the settings file and the language files in use: beside the program, or "
                       "for an installed copy the user's configuration folder and the shared files."),
        false);
    if (auto done = verb.parse(args)) return *done;
    if (!verb.parser.positionalArguments().isEmpty())
        return verb.usageError(
            QStringLiteral("unexpected argument '%1'").arg(verb.parser.positionalArguments().first()));
    const ProgramFiles files = ProgramFiles::forProgram(QCoreApplication::applicationDirPath());
    out() << files.describe();
    // What transfers found of each device's replies; the slow ones are told.
    const ReplyDelayStore delays;
    out() << "reply delays: " << QDir::toNativeSeparators(delays.file()) << "\n";
    const QList<ReplyDelay> slow = delays.slowDevices();
    if (slow.isEmpty()) return Exit::Ok;
    Session session;
    startUp(session, AppSettings::read(IniFile::load(files.settingsToRead())));
    for (const ReplyDelay& delay : slow)
        out() << "  " << delay.device << ": " << replyDelayText(delay, session.lang).replace(u'\n', u' ')
              << "\n";
    return Exit::Ok;
}
