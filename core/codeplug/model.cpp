#include "core/codeplug/model.h"
#include "core/codeplug/applylanguage.h"
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
    {"UpDown8", 144},
    {"UpDown9", 146},
    {"UpDown10", 430},
    {"UpDown17", 440},
    {"ComboBox1", 0},
    {"ComboBox2", 2},
    {"ComboBox4", 1},
    {"ComboBox5", 3},
    {"ComboBox10", 4},
    {"ComboBox20", 0},
    {"ComboBox3", 1},
    {"ComboBox19", 1},
    {"ComboBox27", 1},
    {"ComboBox28", 1},
    {"ComboBox21", 4},
    {"ComboBox18", 2},
    {"Edit16", 0, "KT-510"},
    {"ComboBox9", 2},
    {"ComboBox22", 0},
    {"ComboBox24", 0},
    {"CheckBox1", 1},
    {"CheckBox2", 0},
    {"CheckBox24", 0},
    {"CheckBox15", 0},
    {"CheckBox6", 0},
    {"CheckBox5", 0},
    {"CheckBox21", 1},
    {"CheckBox29", 1},
    {"CheckBox32", 1},
    {"CheckBox39", 0},
    {"ComboBox26", 1},
    {"CheckBox22", 0},
    {"CheckBox23", 0},
    {"CheckBox25", 0},
    {"CheckBox18", 1},
    {"CheckBox28", 1},
    {"CheckBox27", 1},
    {"CheckBox26", 1},
    {"CheckBox30", 1},
    {"Edit2", 0, "100"},
    {"Edit3", 0, "100"},
    {"Edit4", 0, "0"},
    {"Edit5", 0, "600"},
    {"Edit6", 0, "0"},
    {"CheckBox7", 0},
    {"CheckBox8", 1},
    {"CheckBox31", 1},
    {"CheckBox34", 0},
    {"ComboBox16", 1},
    {"Edit7", 0, "510"},
    {"Edit8", 0, "510"},
    {"ComboBox15", 5},
    {"ComboBox25", 0},
    {"Edit24", 0, "8"},
    {"ComboBox17", 0},
    {"Edit9", 0, "1000"},
    {"Edit10", 0, "30"},
    {"CheckBox10", 0},
    {"CheckBox9", 0},
    {"CheckBox11", 0},
    {"CheckBox13", 1},
    {"Edit11", 0, ""},
    {"CheckBox12", 1},
    {"Edit19", 0, ""},
    {"CheckBox17", 1},
    {"ComboBox11", 1},
    {"ComboBox12", 13},
    {"ComboBox8", 3},
    {"ComboBox119", 7},
    {"ComboBox13", 6},
    {"ComboBox14", 5},
    {"ComboBox23", 0},
    {"CheckBox33", 1},
    {"CheckBox16", 0},
    {"CheckBox3", 1},
    {"Edit32", 0, "2099-10-01"},
    {"Edit31", 0, "2099-10-01"},
    {"CheckBox19", 0},
    {"CheckBox14", 0},
    {"Edit23", 0, "51099"},
    {"CheckBox20", 0},
    {"ComboBox6", 5},
    {"ComboBox7", 0},
    {"CheckBox4", 0},
    // The long-press time and the calls per minute get their initial values as well.
    {"UpDown1", 15},
    {"Edit17", 0, "0"},
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

const QString CallList = QStringLiteral("StringGrid1");
const QString FmList = QStringLiteral("StringGrid2");

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
    func.setItems(QStringLiteral("ComboBox1"), {off, "10M", "20M", "30M", "40M", "50M", "60M", "90M", "2H",
                                                "4H", "6H", "8H", "10H", "12H", "14H", "16H"});
    QStringList timeOut{off};
    for (int seconds = 10; seconds <= 120; seconds += 10)
        timeOut << QString::number(seconds);
    func.setItems(QStringLiteral("ComboBox5"), timeOut);

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

    func.setCell(CallList, 1, 1, QStringLiteral("1001"));
    func.setCell(CallList, 1, 2, QStringLiteral("1002"));
    for (int row = 3; row <= 16; ++row)
        func.setCell(CallList, 1, row, QString());

    func.setCell(FmList, 1, 1, QStringLiteral("87") + systemDecimalPoint() + QStringLiteral("500"));
    // Rows 2-31 and the hidden 32nd slot: a new document carries nothing of a radio read before.
    for (int row = 2; row < func.rowCount(FmList); ++row)
        func.setCell(FmList, 1, row, QString());

    return changeModel(session);
}
