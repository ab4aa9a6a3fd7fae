#include "codeplug/funcwindow.h"
#include "shell/session.h"

Tfunc::Tfunc(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("Tfunc"));
    setWindowTitle(QStringLiteral("功能选项"));
}
