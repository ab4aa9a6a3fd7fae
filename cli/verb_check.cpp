// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/problems.h"
#include "core/codeplug/session.h"
#include <QFileInfo>
#include <algorithm>

namespace {
// A truncated file misses a run of lines for one reason: one finding per run.
QList<DocumentFinding> linesNotApplied(const QList<LineProblem>& problems) {
    QList<DocumentFinding> findings;
    for (const LineProblem& p : problems) {
        if (!findings.isEmpty() && findings.last().last + 1 == p.line && findings.last().text == p.reason)
            findings.last().last = p.line;
        else
            findings << DocumentFinding{p.line, p.line, false, p.reason};
    }
    return findings;
}

QString where(const DocumentFinding& f) {
    if (f.first == 0) return {};
    if (f.first == f.last) return QStringLiteral("line %1: ").arg(f.first);
    return QStringLiteral("lines %1-%2: ").arg(f.first).arg(f.last);
}
} // namespace

DocumentFindings findDocumentProblems(const Session& session, const OpenResult& opened) {
    DocumentFindings found;
    found.list = linesNotApplied(opened.notApplied);
    found.notApplied = opened.notApplied.size();
    for (const Problem& p : documentProblems(session)) {
        const int line = documentLineOf(p);
        const bool warning = p.severity == Problem::Severity::Warning;
        (warning ? found.warnings : found.errors)++;
        found.list << DocumentFinding{line, line, warning, p.message};
    }
    // Line order, values the file does not hold last.
    std::stable_sort(found.list.begin(), found.list.end(),
                     [](const DocumentFinding& a, const DocumentFinding& b) {
                         return (a.first == 0 ? INT_MAX : a.first) < (b.first == 0 ? INT_MAX : b.first);
                     });
    return found;
}

QString DocumentFinding::line(const QString& path, bool asWarning) const {
    return path + QStringLiteral(": ") + where(*this) +
           (warning || asWarning ? QStringLiteral("warning: ") : QString()) + text;
}

QString partialBackupText(const QString& path, const Session& session) {
    return session.lang.text(Str::PartialBackup).arg(QFileInfo(path).fileName());
}

void warnDocumentProblems(const Session& session, const OpenResult& opened, const QString& path) {
    for (const DocumentFinding& f : findDocumentProblems(session, opened).list)
        err() << f.line(path, true) << "\n";
}

int runCheck(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "Reads a document as \"Open\" does and lists every line that could not be applied, every value a "
        "radio cannot take and every warning the Problems panel shows, each with its line number. Exit "
        "status "
        "1 when a line or a value is at fault; warnings alone exit 0."));
    verb.parser.addPositionalArgument(QStringLiteral("FILE"),
                                      QStringLiteral("The document (.qv19) to check."));
    if (auto done = verb.parse(args)) return *done;
    const QStringList files = verb.parser.positionalArguments();
    if (files.size() != 1)
        return verb.usageError(files.isEmpty() ? QStringLiteral("FILE is required")
                                               : QStringLiteral("one FILE at a time"));
    const QString path = files.first();

    Session session;
    auto result = openForVerb(session, verb, path);
    if (const int* exit = std::get_if<int>(&result)) return *exit;
    const OpenResult& opened = std::get<OpenResult>(result);
    if (opened.refusal == OpenResult::Refusal::NotADocument) {
        out() << path << ": line 1: not a document: the first line is not \"QOVRAN MEMORY CHANNEL\"\n";
        return Exit::Problems;
    }
    if (opened.misfit) {
        out() << path << ": " << *opened.misfit << "\n";
        return Exit::Problems;
    }
    if (opened.refusal == OpenResult::Refusal::Incomplete) {
        QList<int> lines;
        for (const LineProblem& p : opened.notApplied)
            lines << p.line;
        out() << path << ": lines " << lineRanges(lines) << ": missing or cut short; the file is not read\n";
        return Exit::Problems;
    }
    if (opened.refusal == OpenResult::Refusal::UnknownModel) {
        out() << path << ": line 4: the TYPE line names no model of the model list\n";
        return Exit::Problems;
    }

    const DocumentFindings found = findDocumentProblems(session, opened);
    // Only its name tells a backup of a failed read from a whole document.
    const bool partial = isPartialBackup(path);
    if (partial) out() << path << ": " << partialBackupText(path, session) << "\n";
    for (const DocumentFinding& f : found.list)
        out() << f.line(path) << "\n";
    if (partial) return Exit::Problems;
    if (found.list.isEmpty())
        out() << path << ": no problems\n";
    else
        out() << path << ": " << found.notApplied << " line(s) not applied, " << found.errors
              << " value(s) a radio cannot take, " << found.warnings << " warning(s)\n";
    return found.rejected() ? Exit::Problems : Exit::Ok;
}
