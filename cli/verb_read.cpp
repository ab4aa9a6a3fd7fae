#include "cli/transfercli.h"
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
    if (auto error = radio.connect(session)) {
        err() << *error << "\n";
        return Exit::Failure;
    }
    const TransferResult result = readRadio(session, radio.link(), radio.options());
    if (const int status = radio.finish(result, session); status != Exit::Ok) return status;
    if (auto error = writeDocumentFile(verb.parser.value(outOption), session)) {
        err() << *error << "\n";
        return Exit::Failure;
    }
    return Exit::Ok;
}
