// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <variant>
class Language;
class Session;

// Exit codes, the same for every verb (diff keeps diff(1)'s 1 for "different"). Scripts rely on
// them: a number once given keeps its meaning. The table is printed by --help (exitCodeHelp).
namespace Exit {
enum : int {
    Ok = 0,
    // The input cannot be used: a file that cannot be read or is not what the verb takes, lines
    // or values at fault, a partial backup; or the radio's result is not the one asked for (a
    // read-back that differs, "Fail !"). Nothing was sent, or what was sent is whole.
    Problems = 1,
    Usage = 2,         // bad arguments
    LinkFailed = 3,    // the port or the exchange with the radio failed; nothing reached the radio
    NotSaved = 4,      // a file could not be written; the radio's memory, when read, is in a backup
    PartlyWritten = 5, // a write failed after the radio took part of it
};
}
// The table above as --help shows it.
QString exitCodeHelp();

QTextStream& out();
QTextStream& err();

// "COM3" (any letter case) names a COM number as the program's port dialog does; anything else
// is a device path.
std::optional<int> comNumber(const QString& port);

// A verb's parser with --help and, for the verbs that show texts, --lang; `args` starts with the
// verb's name.
struct VerbParser {
    QCommandLineParser parser;
    QCommandLineOption lang{
        QStringLiteral("lang"),
        QStringLiteral("Language of the texts: 1 Simplified Chinese, 2 English, 3 Traditional "
                       "Chinese (default: as the program starts)."),
        QStringLiteral("1|2|3")};

    explicit VerbParser(const QString& description, bool withLanguage = true);
    // Parses; on --help prints the help and returns Exit::Ok, on an error prints it and returns
    // Exit::Usage; empty when the verb should run.
    std::optional<int> parse(const QStringList& args);
    int usageError(const QString& message);
    QString help() const;

private:
    QString m_name = QStringLiteral("kt520-cli");
};

// "-", /dev/stdout: the verb's output goes to standard output, as command-line tools do, and
// what the verb tells goes to standard error (see notes()).
bool isStandardOutput(const QString& path);
// Saves `bytes` to the file the user named, or writes them to standard output; the message for
// the user when that fails.
std::optional<QString> saveOutput(const QString& path, const QByteArray& bytes, const Language& lang);
// Why the output could not be saved at `out`, told before the radio is touched: a missing
// folder, one that may not be written, a path that is not a regular file. Standard output is
// always fine.
std::optional<QString> refuseOutput(const QString& out, const Language& lang);
// Where a verb whose output goes to `outPath` tells what it did.
QTextStream& notes(const QString& outPath);

// The program's start-up as far as data go: sysini.ini beside the executable (band lists, model,
// stored language), the language files, the model change; then the --lang choice, if any.
// Returns an error message for a --lang that is not 1, 2 or 3.
std::optional<QString> startSession(Session& session, const VerbParser& verb);

// Starts the session and opens the document at `path` as "打开" does. A bad --lang or a file
// that cannot be read is reported here, and the exit code comes back instead of the result.
struct OpenResult;
std::variant<OpenResult, int> openForVerb(Session& session, VerbParser& verb, const QString& path);

// What "check" finds in an accepted document: every line not applied (a run of lines missed for
// one reason as one finding) and every value a radio cannot take, in line order.
struct DocumentFinding {
    int first = 0; // 0: the value is not held by the file
    int last = 0;
    bool warning = false;
    QString text;
    // "FILE: line N: [warning: ]text"; `asWarning` marks every finding a warning.
    QString line(const QString& path, bool asWarning = false) const;
};
struct DocumentFindings {
    QList<DocumentFinding> list;
    qsizetype notApplied = 0;
    int errors = 0;
    int warnings = 0;
    bool rejected() const { return notApplied > 0 || errors > 0; }
};
DocumentFindings findDocumentProblems(const Session& session, const OpenResult& opened);
// What a partial backup lacks, naming the file.
QString partialBackupText(const QString& path, const Session& session);
// The verbs that only read a document (export, print) do their job whatever it holds, and say
// on the error output what "check" would find.
void warnDocumentProblems(const Session& session, const OpenResult& opened, const QString& path);

int runNew(const QStringList& args);
int runCheck(const QStringList& args);
int runPort(const QStringList& args);
int runWhere(const QStringList& args);
int runBackups(const QStringList& args);
int runImport(const QStringList& args);
int runExport(const QStringList& args);
int runPrint(const QStringList& args);
