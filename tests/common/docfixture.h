// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/appsettings.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include "tests/common/startedsession.h"
#include <QList>
#include <memory>

inline std::unique_ptr<Session> freshDocument(int language = 1) {
    auto s = startedSession(language);
    newDocument(*s);
    return s;
}

// The lines of a document file without their CR LF.
inline QList<QByteArray> fileLines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    return lines;
}

inline QByteArray joinLines(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines)
        out += line + "\r\n";
    return out;
}

// A document that uses every kind of line with values other than the new-document ones: both
// tables with VFO and channel rows (CTCSS frequency and every value word), the call and FM lists,
// changed lists, flags, texts and positions.
inline void fillRichDocument(Session& s) {
    const ValueWords& w = s.doc.words;
    ChannelTable& a = s.doc.tableA;
    ChannelTable& b = s.doc.tableB;
    const QChar dp = systemDecimalPoint();
    const auto freq = [&](const char* f) { return QString::fromLatin1(f).replace(QChar('.'), dp); };
    const QStringList rowA4 = {freq("438.50000"),
                               QStringLiteral("88.5"),
                               freq("438.50000"),
                               QStringLiteral("D023N"),
                               w.high,
                               w.wide,
                               w.on,
                               w.off,
                               w.on,
                               w.compander,
                               w.off,
                               w.on,
                               w.off,
                               QStringLiteral("REPEAT"),
                               w.off,
                               w.on,
                               w.off,
                               freq("107.0")};
    const QStringList rowA1 = {freq("145.00625"),
                               w.off,
                               freq("145.60000"),
                               QStringLiteral("D754I"),
                               w.low,
                               w.narrow,
                               w.off,
                               w.on,
                               w.off,
                               QStringLiteral("TX ") + w.scrambler,
                               w.on,
                               w.off,
                               w.on,
                               QString(),
                               w.on,
                               w.off,
                               w.on,
                               QString()};
    const QStringList rowB102 = {freq("462.56250"),
                                 QStringLiteral("254.1"),
                                 QString(),
                                 w.off,
                                 w.mid,
                                 w.wide,
                                 w.on,
                                 w.off,
                                 w.on,
                                 QStringLiteral("RX ") + w.scrambler,
                                 w.off,
                                 w.off,
                                 w.off,
                                 QStringLiteral("a b  c"),
                                 w.off,
                                 w.off,
                                 w.off,
                                 freq("55.0")};
    for (int col = 1; col < ChannelTable::Columns; ++col) {
        a.setCell(col, 4, rowA4.at(col - 1));
        a.setCell(col, 1, rowA1.at(col - 1));
        b.setCell(col, 102, rowB102.at(col - 1));
    }
    ControlStore& f = s.doc.func;
    f.setIndex(QStringLiteral("ComboBox1"), 15);
    f.setIndex(QStringLiteral("ComboBox12"), 12);
    f.setIndex(QStringLiteral("ComboBox21"), 15);
    f.setIndex(QStringLiteral("ComboBox17"), 7);
    f.setChecked(QStringLiteral("CheckBox39"), true);
    f.setIndex(QStringLiteral("ComboBox26"), 0);
    f.setChecked(QStringLiteral("CheckBox1"), false);
    f.setChecked(QStringLiteral("CheckBox2"), true);
    f.setChecked(QStringLiteral("CheckBox4"), true);
    f.setText(QStringLiteral("Edit16"), QStringLiteral("HELLO"));
    f.setText(QStringLiteral("Edit13"), QStringLiteral("150"));
    f.setText(QStringLiteral("Edit28"), QStringLiteral("470"));
    f.setText(QStringLiteral("Edit2"), QStringLiteral("150"));
    f.setText(QStringLiteral("Edit9"), QStringLiteral("AB*#"));
    f.setText(QStringLiteral("Edit11"), QStringLiteral("0123"));
    f.setText(QStringLiteral("Edit19"), QStringLiteral("D#"));
    f.setText(QStringLiteral("Edit17"), QStringLiteral("12"));
    f.setText(QStringLiteral("Edit10"), QStringLiteral("120"));
    f.setText(QStringLiteral("Edit24"), QStringLiteral("35"));
    f.setText(QStringLiteral("Edit31"), QStringLiteral("2031-01-31"));
    f.setText(QStringLiteral("Edit32"), QStringLiteral("2024-02-29"));
    f.setText(QStringLiteral("Edit1"), formatFixed(2.5, 1));
    for (int row = 1; row <= DocumentFormat::CallListRows; ++row)
        f.setCell(Ctl::CallList, 1, row, QStringLiteral("%1").arg(9000 + row));
    f.setCell(Ctl::FmList, 1, 1, freq("108.000"));
    f.setCell(Ctl::FmList, 1, 17, freq("98.150"));
    f.setCell(Ctl::FmList, 1, 31, freq("87.500"));
}
