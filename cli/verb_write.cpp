// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/safetransfer.h"
#include "cli/servicecli.h"
#include "cli/transfercli.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/session.h"
#include "core/transfer/writeprocedure.h"

int runWrite(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "Opens a document as \"打开\" does and writes it to the radio as \"写频\" does. A document with "
        "lines "
        "that cannot be applied or values the radio cannot take is refused before a byte is sent."));
    const QCommandLineOption inOption(QStringLiteral("in"), QStringLiteral("The document file to write."),
                                      QStringLiteral("FILE"));
    verb.parser.addOption(inOption);
    RadioVerb radio(verb);
    const SafeWriteOptions safety(verb);
    ServiceWriteOptions service(verb);
    if (auto done = verb.parse(args)) return *done;
    if (auto error = radio.check()) return verb.usageError(*error);
    const QString path = verb.parser.value(inOption);
    if (path.isEmpty()) return verb.usageError(QStringLiteral("--in FILE is required"));

    Session session;
    auto result = openForVerb(session, verb, path);
    if (const int* exit = std::get_if<int>(&result)) return *exit;
    const OpenResult& opened = std::get<OpenResult>(result);
    if (opened.misfit) {
        err() << path << ": " << *opened.misfit << "\n" << path << ": nothing was sent\n";
        return Exit::Problems;
    }
    if (opened.refusal == OpenResult::Refusal::Incomplete) {
        QList<int> lines;
        for (const LineProblem& p : opened.notApplied)
            lines << p.line;
        err() << path << ": lines " << lineRanges(lines) << ": missing or cut short; nothing was sent\n";
        return Exit::Problems;
    }
    if (!opened.accepted()) {
        err() << path << ": not a document of this radio; nothing was sent\n";
        return Exit::Problems;
    }
    // A line that was not applied would leave its setting as it was before: the radio would get
    // something the file does not say.
    if (!opened.notApplied.isEmpty()) {
        for (const LineProblem& p : opened.notApplied)
            err() << path << ": line " << p.line << ": " << p.reason << "\n";
        err() << path << ": nothing was sent\n";
        return Exit::Problems;
    }

    // A backup of a failed read holds, past where the read stopped, what the program had before.
    if (isPartialBackup(path)) err() << "warning: " << partialBackupText(path, session) << "\n";

    // Each port's thread opens the document as this one holds it.
    if (radio.ports().size() > 1) {
        if (service.used())
            return verb.usageError(QStringLiteral("--initialise and --factory-date take one --port"));
        return runWriteOnPorts(verb, radio, session, saveDocument(session), safety);
    }
    if (auto status = service.load(session)) return *status;

    // What the dialog does when it opens for writing, then its start button.
    const WritePreparation preparation = formShow(session, TransferMode::Write);
    TransferOptions options = radio.options();
    service.apply(options);
    if (auto status = radio.connect(session)) return *status;
    if (verb.parser.isSet(safety.backupFirst)) {
        const PortOutcome backup = backUpFirst(session, radio.link());
        (backup.status == Exit::Ok ? out() : err()) << backup.message << "\n";
        if (backup.status != Exit::Ok) return backup.status;
    }
    if (auto status =
            service.initialise(session, radio.link(), options, preparation,
                               [&](const TransferResult& refusal) { return radio.finish(refusal, session); }))
        return *status;
    const VerifiedWrite done =
        writeRadioVerified(session, radio.link(), options, preparation, verb.parser.isSet(safety.verify));
    const int status = radio.finish(done.write, session);
    service.reportAfter(done.write, session);
    return status != Exit::Ok || !done.verify ? status : reportVerify(*done.verify, session);
}
