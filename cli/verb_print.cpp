// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "ui/print/documentprint.h"
#include <QFileInfo>

int runPrint(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "Prints a document to a PDF file: the channels in use of both tables, the optional functions, the FM "
        "list and the call list, in the language of the texts."));
    const QCommandLineOption inOption(QStringLiteral("in"), QStringLiteral("The document to print."),
                                      QStringLiteral("DOC"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("The PDF file to write."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption paperOption(QStringLiteral("paper"),
                                         QStringLiteral("Paper size: a4 (default) or letter."),
                                         QStringLiteral("a4|letter"));
    verb.parser.addOptions({inOption, pdfOption, paperOption});
    if (auto done = verb.parse(args)) return *done;
    if (!verb.parser.positionalArguments().isEmpty())
        return verb.usageError(
            QStringLiteral("unexpected argument '%1'").arg(verb.parser.positionalArguments().first()));
    const QString in = verb.parser.value(inOption), pdf = verb.parser.value(pdfOption);
    if (in.isEmpty()) return verb.usageError(QStringLiteral("--in DOC is required"));
    if (pdf.isEmpty()) return verb.usageError(QStringLiteral("--pdf FILE is required"));
    const QString paperText = verb.parser.value(paperOption).toLower();
    if (!paperText.isEmpty() && paperText != u"a4" && paperText != u"letter")
        return verb.usageError(QStringLiteral("--paper must be a4 or letter"));

    Session session;
    auto opened = openForVerb(session, verb, in);
    if (const int* exit = std::get_if<int>(&opened)) return *exit;
    if (!std::get<OpenResult>(opened).accepted()) {
        err() << in << ": not a document this program can open\n";
        return Exit::Problems;
    }
    warnDocumentProblems(session, std::get<OpenResult>(opened), in);
    const PdfResult result = renderDocumentPdf(session, {QFileInfo(in).fileName()},
                                               paperText == u"letter" ? Paper::Letter : Paper::A4);
    const auto error = result.error.isEmpty() ? saveOutput(pdf, result.bytes, session.lang)
                                              : std::optional<QString>(result.error);
    if (error) {
        err() << *error << "\n";
        return Exit::NotSaved;
    }
    return Exit::Ok;
}
