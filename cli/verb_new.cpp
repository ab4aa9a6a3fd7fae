// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/codeplug/document.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"

int runNew(const QStringList& args) {
    VerbParser verb(QStringLiteral("Writes a fresh document: the one \"New\" followed by \"Save\" writes."));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The document file to write."),
                                       QStringLiteral("FILE"));
    verb.parser.addOption(outOption);
    if (auto done = verb.parse(args)) return *done;
    if (!verb.parser.positionalArguments().isEmpty())
        return verb.usageError(
            QStringLiteral("unexpected argument '%1'").arg(verb.parser.positionalArguments().first()));
    if (!verb.parser.isSet(outOption) || verb.parser.value(outOption).isEmpty())
        return verb.usageError(QStringLiteral("--out FILE is required"));

    Session session;
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    newDocument(session);
    if (auto error = saveOutput(verb.parser.value(outOption), saveDocument(session), session.lang)) {
        err() << *error << "\n";
        return Exit::NotSaved;
    }
    return Exit::Ok;
}
