// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/safetransfer.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/transfer/documentdiff.h"
#include "core/transfer/writeprocedure.h"

namespace {
// As diff(1): equal, different, trouble; a failed exchange with the radio exits as for every
// other verb.
enum : int { Same = 0, Different = 1, Trouble = 2 };

// Opens a document into a started session; false (reported) when it cannot be used.
bool openInto(Session& session, const QString& path) {
    const FileRead read = readDocumentFile(path, session);
    if (!read.bytes) {
        err() << read.error << "\n";
        return false;
    }
    if (!openDocument(session, *read.bytes).accepted()) {
        err() << path << ": not a document of this radio\n";
        return false;
    }
    return true;
}

int printDifferences(const Session& first, const Session& second) {
    const QList<DocumentDifference> differences = compareDocuments(first, second);
    for (const DocumentDifference& d : differences)
        out() << d.line() << "\n";
    out().flush();
    return differences.isEmpty() ? Same : Different;
}
} // namespace

int runDiff(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "Lists where two documents differ, one line per place: 'kt520-cli diff A.qv19 B.qv19'. With --port "
        "and --in, reads the radio and lists where what it holds differs from the document. Exit 0 when "
        "equal, 1 when different, 2 on errors, 3 when the exchange with the radio fails."));
    const QCommandLineOption inOption(QStringLiteral("in"),
                                      QStringLiteral("The document to compare the radio with."),
                                      QStringLiteral("FILE"));
    verb.parser.addOption(inOption);
    verb.parser.addPositionalArgument(QStringLiteral("A B"), QStringLiteral("Two documents to compare."));
    RadioVerb radio(verb);
    if (auto done = verb.parse(args)) return *done; // 0 for --help, 2 for a usage error
    const QStringList files = verb.parser.positionalArguments();
    const bool withRadio = !radio.ports().isEmpty();
    if (!withRadio && files.size() != 2)
        return verb.usageError(QStringLiteral("give two documents, or --port PORT and --in FILE"));
    if (withRadio) {
        if (auto error = radio.check()) return verb.usageError(*error);
        if (radio.ports().size() > 1) return verb.usageError(QStringLiteral("diff takes one --port"));
        if (verb.parser.value(inOption).isEmpty())
            return verb.usageError(QStringLiteral("--in FILE is required"));
    }

    Session first;
    Session second;
    for (Session* s : {&first, &second})
        if (auto error = startSession(*s, verb)) return verb.usageError(*error);
    if (!withRadio)
        return openInto(first, files[0]) && openInto(second, files[1]) ? printDifferences(first, second)
                                                                       : Trouble;

    // The radio's side starts as the document, so that its password opens the radio and what a
    // read does not bring stays equal.
    const QString path = verb.parser.value(inOption);
    if (!openInto(first, path) || !openInto(second, path)) return Trouble;
    // A write brings the VFO rows into their bands before it sends them: the radio is compared
    // with what writing the file leaves in it, not with the file's own VFO rows.
    const QByteArray asFile = saveDocument(second);
    (void)formShow(second, TransferMode::Write);
    if (saveDocument(second) != asFile)
        out() << path << ": compared as a write leaves it (VFO rows brought into their bands)\n";
    if (auto status = radio.connect(first)) return *status == Exit::LinkFailed ? *status : Trouble;
    const BackedUpRead read =
        readRadioWithBackup(first, radio.link(), radio.options(), backupStoreFor(first));
    const int status = radio.finish(read.result, first);
    reportBackup(read, first);
    if (status == Exit::Ok) return printDifferences(first, second);
    return status == Exit::LinkFailed ? status : Trouble;
}
