#include "link/rwform.h"
#include "shell/session.h"

TRWForm::TRWForm(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("TRWForm"));
    setWindowTitle(QStringLiteral("读频"));
}
