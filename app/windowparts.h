// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
class QMdiArea;
class QWidget;

// The keyboard's way round the main window, as desktop programs have it: F6 and Shift+F6 go from
// part to part (the band and model lists, the child window in front, the Problems list when it
// shows); Ctrl+F6 and Ctrl+Shift+F6, like Ctrl+Tab, go from child window to child window. Tab
// goes round the lists of the panel and stays there, as it stays inside a child window.
class WindowParts : public QObject {
    Q_OBJECT
public:
    WindowParts(QWidget* window, QWidget* panel, QMdiArea* area, QWidget* problems);
    // To the next part (+1) or the one before (-1).
    void step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> parts() const;
    QList<QWidget*> panelLists() const;

    QWidget* m_window;
    QWidget* m_panel;
    QMdiArea* m_area;
    QWidget* m_problems;
};
