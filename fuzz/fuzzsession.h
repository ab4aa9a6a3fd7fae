// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A session as after start-up, made cheaply for every input: no settings file, no language file
// (looking for them on every input would only slow the fuzzers down), the Simplified Chinese
// words set directly, and a dealer's three bands.
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>

inline std::unique_ptr<Session> startedSession() {
    auto s = std::make_unique<Session>();
    s->files = ProgramFiles::besideExecutable(QStringLiteral("/nonexistent-kt520-fuzz"));
    s->doc.words = ValueWords::simplifiedChinese();
    s->lang.words = s->doc.words;
    ControlStore& main = s->doc.main;
    main.setItems(MainCtl::Model, {QStringLiteral("KT-520RX")});
    main.setIndex(MainCtl::Model, 0);
    main.setItems(MainCtl::Band1,
                  {QStringLiteral("136-174MHz"), QStringLiteral("220-260MHz"), QStringLiteral("400-470MHz")});
    main.setIndex(MainCtl::Band1, 2);
    return s;
}

// Where two sessions' documents differ (a channel cell of `rows` or a control's value), for the
// report of a finding; empty when they hold the same document.
inline QString documentDifference(const Session& a, const Session& b, std::initializer_list<int> rows) {
    for (Side side : {Side::A, Side::B})
        for (int row : rows)
            for (int col = 1; col < ChannelTable::Columns; ++col) {
                const QString x = a.doc.table(side).cell(col, row), y = b.doc.table(side).cell(col, row);
                if (x != y)
                    return QStringLiteral("table %1 row %2 column %3: '%4' / '%5'")
                        .arg(side == Side::A ? 'A' : 'B')
                        .arg(row)
                        .arg(col)
                        .arg(x, y);
            }
    for (const ControlStore* store : {&a.doc.func, &a.doc.main}) {
        const ControlStore& other = store == &a.doc.func ? b.doc.func : b.doc.main;
        for (const QString& name : store->names()) {
            const ControlState& x = store->state(name);
            const ControlState& y = other.state(name);
            if (x.index != y.index || x.checked != y.checked || x.text != y.text ||
                x.position != y.position || x.cells != y.cells || x.items != y.items)
                return QStringLiteral("%1: index %2/%3 checked %4/%5 text '%6'/'%7' position %8/%9")
                    .arg(name)
                    .arg(x.index)
                    .arg(y.index)
                    .arg(x.checked)
                    .arg(y.checked)
                    .arg(x.text, y.text)
                    .arg(x.position)
                    .arg(y.position);
        }
    }
    return {};
}

// Ends the run as a finding, saying why on the error output.
[[noreturn]] inline void finding(const QString& why) {
    std::fprintf(stderr, "finding: %s\n", qPrintable(why));
    std::abort();
}

// A key of everything a document file and the validation take from a session: every channel
// cell, every optional-function value, the main window's selections. Equal keys, equal saved
// documents; cheaper to make than the document itself.
inline size_t documentKey(const Session& s) {
    size_t key = 0;
    for (Side side : {Side::A, Side::B})
        for (int row = 1; row <= ChannelTable::LastRow; ++row)
            for (int col = 1; col < ChannelTable::Columns; ++col)
                key = qHashMulti(key, s.doc.table(side).cell(col, row));
    for (const ControlStore* store : {&s.doc.func, &s.doc.main})
        for (const QString& name : store->names()) {
            const ControlState& c = store->state(name);
            key = qHashMulti(key, c.index, c.checked, c.text, c.position);
            for (const QStringList& row : c.cells)
                key = qHashMulti(key, row);
            if (store == &s.doc.main) key = qHashMulti(key, c.items);
        }
    return key;
}

// What a read may leave that no document can carry: a channel row without RX frequency is read
// with the name of its name block, but a document line whose first column is empty is an empty
// row.
inline void forgetWhatNoDocumentCarries(Session& s) {
    for (Side side : {Side::A, Side::B})
        for (int row = 1; row <= ChannelTable::LastRow; ++row)
            if (!s.doc.table(side).rowInUse(row)) s.doc.table(side).clearRow(row);
}

// Why the document `saved` does not read back to itself in a fresh session (refused, a line not
// applied, or the first line that saves differently); empty when it does.
inline QString roundTripProblem(const QByteArray& saved) {
    auto again = startedSession();
    const OpenResult reread = openDocument(*again, saved);
    if (!reread.accepted()) return QStringLiteral("the saved document is refused");
    if (!reread.notApplied.isEmpty())
        return QStringLiteral("line %1 of the saved document is not applied: %2")
            .arg(reread.notApplied.first().line)
            .arg(reread.notApplied.first().reason);
    const QList<QByteArray> before = saved.split('\n');
    const QList<QByteArray> after = saveDocument(*again).split('\n');
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i)
        if (before.value(i) != after.value(i))
            return QStringLiteral("line %1 saves as '%2', reads back as '%3'")
                .arg(i + 1)
                .arg(QString::fromLatin1(before.value(i).trimmed()),
                     QString::fromLatin1(after.value(i).trimmed()));
    return {};
}
