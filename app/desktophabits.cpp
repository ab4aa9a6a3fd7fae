#include "app/desktophabits.h"
#include "ui/common/translatewidgets.h"
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QShortcut>

namespace {
// Built-in caption of each menu of the menu bar and the letter that opens it.
QChar letterFor(const QString& builtin) {
    static const QList<std::pair<QString, QChar>> letters = {
        {QStringLiteral("文件"), QLatin1Char('F')}, {QStringLiteral("编辑"), QLatin1Char('E')},
        {QStringLiteral("编程"), QLatin1Char('P')}, {QStringLiteral("工具"), QLatin1Char('T')},
        {QStringLiteral("窗口"), QLatin1Char('W')}, {QStringLiteral("帮助"), QLatin1Char('H')}};
    for (const auto& [caption, letter] : letters)
        if (caption == builtin) return letter;
    return {};
}
} // namespace

void addMenuMnemonics(QMenuBar* bar) {
    for (QAction* a : bar->actions()) {
        QMenu* menu = a->menu<QMenu*>();
        if (!menu) continue;
        const QString title = menu->title();
        if (title.contains(QLatin1Char('&'))) continue;
        // The Edit and Window menus take their titles from the string tables, not the tree.
        QChar letter = letterFor(builtinCaption(menu, title));
        if (menu->objectName() == QLatin1String("EditMenu")) letter = QLatin1Char('E');
        if (menu->objectName() == QLatin1String("WindowMenu")) letter = QLatin1Char('W');
        if (letter.isNull()) continue;
        const qsizetype at = title.indexOf(letter, 0, Qt::CaseInsensitive);
        menu->setTitle(at >= 0 ? QString(title).insert(at, QLatin1Char('&'))
                               : title + QStringLiteral("(&") + letter + QLatin1Char(')'));
    }
}

QString withoutMnemonic(const QString& title) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
    return QString(title).remove(mnemonic);
}

void installMenuKey(QMainWindow* window) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), window);
    QObject::connect(key, &QShortcut::activated, window, [window] {
        QMenuBar* bar = window->menuBar();
        if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().constFirst());
    });
}
