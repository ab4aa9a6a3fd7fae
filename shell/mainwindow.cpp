#include "shell/mainwindow.h"
#include "shell/session.h"

TMainForm::TMainForm(Session& session, QWidget* parent) : QMainWindow(parent), m_session(session) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("KT-520"));
}
