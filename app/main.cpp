#include "shell/mainwindow.h"
#include "shell/session.h"
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KT-520"));
    Session session;
    TMainForm w(session);
    w.showMaximized();
    return app.exec();
}
