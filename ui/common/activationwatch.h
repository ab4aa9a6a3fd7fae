// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QPointer>
class QMdiSubWindow;
class QWidget;

// Tells a child window when it becomes or stops being the active one: standing alone, by the
// activation of its top-level window; inside the main window, by the state of its frame, since
// there the frame and not the top-level window gains and loses activation.
class ActivationWatch : public QObject {
    Q_OBJECT
public:
    explicit ActivationWatch(QWidget* window);
    // The main window's frame around the window; null while it stands alone.
    QMdiSubWindow* frame() const;

signals:
    void activated();
    void deactivated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followFrame();
    QWidget* m_window;
    QPointer<QMdiSubWindow> m_frame;
};
