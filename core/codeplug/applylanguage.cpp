// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/applylanguage.h"
#include "core/base/messages.h"
#include "core/base/texttable.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/session.h"
#include <QLocale>

namespace {
// An item of a rebuilt list: a fixed text (number 0) or a string number with a fixed prefix.
struct Item {
    int number;
    const char* fixed;
};

struct ListRule {
    const char* control;
    QList<Item> items;
};

const QList<Item>& longPressItems() {
    static const QList<Item> items = {
        {0, "DC"}, {0, "Fm"},     {164, ""},   {165, ""},   {166, ""}, {182, ""},  {170, ""}, {30, ""},
        {138, ""}, {0, "VFO/MR"}, {0, "DTMF"}, {0, "CALL"}, {139, ""}, {0, "A/B"}, {177, ""}, {176, ""}};
    return items;
}

const QList<Item>& shortPressItems() {
    static const QList<Item> items = {{0, "DC"}, {0, "Fm"},     {0, "BandChange"}, {0, "Time"},
                                      {165, ""}, {182, ""},     {170, ""},         {30, ""},
                                      {138, ""}, {0, "VFO/MR"}, {0, "DTMF"},       {0, "CALL"},
                                      {139, ""}, {0, "A/B"},    {177, ""},         {176, ""}};
    return items;
}

// The optional-function lists whose items are language words, rebuilt on every switch.
const QList<ListRule>& listRules() {
    static const QList<ListRule> rules = {
        {Ctl::ComboBox25, {{51, ""}, {52, ""}}},
        {Ctl::ComboBox16, {{118, ""}, {119, ""}, {120, ""}}},
        {Ctl::ComboBox20, {{0, "CTC/DCS"}, {0, "DTMF"}, {104, ""}, {105, ""}}},
        {Ctl::ComboBox3, {{209, ""}, {210, ""}}},
        {Ctl::ComboBox27, {{209, ""}, {210, ""}}},
        {Ctl::ComboBox19, {{212, ""}, {213, ""}}},
        {Ctl::ComboBox28, {{212, ""}, {213, ""}}},
        {Ctl::ComboBox18, {{216, ""}, {217, ""}, {218, ""}, {219, ""}}},
        {Ctl::ComboBox24, {{224, "B "}, {224, "A "}}},
        {Ctl::ComboBox11, longPressItems()},
        {Ctl::ComboBox8, longPressItems()},
        {Ctl::ComboBox13, longPressItems()},
        {Ctl::ComboBox12, shortPressItems()},
        {Ctl::ComboBox119, shortPressItems()},
        {Ctl::ComboBox14, shortPressItems()},
        {Ctl::ComboBox23, shortPressItems()},
    };
    return rules;
}

QStringList buildItems(const Language& lang, const QList<Item>& items) {
    QStringList out;
    for (const Item& item : items)
        out << (item.number == 0 ? QString::fromUtf8(item.fixed)
                                 : QString::fromUtf8(item.fixed) + lang.text(item.number));
    return out;
}

void replaceFirstItem(ControlStore& store, const QString& name, const QString& first) {
    QStringList items = store.items(name);
    if (items.isEmpty()) return;
    items[0] = first;
    store.setItems(name, items);
}

// Forms of the value words that TranslateCells recognises, per group of columns.
struct CellRule {
    QList<int> columns;
    QStringList forms;
    QString ValueWords::*word;
};

const QList<CellRule>& cellRules() {
    static const QList<int> options = {7, 8, 9, 11, 12, 13, 15, 16, 17};
    static const QList<CellRule> rules = {
        {{2, 4}, {u"禁用"_qs, u"OFF"_qs}, &ValueWords::off},
        {{5}, {u"高功率"_qs, u"High"_qs}, &ValueWords::high},
        {{5}, {u"中功率"_qs, u"Mid"_qs}, &ValueWords::mid},
        {{5}, {u"低功率"_qs, u"Low"_qs}, &ValueWords::low},
        {{6}, {u"窄带"_qs, u"Narrow"_qs, u"窄帶"_qs}, &ValueWords::narrow},
        {{6}, {u"宽带"_qs, u"Wide"_qs, u"寬帶"_qs}, &ValueWords::wide},
        {options, {u"禁用"_qs, u"OFF"_qs}, &ValueWords::off},
        {options, {u"启用"_qs, u"ON"_qs, u"啟用"_qs}, &ValueWords::on},
        {{10}, {u"禁用"_qs, u"OFF"_qs}, &ValueWords::off},
        {{10}, {u"压扩"_qs, u"Comp"_qs, u"壓擴"_qs}, &ValueWords::compander},
        {{10}, {u"扰频"_qs, u"scrambler"_qs, u"擾頻"_qs}, &ValueWords::scrambler},
    };
    return rules;
}

void translateTable(ChannelTable& table, const ValueWords& words) {
    // Every cell once, and an empty one (most of a table) without looking at the rules.
    for (int row = 1; row <= ChannelTable::LastRow; ++row)
        for (int col = 1; col < ChannelTable::Columns; ++col) {
            const QString text = table.cell(col, row);
            if (text.isEmpty()) continue;
            for (const CellRule& rule : cellRules())
                if (rule.columns.contains(col) && rule.forms.contains(text)) {
                    table.setCell(col, row, words.*rule.word);
                    break;
                }
        }
}

void applyHeaders(Session& s) {
    QStringList headers;
    for (int col = 0; col < ChannelTable::Columns; ++col) {
        const int number = channelHeaderNumber(col);
        headers << (number > 0 ? s.lang.text(number) : QString());
    }
    headers[Col::PttId] = QStringLiteral("PTT ID");
    headers[Col::Dtmf] = QStringLiteral("DTMF");
    s.doc.tableA.setHeaders(headers);
    s.doc.tableB.setHeaders(headers);
}
} // namespace

