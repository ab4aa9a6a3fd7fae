// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
class QMainWindow;
class QMenuBar;

// Keyboard habits of desktop programs that the radio's own menus lack.

// Alt + a letter opens a menu: "&File" in English, "文件(&F)" in Chinese, the letter chosen by
// the menu's built-in caption so that it is the same in every language. Run after every
// translation of the menu titles.
void addMenuMnemonics(QMenuBar* bar);
// Every item of every menu (submenus too) gets an access letter: the one its built-in caption
// or its object name chose where the caption holds it or is Chinese ("新建(&N)"), else
// the first letter of its caption not yet taken in that menu. Applied again whenever a menu
// opens, since items are renamed (undo steps) and rebuilt (window list) on the way.
void addItemMnemonics(QMenuBar* bar);
// A menu title without the key letter the menu bar gave it.
QString withoutMnemonic(const QString& title);

// F10 opens the first menu of the window's menu bar.
void installMenuKey(QMainWindow* window);
