// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
class Session;

// The language switch: loads the language file `baseName` + ".dll" from the program's folder,
// stores its value words, message texts and window texts in session.lang, rebuilds the word
// lists of the optional functions (keeping each selection) and rewrites the value words that
// stand in both channel tables. A missing file changes nothing and returns false.
bool applyLanguage(Session& session, const QString& baseName);
// The same switch for a string table already read.
class StringTable;
void applyStringTable(Session& session, const StringTable& table);

// TranslateCells: rewrites every recognised value word of both channel tables into `words`.
class Codeplug;
void translateCells(Codeplug& doc);

// The language chosen at start-up from the stored "lang" value and the system's language
// identifier (2052 = Chinese, PRC): a stored 3 (Traditional Chinese) stays; anything else
// becomes the system's language, Simplified Chinese on a PRC system and English elsewhere.
int startupLanguage(int stored, int systemLanguageId);
// 2052 when the system locale is Chinese for China, else another identifier.
int systemLanguageId();
