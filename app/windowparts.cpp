// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowparts.h"
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>

namespace {
bool takesTab(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

// The control of `part` that had the keyboard last, else its first one that Tab reaches.
QWidget* entryOf(QWidget* part) {
    if (QWidget* last = part->focusWidget(); last && takesTab(last)) return last;
    for (QWidget* w = part->nextInFocusChain(); w && w != part; w = w->nextInFocusChain())
        if (part->isAncestorOf(w) && takesTab(w)) return w;
    return takesTab(part) ? part : nullptr;
}
} // namespace

WindowParts::WindowParts(QWidget* window, QWidget* panel, QMdiArea* area, QWidget* problems)
    : QObject(window), m_window(window), m_panel(panel), m_area(area), m_problems(problems) {
    struct Key {
        QKeySequence key;
        std::function<void()> run;
    };
    const Key keys[] = {
        {QKeySequence(Qt::Key_F6), [this] { step(+1); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), [this] { step(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_F6), [this] { m_area->activateNextSubWindow(); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), [this] { m_area->activatePreviousSubWindow(); }},
    };
    for (const Key& k : keys) {
        auto* shortcut = new QShortcut(k.key, window);
        connect(shortcut, &QShortcut::activated, this, k.run);
    }
    for (QWidget* list : panelLists())
        list->installEventFilter(this);
}

QList<QWidget*> WindowParts::panelLists() const {
    QList<QWidget*> lists;
    for (QComboBox* c : m_panel->findChildren<QComboBox*>(Qt::FindDirectChildrenOnly))
        lists << c;
    return lists;
}

QList<QWidget*> WindowParts::parts() const {
    QList<QWidget*> out;
    if (m_panel->isVisible()) out << m_panel;
    if (QMdiSubWindow* front = m_area->activeSubWindow(); front && front->isVisible() && front->widget())
        out << front->widget();
    if (m_problems->isVisible()) out << m_problems;
    return out;
}

void WindowParts::step(int direction) {
    const QList<QWidget*> all = parts();
    if (all.isEmpty()) return;
    QWidget* focused = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < all.size(); ++i)
        if (focused && (all[i] == focused || all[i]->isAncestorOf(focused))) at = i;
    // From outside every part (the focus on the work area's background) F6 starts at the first.
    const qsizetype n = all.size();
    for (qsizetype tried = 1; tried <= n; ++tried) {
        QWidget* part = all[((at < 0 ? (direction > 0 ? -1 : 0) : at) + direction * tried + n * 2) % n];
        if (QWidget* entry = entryOf(part)) {
            if (auto* frame = qobject_cast<QMdiSubWindow*>(part->parentWidget()))
                m_area->setActiveSubWindow(frame);
            entry->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool WindowParts::eventFilter(QObject* watched, QEvent* event) {
    // Tab goes round the panel's three lists: the child window in front has its own round.
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool back =
        key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
    if ((key->key() != Qt::Key_Tab && !back) || key->modifiers() & Qt::ControlModifier) return false;
    QList<QWidget*> lists;
    for (QWidget* w : panelLists())
        if (takesTab(w)) lists << w;
    const qsizetype at = lists.indexOf(qobject_cast<QWidget*>(watched));
    if (at < 0) return false;
    lists[(at + (back ? lists.size() - 1 : 1)) % lists.size()]->setFocus(back ? Qt::BacktabFocusReason
                                                                              : Qt::TabFocusReason);
    return true;
}
