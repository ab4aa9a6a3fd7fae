// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <functional>
class QAction;
class QMenu;
class Session;

// File > Recent files: the documents opened or saved last, read from the settings file each
// time the menu opens, so that every way of opening or saving shows up without being told.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    RecentFilesMenu(QMenu* fileMenu, QAction* before, Session& session,
                    std::function<void(const QString&)> open);
    QMenu* menu() const { return m_menu; }

private:
    void refresh();
    void applyTexts();

    Session& m_session;
    QMenu* m_menu;
    std::function<void(const QString&)> m_open;
};
