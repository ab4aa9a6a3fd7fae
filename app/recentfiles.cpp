// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recentfiles.h"
#include "core/base/messages.h"
#include "core/base/recentfiles.h"
#include "core/codeplug/session.h"
#include <QDir>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu* fileMenu, QAction* before, Session& session,
                                 std::function<void(const QString&)> open)
    : QObject(fileMenu), m_session(session), m_open(std::move(open)) {
    m_menu = new QMenu(fileMenu);
    m_menu->setObjectName(QStringLiteral("RecentFilesMenu"));
    // Its texts are ours, set here on every language switch; the widget-tree translation leaves
    // them alone.
    m_menu->setProperty("kt520_fixed", true);
    fileMenu->insertMenu(before, m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &RecentFilesMenu::refresh);
    connect(&session.lang, &Language::applied, this, &RecentFilesMenu::applyTexts);
    applyTexts();
    refresh();
}

void RecentFilesMenu::applyTexts() {
    m_menu->setTitle(m_session.lang.text(Str::RecentFilesMenu));
}

void RecentFilesMenu::refresh() {
    m_menu->clear();
    const QStringList paths = RecentFiles::load(m_session.files);
    for (int i = 0; i < paths.size(); ++i) {
        // "&1 radio.qv19" with the whole path beside it: the number is the key to press.
        QAction* a = m_menu->addAction(
            QStringLiteral("&%1  %2").arg(i + 1).arg(QDir::toNativeSeparators(paths.at(i))));
        a->setProperty("kt520_fixed", true);
        connect(a, &QAction::triggered, this, [this, path = paths.at(i)] { m_open(path); });
    }
    m_menu->addSeparator();
    QAction* clear = m_menu->addAction(m_session.lang.text(Str::RecentFilesClear));
    clear->setProperty("kt520_fixed", true);
    clear->setObjectName(QStringLiteral("RecentFilesClear"));
    clear->setEnabled(!paths.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { (void)RecentFiles::forget(m_session.files); });
}
