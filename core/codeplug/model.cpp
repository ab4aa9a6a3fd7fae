// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/model.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/session.h"

namespace {
using Kind = ControlState::Kind;

// One setting of a new document: a list position, a check state (0/1), an up-down position, or
// an edit text when `text` is given.
struct NewValue {
    const char* control;
    int value;
    const char* text = nullptr;
};

// The optional functions of a new document, applied in this order (the order matters: a rule
// may move a control that a later row sets again).
const NewValue NewDocumentValues[] = {
    {Ctl::UpDown8, 144},
    {Ctl::UpDown9, 146},
    {Ctl::UpDown10, 430},
    {Ctl::UpDown17, 440},
    {Ctl::ComboBox1, 0},
    {Ctl::ComboBox2, 2},
    {Ctl::ComboBox4, 1},
    {Ctl::ComboBox5, 3},
    {Ctl::ComboBox10, 4},
    {Ctl::ComboBox20, 0},
    {Ctl::ComboBox3, 1},
    {Ctl::ComboBox19, 1},
    {Ctl::ComboBox27, 1},
    {Ctl::ComboBox28, 1},
    {Ctl::ComboBox21, 4},
    {Ctl::ComboBox18, 2},
    {Ctl::Edit16, 0, "KT-510"},
    {Ctl::ComboBox9, 2},
    {Ctl::ComboBox22, 0},
    {Ctl::ComboBox24, 0},
    {Ctl::CheckBox1, 1},
    {Ctl::CheckBox2, 0},
    {Ctl::CheckBox24, 0},
    {Ctl::CheckBox15, 0},
    {Ctl::CheckBox6, 0},
    {Ctl::CheckBox5, 0},
    {Ctl::CheckBox21, 1},
    {Ctl::CheckBox29, 1},
    {Ctl::CheckBox32, 1},
    {Ctl::CheckBox39, 0},
    {Ctl::ComboBox26, 1},
    {Ctl::CheckBox22, 0},
    {Ctl::CheckBox23, 0},
    {Ctl::CheckBox25, 0},
    {Ctl::CheckBox18, 1},
    {Ctl::CheckBox28, 1},
    {Ctl::CheckBox27, 1},
    {Ctl::CheckBox26, 1},
    {Ctl::CheckBox30, 1},
    {Ctl::Edit2, 0, "100"},
    {Ctl::Edit3, 0, "100"},
    {Ctl::Edit4, 0, "0"},
    {Ctl::Edit5, 0, "600"},
    {Ctl::Edit6, 0, "0"},
    {Ctl::CheckBox7, 0},
    {Ctl::CheckBox8, 1},
    {Ctl::CheckBox31, 1},
    {Ctl::CheckBox34, 0},
    {Ctl::ComboBox16, 1},
    {Ctl::Edit7, 0, "510"},
    {Ctl::Edit8, 0, "510"},
    {Ctl::ComboBox15, 5},
    {Ctl::ComboBox25, 0},
    {Ctl::Edit24, 0, "8"},
    {Ctl::ComboBox17, 0},
    {Ctl::Edit9, 0, "1000"},
    {Ctl::Edit10, 0, "30"},
    {Ctl::CheckBox10, 0},
    {Ctl::CheckBox9, 0},
    {Ctl::CheckBox11, 0},
    {Ctl::CheckBox13, 1},
    {Ctl::Edit11, 0, ""},
    {Ctl::CheckBox12, 1},
    {Ctl::Edit19, 0, ""},
    {Ctl::CheckBox17, 1},
    {Ctl::ComboBox11, 1},
    {Ctl::ComboBox12, 13},
    {Ctl::ComboBox8, 3},
    {Ctl::ComboBox119, 7},
    {Ctl::ComboBox13, 6},
    {Ctl::ComboBox14, 5},
    {Ctl::ComboBox23, 0},
    {Ctl::CheckBox33, 1},
    {Ctl::CheckBox16, 0},
    {Ctl::CheckBox3, 1},
    {Ctl::Edit32, 0, "2099-10-01"},
    {Ctl::Edit31, 0, "2099-10-01"},
    {Ctl::CheckBox19, 0},
    {Ctl::CheckBox14, 0},
    {Ctl::Edit23, 0, "51099"},
    {Ctl::CheckBox20, 0},
    {Ctl::ComboBox6, 5},
    {Ctl::ComboBox7, 0},
    {Ctl::CheckBox4, 0},
    // The long-press time and the calls per minute get their initial values as well.
    {Ctl::UpDown1, 15},
    {Ctl::Edit17, 0, "0"},
};

void apply(ControlStore& func, const NewValue& v) {
    const QString name = QString::fromLatin1(v.control);
    if (v.text) {
        func.setText(name, QString::fromUtf8(v.text));
        return;
    }
    switch (func.state(name).kind) {
    case Kind::List:
        func.setIndex(name, v.value);
        break;
    case Kind::Check:
        func.setChecked(name, v.value != 0);
        break;
    case Kind::UpDown:
        func.setPosition(name, v.value);
        break;
    default:
        break;
    }
}

bool digits(const QString& s) {
    for (QChar c : s)
        if (c < '0' || c > '9') return false;
    return !s.isEmpty();
}
} // namespace

std::optional<BandLimits> bandLimits(const QString& bandText) {
    if (bandText.size() != 10 || bandText.at(3) != '-' || bandText.mid(7) != QLatin1String("MHz"))
        return std::nullopt;
    const QString lower = bandText.mid(0, 3);
    const QString upper = bandText.mid(4, 3);
    if (!digits(lower) || !digits(upper)) return std::nullopt;
    BandLimits b{lower.toInt(), upper.toInt()};
    // A band whose upper limit lies below its lower one holds no frequency either.
    if (b.upper < b.lower) return std::nullopt;
    return b;
}

QString modelIdentHex(int modelIndex) {
    return modelIndex == 0 ? QStringLiteral("51562D520585FF06") : QString();
}

QString changeModel(Session& session) {
    const int model = session.doc.main.index(MainCtl::Model);
    if (model == 0) session.modelIdentHex = modelIdentHex(model);

    ControlStore& func = session.doc.func;
    const QString off = session.lang.words.off;
    func.setItems(Ctl::ComboBox1, {off, "10M", "20M", "30M", "40M", "50M", "60M", "90M", "2H", "4H", "6H",
                                   "8H", "10H", "12H", "14H", "16H"});
    QStringList timeOut{off};
    for (int seconds = 10; seconds <= 120; seconds += 10)
        timeOut << QString::number(seconds);
    func.setItems(Ctl::ComboBox5, timeOut);

    applyLanguage(session, Language::baseName(session.lang.index));
    return session.doc.main.currentItem(MainCtl::Model);
}

QString newDocument(Session& session) {
    Codeplug& doc = session.doc;
    doc.tableA.clearAll();
    doc.tableB.clearAll();

    ControlStore& func = doc.func;
    for (const NewValue& v : NewDocumentValues)
        apply(func, v);

    func.setCell(Ctl::CallList, 1, 1, QStringLiteral("1001"));
    func.setCell(Ctl::CallList, 1, 2, QStringLiteral("1002"));
    for (int row = 3; row <= 16; ++row)
        func.setCell(Ctl::CallList, 1, row, QString());

    func.setCell(Ctl::FmList, 1, 1, QStringLiteral("87") + systemDecimalPoint() + QStringLiteral("500"));
    // Rows 2-31 and the hidden 32nd slot: a new document carries nothing of a radio read before.
    for (int row = 2; row < func.rowCount(Ctl::FmList); ++row)
        func.setCell(Ctl::FmList, 1, row, QString());

    return changeModel(session);
}
