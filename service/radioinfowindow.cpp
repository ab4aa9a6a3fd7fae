#include "service/radioinfowindow.h"
#include "shell/session.h"

Taddmessage::Taddmessage(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("Taddmessage"));
    setWindowTitle(QStringLiteral("本机信息"));
}
