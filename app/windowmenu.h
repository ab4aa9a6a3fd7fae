// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QObject>
#include <functional>
class QAction;
class QMdiArea;
class QMenu;
class QMenuBar;
class QWidget;
class Language;

// "Window": every child window that holds part of the document or the radio's information,
// ticked when shown; choosing one shows it and brings it to the front, even one closed before.
// Tile and Cascade arrange the windows shown.
class WindowMenu : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMdiArea* area, QList<QWidget*> children, std::function<void(QWidget*)> showChild,
               const Language& lang, QObject* parent);

    QMenu* addMenu(QMenuBar* bar, QAction* before);
    QMenu* menu() const { return m_menu; }
    void refresh(); // rebuilt on every opening; texts follow the language
    // An item kept after the child windows (a dock's show/hide action).
    void addExtraAction(QAction* action);
    // A child window the menu no longer offers.
    void drop(QWidget* child);

private:
    QMdiArea* m_area;
    QList<QWidget*> m_children;
    std::function<void(QWidget*)> m_showChild;
    const Language& m_lang;
    QMenu* m_menu = nullptr;
    QList<QAction*> m_extra;
};
