// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/base/messages.h"
#include "core/codeplug/csvchannels.h"
#include "core/codeplug/document.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"

namespace {
const QCommandLineOption tableOption(QStringLiteral("table"),
                                     QStringLiteral("The channel table: A (default) or B."),
                                     QStringLiteral("A|B"));

std::optional<Side> tableSide(const VerbParser& verb) {
    const QString t = verb.parser.value(tableOption).toUpper();
    if (t.isEmpty() || t == u"A") return Side::A;
    if (t == u"B") return Side::B;
    return std::nullopt;
}

std::optional<QString> required(VerbParser& verb, const QCommandLineOption& option) {
    if (verb.parser.isSet(option) && !verb.parser.value(option).isEmpty()) return verb.parser.value(option);
    return std::nullopt;
}

bool refuseExtraArguments(VerbParser& verb, int& exit) {
    if (verb.parser.positionalArguments().isEmpty()) return false;
    exit = verb.usageError(
        QStringLiteral("unexpected argument '%1'").arg(verb.parser.positionalArguments().first()));
    return true;
}
} // namespace

int runImport(const QStringList& args) {
    VerbParser verb(QStringLiteral("Imports channels from a CSV file in the common 21-column layout into one "
                                   "channel table and saves the "
                                   "document. Lists every dropped line and warning by its line number."));
    const QCommandLineOption csvOption(QStringLiteral("csv"), QStringLiteral("The CSV file to read."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption inOption(
        QStringLiteral("in"), QStringLiteral("The document to import into (default: a new document)."),
        QStringLiteral("DOC"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The document file to write."),
                                       QStringLiteral("DOC"));
    const QCommandLineOption renumberOption(QStringLiteral("renumber"),
                                            QStringLiteral("Fill channels 1, 2, 3 ... in file order."));
    const QCommandLineOption keepOption(
        QStringLiteral("keep-numbers"),
        QStringLiteral("Take each Location as the channel exactly, also in a list counted from 0 (by default "
                       "such a list moves up by one, so that location 0 becomes channel 1)."));
    const QCommandLineOption replaceOption(QStringLiteral("replace"),
                                           QStringLiteral("Empty the table's channels first."));
    verb.parser.addOptions(
        {csvOption, inOption, outOption, tableOption, renumberOption, keepOption, replaceOption});
    if (auto done = verb.parse(args)) return *done;
    if (int exit = 0; refuseExtraArguments(verb, exit)) return exit;
    const auto csvPath = required(verb, csvOption);
    const auto outPath = required(verb, outOption);
    if (!csvPath) return verb.usageError(QStringLiteral("--csv FILE is required"));
    if (!outPath) return verb.usageError(QStringLiteral("--out DOC is required"));
    const auto side = tableSide(verb);
    if (!side) return verb.usageError(QStringLiteral("--table must be A or B"));
    if (verb.parser.isSet(renumberOption) && verb.parser.isSet(keepOption))
        return verb.usageError(QStringLiteral("--renumber and --keep-numbers exclude each other"));

    Session session;
    if (const auto in = required(verb, inOption)) {
        auto opened = openForVerb(session, verb, *in);
        if (const int* exit = std::get_if<int>(&opened)) return *exit;
        if (!std::get<OpenResult>(opened).accepted()) {
            err() << *in << ": not a document this program can open\n";
            return Exit::Problems;
        }
    } else {
        if (auto error = startSession(session, verb)) return verb.usageError(*error);
        newDocument(session);
    }

    const FileRead csv = readChannelsCsvFile(*csvPath, session.lang);
    if (!csv.bytes) {
        err() << csv.error << "\n";
        return Exit::Problems;
    }
    const CsvImportOptions options = withSelectedBands({.renumber = verb.parser.isSet(renumberOption),
                                                        .replace = verb.parser.isSet(replaceOption),
                                                        .keepNumbers = verb.parser.isSet(keepOption)},
                                                       session);
    const CsvImportReport report =
        importChannelsCsv(session.doc.table(*side), *csv.bytes, session.doc.words, session.lang, options);
    // A file that gave no channel holds nothing for the document: none is written.
    const bool nothingTaken = report.imported == 0;
    for (const QString& line : report.lines(session.lang))
        (report.refusal || nothingTaken ? err() : notes(*outPath)) << line << "\n";
    if (report.refusal || nothingTaken) return Exit::Problems;
    if (auto error = saveOutput(*outPath, saveDocument(session), session.lang)) {
        err() << *error << "\n";
        return Exit::NotSaved;
    }
    return Exit::Ok;
}

int runExport(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "Exports the channels in use of one channel table as a CSV file in the common 21-column layout."));
    const QCommandLineOption inOption(QStringLiteral("in"), QStringLiteral("The document to read."),
                                      QStringLiteral("DOC"));
    const QCommandLineOption csvOption(QStringLiteral("csv"), QStringLiteral("The CSV file to write."),
                                       QStringLiteral("FILE"));
    verb.parser.addOptions({inOption, csvOption, tableOption});
    if (auto done = verb.parse(args)) return *done;
    if (int exit = 0; refuseExtraArguments(verb, exit)) return exit;
    const auto inPath = required(verb, inOption);
    const auto csvPath = required(verb, csvOption);
    if (!inPath) return verb.usageError(QStringLiteral("--in DOC is required"));
    if (!csvPath) return verb.usageError(QStringLiteral("--csv FILE is required"));
    const auto side = tableSide(verb);
    if (!side) return verb.usageError(QStringLiteral("--table must be A or B"));

    Session session;
    auto opened = openForVerb(session, verb, *inPath);
    if (const int* exit = std::get_if<int>(&opened)) return *exit;
    if (!std::get<OpenResult>(opened).accepted()) {
        err() << *inPath << ": not a document this program can open\n";
        return Exit::Problems;
    }
    warnDocumentProblems(session, std::get<OpenResult>(opened), *inPath);
    if (auto error = saveOutput(*csvPath, exportChannelsCsv(session.doc.table(*side), session.doc.words),
                                session.lang)) {
        err() << *error << "\n";
        return Exit::NotSaved;
    }
    return Exit::Ok;
}
