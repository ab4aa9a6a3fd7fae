#include "codeplug/channelwindow.h"
#include "shell/session.h"

ChannelWindow::ChannelWindow(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("ChannelWindow"));
    setWindowTitle(QStringLiteral("信道编辑"));
}
