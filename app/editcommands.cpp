// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editcommands.h"
#include "app/desktophabits.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>

namespace {
// A bent arrow pointing left (undo) or right (redo), drawn like the other tool pictures, at
// twice the size as well for screens at double scale.
QIcon arrowIcon(bool redo) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(32 * scale, 32 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        if (redo) {
            p.translate(32, 0);
            p.scale(-1, 1);
        }
        const QColor blue(30, 80, 160);
        p.setPen(QPen(blue, 4, Qt::SolidLine, Qt::RoundCap));
        QPainterPath path;
        path.moveTo(9, 12);
        path.lineTo(20, 12);
        path.cubicTo(30, 12, 30, 27, 20, 27);
        path.lineTo(12, 27);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(12, 4), QPointF(12, 20)}));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
} // namespace

EditCommands::EditCommands(Session& session, std::function<void()> closeEditors, QWidget* window)
    : QObject(window), m_session(session), m_window(window), m_closeEditors(std::move(closeEditors)),
      m_undo(new QAction(arrowIcon(false), QString(), this)),
      m_redo(new QAction(arrowIcon(true), QString(), this)) {
    m_undo->setObjectName(QStringLiteral("UndoAction"));
    m_redo->setObjectName(QStringLiteral("RedoAction"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // The texts come from the history, not from the widget-tree translation.
    m_undo->setProperty("kt520_fixed", true);
    m_redo->setProperty("kt520_fixed", true);
    connect(m_undo, &QAction::triggered, this, &EditCommands::undo);
    connect(m_redo, &QAction::triggered, this, &EditCommands::redo);
    connect(&session.history, &DocumentHistory::changed, this, &EditCommands::refresh);
    refresh();
    qApp->installEventFilter(this);
}

bool EditCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* a : {m_undo, m_redo})
        for (const QKeySequence& key : a->shortcuts())
            if (key == pressed) return true; // not overridden: the shortcut goes to the action
    return false;
}

QMenu* EditCommands::addMenu(QMenuBar* bar, QAction* before) {
    m_menu = new QMenu(bar);
    m_menu->setObjectName(QStringLiteral("EditMenu"));
    m_menu->addAction(m_undo);
    m_menu->addAction(m_redo);
    if (!m_channel.isEmpty()) m_menu->addSeparator();
    m_menu->addActions(m_channel);
    bar->insertMenu(before, m_menu);
    refresh();
    return m_menu;
}

void EditCommands::setChannelGrid(std::function<QWidget*()> grid) {
    m_grid = std::move(grid);
    struct Command {
        int text;
        QKeySequence key;
        const char* name;
    };
    const Command commands[] = {{Str::EditCut, QKeySequence::Cut, "EditCut"},
                                {Str::EditCopy, QKeySequence::Copy, "EditCopy"},
                                {Str::EditPaste, QKeySequence::Paste, "EditPaste"},
                                {Str::InsertChannel, QKeySequence(Qt::Key_Insert), "InsertChannel"},
                                {Str::DeleteChannel, QKeySequence(), "DeleteChannel"}};
    for (const auto& [text, key, name] : commands) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        a->setData(text);
        a->setProperty("kt520_fixed", true);
        // The keys belong to the grid (a text field keeps its own Ctrl+C): the menu only shows them.
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, [this, text = text] {
            QWidget* grid = m_grid ? m_grid() : nullptr;
            if (!grid) return;
            for (QAction* own : grid->actions())
                if (own->data().toInt() == text) {
                    grid->setFocus(Qt::OtherFocusReason);
                    own->trigger();
                    return;
                }
        });
        m_channel << a;
    }
    refresh();
}

void EditCommands::addButtons(QToolBar* bar) {
    bar->addAction(m_undo);
    bar->addAction(m_redo);
}

void EditCommands::undo() {
    if (m_closeEditors) m_closeEditors();
    DocumentHistory& h = m_session.history;
    if (!h.canUndo()) return;
    const QString step = h.undoName();
    h.undo();
    emit outcome(m_session.lang.text(Str::StatusUndone)
                     .arg(step.isEmpty() ? m_session.lang.text(Str::UndoMenu) : step));
}

void EditCommands::redo() {
    if (m_closeEditors) m_closeEditors();
    DocumentHistory& h = m_session.history;
    if (!h.canRedo()) return;
    const QString step = h.redoName();
    h.redo();
    emit outcome(m_session.lang.text(Str::StatusRedone)
                     .arg(step.isEmpty() ? m_session.lang.text(Str::RedoMenu) : step));
}

void EditCommands::refresh() {
    const DocumentHistory& h = m_session.history;
    const Language& lang = m_session.lang;
    const QString undoName = h.undoName();
    const QString redoName = h.redoName();
    m_undo->setText(undoName.isEmpty() ? lang.text(Str::UndoMenu) : lang.text(Str::UndoStep).arg(undoName));
    m_redo->setText(redoName.isEmpty() ? lang.text(Str::RedoMenu) : lang.text(Str::RedoStep).arg(redoName));
    m_undo->setEnabled(h.canUndo());
    m_redo->setEnabled(h.canRedo());
    for (QAction* a : m_channel)
        a->setText(lang.text(a->data().toInt()));
    // A title already shown keeps the key letter the menu bar gave it.
    if (m_menu && withoutMnemonic(m_menu->title()) != lang.text(Str::EditMenu))
        m_menu->setTitle(lang.text(Str::EditMenu));
}
