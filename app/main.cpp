#include "ui/common/messagebox.h"
#include "core/link/radioport.h"
#include "app/mainwindow.h"
#include "core/codeplug/session.h"
#include "sim/demoradio.h"
#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KT-520"));
    // --demo attaches the virtual radio with a sample codeplug; without it only real ports are used.
    const bool demoMode = app.arguments().contains(QStringLiteral("--demo"));
    Session session;
    TMainForm w(session);
    // Without a window manager "maximised" means nothing, so the window starts screen-sized.
    if (QScreen* screen = QGuiApplication::primaryScreen()) w.setGeometry(screen->availableGeometry());
    w.showMaximized(); // runs the start-up, which chooses the COM port from sysini.ini
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
    return app.exec();
}
