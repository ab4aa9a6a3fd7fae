// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <functional>
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class Session;

// Undo and redo: the menu items of "Edit" and the tool bar buttons, named after the step they
// take back or do again ("Undo: delete channel 05 (A)"). The history is the session's; these
// only show it. `closeEditors` runs first, so no open in-place editor writes into the state
// the step brings back.
class EditCommands : public QObject {
    Q_OBJECT
public:
    // `window` is the main window: Ctrl+Z and Ctrl+Y there always reach the document's history,
    // also while a text field has the keyboard (a field's own undo would record a new step).
    EditCommands(Session& session, std::function<void()> closeEditors, QWidget* window);

    // The "Edit" menu, put before `before` (the next menu of the bar).
    QMenu* addMenu(QMenuBar* bar, QAction* before);
    void addButtons(QToolBar* bar);
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    // Cut, copy, paste, insert and delete channel in the menu: they run the same commands of the
    // channel grid that `grid` returns (the table used last), on its current cell.
    void setChannelGrid(std::function<QWidget*()> grid);
    QList<QAction*> channelActions() const { return m_channel; }

    void undo();
    void redo();
    // Texts and states after a change of the history or of the language.
    void refresh();

signals:
    // What the last undo or redo did, for the status line ("Undone: open radio.qv19").
    void outcome(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& m_session;
    QWidget* m_window;
    std::function<void()> m_closeEditors;
    QAction* m_undo;
    QAction* m_redo;
    QMenu* m_menu = nullptr;
    std::function<QWidget*()> m_grid;
    QList<QAction*> m_channel;
};
