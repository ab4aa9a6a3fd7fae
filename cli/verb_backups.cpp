// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/codeplug/session.h"
#include "core/transfer/backup.h"
#include <QDir>

int runBackups(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "Lists the backups every read keeps, newest first: date and time, \"partial\" for a read that failed "
        "part way, the channels in use and the document's path."));
    if (auto done = verb.parse(args)) return *done;
    if (!verb.parser.positionalArguments().isEmpty())
        return verb.usageError(
            QStringLiteral("unexpected argument '%1'").arg(verb.parser.positionalArguments().first()));
    Session session;
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    for (const BackupEntry& e : backupStoreFor(session).list())
        if (!e.documentPath.isEmpty())
            out() << backupTitle(e, session.lang) << "\t" << backupChannels(e) << "\t"
                  << QDir::toNativeSeparators(e.documentPath) << "\n";
    return Exit::Ok;
}
