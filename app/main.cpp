// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/quitsignals.h"
#include "app/startfile.h"
#ifdef __EMSCRIPTEN__
#include "app/webpage.h"
#endif
#include "core/base/filesave.h"
#include "core/base/licence.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include "sim/demoradio.h"
#include "ui/common/messagebox.h"
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <cstring>
#include <optional>

namespace {
// --help, --version and --where answer on the terminal and must work without a display, so
// they are seen before the windowing system is asked for one.
bool answersOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--help", "-h", "--help-all", "--version", "-v", "--where"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

// The program's own options, for --help and for refusing options it does not know.
void addProgramOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Programming software for the KT-520 dual-band FM handheld radio: reads the radio's "
        "memory over its serial cable, edits it, writes it back and keeps it in .qv19 files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("demo"),
         QStringLiteral("Serve a virtual radio with a sample codeplug on the chosen COM port for "
                        "this run, so that reading and writing work without a radio.")});
    parser.addOption({QStringLiteral("service"),
                      QStringLiteral("For service technicians: show the factory alignment window's tool "
                                     "button and the read/write dialog's service controls.")});
    parser.addOption(
        {QStringLiteral("where"), QStringLiteral("Print the settings file and the language files "
                                                 "in use, then exit.")});
    parser.addOption({QStringLiteral("real"),
                      QStringLiteral("Use the real serial ports only (the default without --demo).")});
    parser.addOption({QStringLiteral("exit-after-start"),
                      QStringLiteral("Quit as soon as the main window has been drawn.")});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A .qv19 document to open; with --service also an .m17 "
                                                "alignment file."),
                                 QStringLiteral("[file]"));
}

int answerOnTerminal(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kt520"));
    // Qt prints "kt520 VERSION"; the licence lines ride along.
    QCoreApplication::setApplicationVersion(QStringLiteral(KT520_VERSION "\n") +
                                            QString::fromUtf8(LicenceNotice));
    QCommandLineParser parser;
    addProgramOptions(parser);
    parser.process(app); // --help and --version print and exit here
    QTextStream(stdout) << ProgramFiles::forProgram(QCoreApplication::applicationDirPath()).describe();
    return 0;
}

// Checked once the application object has taken out the windowing system's own options
// (-platform, -style ...): anything left that the program does not know is a mistake to report
// rather than a start that silently ignores it.
std::optional<QString> unknownArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    addProgramOptions(parser);
    if (!parser.parse(arguments)) return parser.errorText();
    // One file to open, as a file manager passes it.
    if (parser.positionalArguments().size() > 1)
        return QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().at(1));
    return std::nullopt;
}
} // namespace

int main(int argc, char** argv) {
    reportFileSizeLimitAsFailure();
    if (answersOnTerminal(argc, argv)) return answerOnTerminal(argc, argv);
    QApplication app(argc, argv);
#ifdef __EMSCRIPTEN__
    preparePage();
#endif
    if (const auto error = unknownArguments(app.arguments())) {
        QTextStream(stderr) << "kt520: " << *error << "\nTry 'kt520 --help'.\n";
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("KT-520"));
    // Lets the desktop match the window to kt520.desktop and its icon (the app id on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("kt520"));
    // --demo attaches the virtual radio with a sample codeplug; without it only real ports are used.
    const bool demoMode = app.arguments().contains(QStringLiteral("--demo")) &&
                          !app.arguments().contains(QStringLiteral("--real"));
    Session session;
    TMainForm w(session);
    if (app.arguments().contains(QStringLiteral("--service")))
        if (auto* alignment = w.findChild<QAction*>(QStringLiteral("AlignmentTool")))
            alignment->setVisible(true);
    // Every orderly quit keeps the settings, not only the window's close: the session's end,
    // --exit-after-start, and a termination signal.
    quitOnTerminationSignals();
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &w, [&w] { w.saveSettingsOnce(false); });
#ifdef __EMSCRIPTEN__
    keepSettingsForPage([&w] { w.keepSettings(); });
#endif
    // Without a window manager "maximised" means nothing, so the window starts screen-sized.
    if (QScreen* screen = QGuiApplication::primaryScreen()) w.setGeometry(screen->availableGeometry());
    w.showMaximized(); // runs the start-up, which chooses the COM port from sysini.ini
    if (app.arguments().contains(QStringLiteral("--service"))) w.setServiceMode(true);
    if (const QString file = startFileArgument(app.arguments()); !file.isEmpty())
        openStartFile(w, file, app.arguments().contains(QStringLiteral("--service")));
    std::unique_ptr<DemoRadio> demo;
    if (demoMode) {
        // The demo radio takes the place of the chosen COM port for this run only, so the
        // settings file keeps the user's own choice.
        if (session.portNumber < PortDirectory::FirstCom || session.portNumber > PortDirectory::LastCom)
            session.portNumber = PortDirectory::FirstCom;
        auto started = DemoRadio::start(session.portNumber);
        if (auto* error = std::get_if<QString>(&started))
            showWarning(&w, QStringLiteral("KT-520"), *error);
        else
            demo = std::move(std::get<std::unique_ptr<DemoRadio>>(started));
    }
    // --exit-after-start quits once the first frame is painted: used to measure the start.
    if (app.arguments().contains(QStringLiteral("--exit-after-start")))
        QTimer::singleShot(0, &app, [&app] { QTimer::singleShot(0, &app, &QCoreApplication::quit); });
    if (terminationRequested()) {
        w.saveSettingsOnce(false);
        return 0;
    }
    return app.exec();
}
