// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/valuewords.h"
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

// One language file: numbered strings, one per line as "number<TAB>text" in UTF-8, "\n" standing
// for a line break. Malformed lines and unknown numbers are skipped; a text is cut to 253 bytes,
// the size the radio software's string buffer gives.
class StringTable {
public:
    static constexpr int MaxTextBytes = 253;
    static StringTable parse(const QByteArray& utf8);
    // Empty when the file does not exist or cannot be read.
    [[nodiscard]] static std::optional<StringTable> load(const QString& path);

    std::optional<QString> text(int number) const;
    QList<int> numbers() const; // ascending

private:
    QHash<int, QString> m_texts;
};

struct MessageTexts {
    QString warnCaption, portOpenFailed, linkFailed, statusLine, newCaption, newQuestion;
};

// The active language: its index, the value words and message texts, the texts of the windows
// keyed by their built-in Simplified Chinese caption, and every numbered string of the table.
class Language : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    int index = 1; // LanguageIndex: 1 Simplified Chinese, 2 English, 3 Traditional Chinese
    bool loaded = false;
    ValueWords words;      // empty until a language file has been applied
    MessageTexts messages; // likewise
    StringTable table;

    // The current text of a string number; the built-in text when the table lacks it.
    QString text(int number) const;
    // The current text of a window element whose built-in caption is `builtin`; the caption
    // itself when the element has no string number.
    QString caption(const QString& builtin) const;

    static QString baseName(int index); // "cha_dll", "eng_dll", "ty"
    // Finds base + ".dll" in `dir` without regard to letter case; empty when there is none.
    static QString libraryPath(const QString& dir, const QString& base);

signals:
    void applied();
};
