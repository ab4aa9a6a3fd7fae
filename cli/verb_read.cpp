// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/safetransfer.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/transfer/readprocedure.h"

int runRead(const QStringList& args) {
    VerbParser verb(
        QStringLiteral("Reads the radio as \"读频\" does and saves what it holds as a document."));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The document file to write."),
                                       QStringLiteral("FILE"));
    verb.parser.addOption(outOption);
    RadioVerb radio(verb);
    if (auto done = verb.parse(args)) return *done;
    if (auto error = radio.check()) return verb.usageError(*error);
    if (verb.parser.value(outOption).isEmpty())
        return verb.usageError(QStringLiteral("--out FILE is required"));

    Session session;
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    const QString outArg = verb.parser.value(outOption);
    if (radio.ports().size() > 1) return runReadOnPorts(verb, radio, session, outArg);
    // The read takes some 11 s: a document that could not be kept is found out before the first
    // frame, not after the last.
    const QString outPath = outPathFor(outArg, radio.ports().first());
    if (auto refused = refuseOutput(outPath, session.lang)) {
        err() << *refused << "\n";
        return Exit::NotSaved;
    }
    if (auto status = radio.connect(session)) return *status;
    TransferOptions options = radio.options();
    if (isStandardOutput(outPath)) options.progress = {}; // the document goes there
    // Every read also keeps a backup; one that cannot be kept is a warning, the read stands.
    const BackedUpRead read = readRadioWithBackup(session, radio.link(), options, backupStoreFor(session));
    const int status = radio.finish(read.result, session);
    reportBackup(read, session);
    if (status != Exit::Ok) return status;
    if (auto error = saveOutput(outPath, saveDocument(session), session.lang)) {
        err() << *error << "\n";
        if (!read.backupPath.isEmpty()) err() << keptInBackup(read, session) << "\n";
        return Exit::NotSaved;
    }
    return Exit::Ok;
}
