// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowmenu.h"
#include "app/desktophabits.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

WindowMenu::WindowMenu(QMdiArea* area, QList<QWidget*> children, std::function<void(QWidget*)> showChild,
                       const Language& lang, QObject* parent)
    : QObject(parent), m_area(area), m_children(std::move(children)), m_showChild(std::move(showChild)),
      m_lang(lang) {}

QMenu* WindowMenu::addMenu(QMenuBar* bar, QAction* before) {
    m_menu = new QMenu(bar);
    m_menu->setObjectName(QStringLiteral("WindowMenu"));
    connect(m_menu, &QMenu::aboutToShow, this, &WindowMenu::refresh);
    bar->insertMenu(before, m_menu);
    refresh();
    return m_menu;
}

void WindowMenu::refresh() {
    if (!m_menu) return;
    // A title already shown keeps the key letter the menu bar gave it.
    if (withoutMnemonic(m_menu->title()) != m_lang.text(Str::WindowMenu))
        m_menu->setTitle(m_lang.text(Str::WindowMenu));
    m_menu->clear();
    for (QWidget* child : m_children) {
        QAction* a = m_menu->addAction(child->windowTitle());
        a->setProperty("kt520_fixed", true);
        a->setObjectName(QStringLiteral("Show") + child->objectName());
        a->setCheckable(true);
        const auto* frame = qobject_cast<QMdiSubWindow*>(child->parentWidget());
        a->setChecked(frame && frame->isVisible() && !frame->isMinimized());
        connect(a, &QAction::triggered, this, [this, child] { m_showChild(child); });
    }
    m_menu->addActions(m_extra);
    m_menu->addSeparator();
    QAction* tile = m_menu->addAction(m_lang.text(Str::TileMenu), m_area, &QMdiArea::tileSubWindows);
    QAction* cascade = m_menu->addAction(m_lang.text(Str::CascadeMenu), m_area, &QMdiArea::cascadeSubWindows);
    for (QAction* a : {tile, cascade})
        a->setProperty("kt520_fixed", true);
    tile->setObjectName(QStringLiteral("TileWindows"));
    cascade->setObjectName(QStringLiteral("CascadeWindows"));
}

void WindowMenu::drop(QWidget* child) {
    m_children.removeAll(child);
    refresh();
}

void WindowMenu::addExtraAction(QAction* action) {
    m_extra << action;
    refresh();
}
