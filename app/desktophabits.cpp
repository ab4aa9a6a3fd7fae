// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktophabits.h"
#include "ui/common/translatewidgets.h"
#include <QAction>
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
// Items whose built-in caption has no Latin letter: the letter of the English caption.
QChar itemLetterFor(const QString& builtin) {
    static const QList<std::pair<QString, QChar>> letters = {
        {QStringLiteral("新建"), QLatin1Char('N')},     {QStringLiteral("打开"), QLatin1Char('O')},
        {QStringLiteral("保存"), QLatin1Char('S')},     {QStringLiteral("退出"), QLatin1Char('X')},
        {QStringLiteral("读频"), QLatin1Char('R')},     {QStringLiteral("写频"), QLatin1Char('W')},
        {QStringLiteral("信道编辑"), QLatin1Char('C')}, {QStringLiteral("可选功能"), QLatin1Char('O')},
        {QStringLiteral("本机信息"), QLatin1Char('I')}, {QStringLiteral("通信端口"), QLatin1Char('P')},
        {QStringLiteral("语言"), QLatin1Char('L')},     {QStringLiteral("帮助"), QLatin1Char('H')},
        {QStringLiteral("关于"), QLatin1Char('A')},     {QStringLiteral("中文"), QLatin1Char('C')},
        {QStringLiteral("英文"), QLatin1Char('E')},     {QStringLiteral("中文(繁體)"), QLatin1Char('T')}};
    for (const auto& [caption, letter] : letters)
        if (caption == builtin) return letter;
    return {};
}

// Items captioned from the string tables, by object name: the letter of the English caption, so
// that the key is the same in every language.
QChar namedItemLetter(const QString& objectName) {
    static const QList<std::pair<QString, QChar>> letters = {
        {QStringLiteral("RecentFilesMenu"), QLatin1Char('R')},
        {QStringLiteral("ImportCsv"), QLatin1Char('I')},
        {QStringLiteral("ExportCsv"), QLatin1Char('E')},
        {QStringLiteral("Print"), QLatin1Char('P')},
        {QStringLiteral("ExportPdf"), QLatin1Char('D')},
        {QStringLiteral("RadioBackups"), QLatin1Char('B')},
        {QStringLiteral("UndoAction"), QLatin1Char('U')},
        {QStringLiteral("RedoAction"), QLatin1Char('R')},
        {QStringLiteral("EditCut"), QLatin1Char('T')},
        {QStringLiteral("EditCopy"), QLatin1Char('C')},
        {QStringLiteral("EditPaste"), QLatin1Char('P')},
        {QStringLiteral("InsertChannel"), QLatin1Char('I')},
        {QStringLiteral("DeleteChannel"), QLatin1Char('D')},
        {QStringLiteral("CompareWithFile"), QLatin1Char('F')},
        {QStringLiteral("CompareWithRadio"), QLatin1Char('M')},
        {QStringLiteral("ShowTchannela"), QLatin1Char('A')},
        {QStringLiteral("ShowTchannelb"), QLatin1Char('B')},
        {QStringLiteral("ShowTfunc"), QLatin1Char('O')},
        {QStringLiteral("ShowTaddmessage"), QLatin1Char('I')},
        {QStringLiteral("ShowProblems"), QLatin1Char('P')},
        {QStringLiteral("TileWindows"), QLatin1Char('T')},
        {QStringLiteral("CascadeWindows"), QLatin1Char('S')},
        {QStringLiteral("RecentFilesClear"), QLatin1Char('C')}};
    for (const auto& [name, letter] : letters)
        if (name == objectName) return letter;
    return {};
}

bool isKeyLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

QString withLetter(const QString& text, QChar letter) {
    // A capital is where a reader looks for the key ("Save &As"), else any place of the letter.
    qsizetype at = text.indexOf(letter.toUpper(), 0, Qt::CaseSensitive);
    if (at < 0) at = text.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at >= 0) return QString(text).insert(at, QLatin1Char('&'));
    // "另存为..." becomes "另存为(&A)...": the letter before the trailing dots.
    qsizetype end = text.size();
    while (end > 0 && (text.at(end - 1) == u'.' || text.at(end - 1) == u'…'))
        --end;
    return text.left(end) + QStringLiteral("(&") + letter.toUpper() + QLatin1Char(')') + text.mid(end);
}

void letterOnOpening(QMenu* menu);

void letterItems(QMenu* menu) {
    QString taken;
    QList<QAction*> pending;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->text().isEmpty()) continue;
        const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < a->text().size()) {
            taken += a->text().at(amp + 1).toUpper();
            continue;
        }
        pending << a;
    }
    for (QAction* a : pending) {
        const QString text = a->text();
        const QObject* owner = a->menu() ? static_cast<QObject*>(a->menu()) : a;
        QChar letter = namedItemLetter(owner->objectName());
        if (letter.isNull()) letter = itemLetterFor(builtinCaption(owner, text));
        if (!letter.isNull() && taken.contains(letter.toUpper())) letter = {};
        for (qsizetype i = 0; letter.isNull() && i < text.size(); ++i)
            if (isKeyLetter(text.at(i)) && !taken.contains(text.at(i).toUpper())) letter = text.at(i);
        for (char c = 'A'; letter.isNull() && c <= 'Z'; ++c)
            if (!taken.contains(QLatin1Char(c))) letter = QLatin1Char(c);
        if (letter.isNull()) continue;
        taken += letter.toUpper();
        if (a->menu())
            a->menu()->setTitle(withLetter(text, letter));
        else
            a->setText(withLetter(text, letter));
    }
    for (QAction* a : menu->actions())
        if (QMenu* sub = a->menu()) {
            letterItems(sub);
            letterOnOpening(sub);
        }
}

void letterOnOpening(QMenu* menu) {
    if (menu->property("kt520_lettered").toBool()) return;
    menu->setProperty("kt520_lettered", true);
    // After the menu's own handlers have rebuilt or renamed its items.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { letterItems(menu); });
}
} // namespace

void addItemMnemonics(QMenuBar* bar) {
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu<QMenu*>();
        if (!menu) continue;
        letterItems(menu);
        letterOnOpening(menu);
    }
}

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
