// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/base/appsettings.h"
#include "core/base/filesave.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include <QRegularExpression>
#include <cstdio>

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

QString exitCodeHelp() {
    return QStringLiteral(
        "Exit status, the same for every verb:\n"
        "  0  done\n"
        "  1  the input cannot be used (a file that cannot be read, lines or values at fault, a partial\n"
        "     backup), or the radio's result is not the one asked for (a read-back that differs,\n"
        "     \"Fail !\"); diff: the two differ\n"
        "  2  bad arguments (diff: also an input it cannot use)\n"
        "  3  the port or the exchange with the radio failed; nothing reached the radio\n"
        "  4  a file could not be written (after a read: the radio's memory is kept as a backup)\n"
        "  5  a write failed after the radio took part of it\n");
}

bool isStandardOutput(const QString& path) {
    return path == u"-" || path == u"/dev/stdout" || path == u"/dev/fd/1" || path == u"/proc/self/fd/1";
}

std::optional<QString> saveOutput(const QString& path, const QByteArray& bytes, const Language& lang) {
    if (!isStandardOutput(path)) return saveUserFile(path, bytes, lang);
    out().flush();
    if (const auto failure = writeToStandardOutput(bytes))
        return fileFailureText(QStringLiteral("-"), *failure, lang);
    return std::nullopt;
}

std::optional<QString> refuseOutput(const QString& out, const Language& lang) {
    if (isStandardOutput(out)) return std::nullopt;
    if (const auto failure = checkSaveTarget(out)) return fileFailureText(out, *failure, lang);
    return std::nullopt;
}

QTextStream& notes(const QString& outPath) {
    return isStandardOutput(outPath) ? err() : out();
}

std::optional<int> comNumber(const QString& port) {
    static const QRegularExpression com(QStringLiteral("^[Cc][Oo][Mm]([0-9]{1,2})$"));
    const QRegularExpressionMatch m = com.match(port);
    if (!m.hasMatch()) return std::nullopt;
    return m.captured(1).toInt();
}

VerbParser::VerbParser(const QString& description, bool withLanguage) {
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    if (withLanguage) parser.addOption(lang);
}

std::optional<int> VerbParser::parse(const QStringList& args) {
    // The parser takes the first argument as the program's name.
    QStringList all = args;
    if (!all.isEmpty()) m_name = QStringLiteral("kt520-cli ") + all.first();
    if (!parser.parse(all)) return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out() << help();
        return Exit::Ok;
    }
    return std::nullopt;
}

int VerbParser::usageError(const QString& message) {
    err() << "kt520-cli: " << message << "\n\n" << help();
    err().flush();
    return Exit::Usage;
}

QString VerbParser::help() const {
    // The parser names the program by its path; the verb belongs in the usage line.
    QString text = parser.helpText();
    const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(QStringLiteral("Usage: ")) && options > 0) text.replace(7, options - 7, m_name);
    return text + QChar('\n') + exitCodeHelp();
}

std::optional<QString> startSession(Session& session, const VerbParser& verb) {
    std::optional<int> language;
    if (verb.parser.isSet(verb.lang)) {
        const QString value = verb.parser.value(verb.lang);
        if (value != QStringLiteral("1") && value != QStringLiteral("2") && value != QStringLiteral("3"))
            return QStringLiteral("--lang takes 1, 2 or 3, not '%1'").arg(value);
        language = value.toInt();
    }
    startUp(session, AppSettings::read(IniFile::load(session.files.settingsToRead())));
    if (language && *language != session.lang.index) {
        session.lang.index = *language;
        applyLanguage(session, Language::baseName(*language));
    }
    return std::nullopt;
}

std::variant<OpenResult, int> openForVerb(Session& session, VerbParser& verb, const QString& path) {
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    const FileRead read = readDocumentFile(path, session);
    if (!read.bytes) {
        err() << read.error << "\n";
        return int(Exit::Problems);
    }
    return openDocument(session, *read.bytes);
}
