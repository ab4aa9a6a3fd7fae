#include "service/testform.h"
#include "shell/session.h"

TTestForm::TTestForm(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("TTestForm"));
    setWindowTitle(QStringLiteral("调试"));
}
