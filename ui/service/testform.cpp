#include "ui/service/testform.h"
#include "core/codeplug/session.h"

TTestForm::TTestForm(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("TTestForm"));
    setWindowTitle(QStringLiteral("调试"));
}
