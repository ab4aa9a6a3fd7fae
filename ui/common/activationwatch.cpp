// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/activationwatch.h"
#include <QEvent>
#include <QMdiSubWindow>

ActivationWatch::ActivationWatch(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
    followFrame();
}

bool ActivationWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::ParentChange:
        case QEvent::Show:
            followFrame();
            break;
        case QEvent::ActivationChange:
            if (m_window->isActiveWindow())
                emit activated();
            else
                emit deactivated();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

QMdiSubWindow* ActivationWatch::frame() const {
    return m_frame;
}

void ActivationWatch::followFrame() {
    auto* frame = qobject_cast<QMdiSubWindow*>(m_window->parentWidget());
    if (frame == m_frame) return;
    if (m_frame) disconnect(m_frame, nullptr, this, nullptr);
    m_frame = frame;
    if (!frame) return;
    connect(frame, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if ((before & Qt::WindowActive) && !(now & Qt::WindowActive))
                    emit deactivated();
                else if (!(before & Qt::WindowActive) && (now & Qt::WindowActive))
                    emit activated();
            });
}
