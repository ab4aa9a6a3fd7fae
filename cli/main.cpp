// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "cli/servicecli.h"
#include "cli/transfercli.h"
#include "core/base/filesave.h"
#include "core/base/licence.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace {
struct Verb {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

// One row per verb; each verb lives in its own file.
const Verb verbs[] = {
    {"new", "write the document that \"New\" followed by \"Save\" writes", runNew},
    {"check", "read a document as \"Open\" does and list what cannot be used or written to a radio",
     runCheck},
    {"read", "read the radio on --port and save it as a document", runRead},
    {"write", "write a document to the radio on --port", runWrite},
    {"diff", "list where two documents, or the radio on --port and a document, differ", runDiff},
    {"info", "show who programmed the radio on --port and when", runInfo},
    {"port", "list COM1-COM16 with their devices; map a COM number to a device", runPort},
    {"import", "import channels from a CSV file into a table of a document", runImport},
    {"export", "export the channels of a table of a document as a CSV file", runExport},
    {"print", "print a document's channels, functions and lists to a PDF file", runPrint},
    {"where", "print the settings file and the language files in use", runWhere},
    {"backups", "list the backups of the radio that every read keeps, partial ones marked", runBackups},
    {"align", "factory alignment of the radio on --port: read, write, ident, battery, squelch", runAlign},
    {"usage", "transmit-usage adjustment of the radio on --port", runUsage},
};

void usage(QTextStream& stream) {
    stream << "Usage: kt520-cli <verb> [options]\n\nVerbs:\n";
    for (const Verb& v : verbs)
        stream << "  " << QString::fromLatin1(v.name).leftJustified(8) << v.summary << "\n";
    stream << "\n'kt520-cli <verb> --help' describes a verb's options; 'kt520-cli --version' prints the "
              "version.\n\n"
           << exitCodeHelp();
}
} // namespace

int main(int argc, char* argv[]) {
    reportFileSizeLimitAsFailure();
    // Only "print" needs fonts and pages: it runs a GUI application on the offscreen platform,
    // so that it works without a display; every other verb stays on QtCore. Windows' own
    // platform shows nothing either, and only it sees the system's fonts.
    const bool printing = argc > 1 && qstrcmp(argv[1], "print") == 0;
#ifndef Q_OS_WIN
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    std::unique_ptr<QCoreApplication> application = printing ? std::make_unique<QGuiApplication>(argc, argv)
                                                             : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("kt520-cli"));
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        usage(err());
        return Exit::Usage;
    }
    if (args.first() == QStringLiteral("--help") || args.first() == QStringLiteral("-h")) {
        usage(out());
        return Exit::Ok;
    }
    if (args.first() == QStringLiteral("--version")) {
        out() << "kt520-cli " << KT520_VERSION << "\n" << LicenceNotice << "\n";
        return Exit::Ok;
    }
    for (const Verb& v : verbs)
        if (args.first() == QString::fromLatin1(v.name)) {
            const int code = v.run(args);
            out().flush();
            err().flush();
            return code;
        }
    err() << "kt520-cli: unknown verb '" << args.first() << "'\n\n";
    usage(err());
    return Exit::Usage;
}
