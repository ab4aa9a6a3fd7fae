#include "link/portdialog.h"
#include "shell/session.h"

Tcommuny::Tcommuny(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("Tcommuny"));
    setWindowTitle(QStringLiteral("通信端口"));
}