void translateCells(Codeplug& doc) {
    translateTable(doc.tableA, doc.words);
    translateTable(doc.tableB, doc.words);
}

bool applyLanguage(Session& s, const QString& baseName) {
    const auto table = StringTable::load(s.files.languageFile(baseName));
    if (!table) return false; // silently: the previous language stays
    applyStringTable(s, *table);
    return true;
}

void applyStringTable(Session& s, const StringTable& table) {
    Language& lang = s.lang;
    lang.table = table;
    lang.loaded = true;

    ValueWords w;
    w.off = lang.text(Str::WordOff);
    w.on = lang.text(Str::WordOn);
    w.high = lang.text(Str::WordHigh);
    w.mid = lang.text(Str::WordMid);
    w.low = lang.text(Str::WordLow);
    w.wide = lang.text(Str::WordWide);
    w.narrow = lang.text(Str::WordNarrow);
    w.compander = lang.text(Str::WordCompander);
    w.scrambler = lang.text(Str::WordScrambler);

    ControlStore& func = s.doc.func;
    func.setItems(Ctl::ComboBox26, {w.on, w.off});
    for (const ListRule& rule : listRules())
        func.setItems(QString::fromLatin1(rule.control), buildItems(lang, rule.items));
    replaceFirstItem(func, Ctl::ComboBox1, w.off);
    // The time-out list starts with the same word; keeping it in step avoids a list that
    // shows two languages at once until the next model change.
    replaceFirstItem(func, Ctl::ComboBox5, w.off);

    // Header cells of the call list and the FM list.
    func.setCell(Ctl::StringGrid1, 0, 0, lang.text(122));
    func.setCell(Ctl::StringGrid1, 1, 0, lang.text(123));
    func.setCell(Ctl::StringGrid2, 0, 0, lang.text(25));
    func.setCell(Ctl::StringGrid2, 0, 1, lang.text(179));
    applyHeaders(s);

    lang.words = w;
    lang.messages = {lang.text(Str::WarnCaption), lang.text(Str::PortOpenFailed),
                     lang.text(Str::LinkFailed),  lang.text(Str::StatusLine),
                     lang.text(Str::NewCaption),  lang.text(Str::NewQuestion)};
    s.doc.words = w;
    translateCells(s.doc);
    emit lang.applied();
}

int startupLanguage(int stored, int systemLanguageId) {
    // Traditional Chinese is kept as chosen; Simplified Chinese and English follow the system.
    if (stored == 3) return 3;
    return systemLanguageId == 2052 ? 1 : 2;
}

int systemLanguageId() {
    const QLocale l = QLocale::system();
    return l.language() == QLocale::Chinese && l.territory() == QLocale::China ? 2052 : 1033;
}
