// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/settingsblocks.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/memmap/radioblocks.h"
#include <algorithm>
#include <span>

namespace {

enum class Kind {
    Const,    // fixed bits the radio expects; never read
    First,    // one of the FirstNumbers, named by `control`; never read
    Check,    // a check box of the optional functions
    List,     // a list of the optional functions: its item position
    MainList, // a band selector of the main window: its item position
    UpDown,   // an up-down of the optional functions (its edit follows)
    Mark,     // a check box kept as a whole nibble: `value` when ticked, F when not
};

enum class RuleKind {
    Plain,    // list: a value naming no item leaves it as it was; up-down: clamped to its range
    NotRead,  // written only
    Outside,  // a value outside low-high selects `item` (lists: only a value naming no item)
    Modulo,   // a list value naming no item selects value modulo `item`
    Keeps,    // the value `low` leaves the control as it was (and is written for "no item")
    TickOnly, // a Mark: its value ticks the box, any other leaves it as it was
};

struct Rule {
    RuleKind kind = RuleKind::Plain;
    int low = 0;
    int high = 0;
    int item = 0;
};
constexpr Rule Plain{};
constexpr Rule NotRead{RuleKind::NotRead};
constexpr Rule TickOnly{RuleKind::TickOnly};
constexpr Rule outside(int low, int high, int item) {
    return {RuleKind::Outside, low, high, item};
}
constexpr Rule modulo(int n) {
    return {RuleKind::Modulo, 0, 0, n};
}
constexpr Rule keeps(int value) {
    return {RuleKind::Keeps, value, value, 0};
}

// How an up-down's position becomes the stored byte.
enum class Scale {
    Unit,    // as it is
    Tenfold, // milliseconds stored in tens: written / 10 (cut), read x 10
    Half,    // seconds stored in halves: written x 2, read / 2 (cut)
};

constexpr bool Inv = true; // the bit is 1 when the box is NOT ticked
constexpr int Hi = 4;      // bit 0 of the high nibble

struct Field {
    int byte;
    int bit;   // lowest bit, 0-7
    int width; // bits
    Kind kind;
    const char* control = nullptr;
    bool inverted = false;
    Rule rule = Plain;
    int value = 0; // Const: the bits; Mark: the nibble for "ticked"
    Scale scale = Scale::Unit;
};

// Settings block 1 at 0x0180.
const Field Block1[] = {
    {0, 0, 8, Kind::Const, nullptr, false, NotRead, 0x63}, // number of channels, 99
    {1, 0, 8, Kind::First, "FirstChannelB", false, NotRead},
    {2, 0, 8, Kind::First, "FirstChannelA", false, NotRead},
    {3, 0, 8, Kind::First, "FirstFmSlot", false, NotRead},
    {4, Hi, 4, Kind::Const, nullptr, false, NotRead, 2},
    {4, 0, 4, Kind::List, Ctl::ComboBox2, false, outside(0, 9, 2)},
    {5, 0, 8, Kind::Const, nullptr, false, NotRead, 0xFF},
    {6, Hi + 0, 1, Kind::Check, Ctl::CheckBox2},
    {6, Hi + 1, 1, Kind::Check, Ctl::CheckBox21},
    {6, Hi + 2, 1, Kind::Check, Ctl::CheckBox25, Inv},
    {6, Hi + 3, 1, Kind::Check, Ctl::CheckBox1},
    {6, 0, 1, Kind::Check, Ctl::CheckBox5, false, NotRead}, // a copy of byte 7 hi bit 0
    {6, 1, 1, Kind::Check, Ctl::CheckBox15},
    {6, 2, 1, Kind::Check, Ctl::CheckBox3},
    {6, 3, 1, Kind::Check, Ctl::CheckBox16, Inv},
    {7, Hi + 0, 1, Kind::Check, Ctl::CheckBox5},
    {7, Hi + 1, 1, Kind::Check, Ctl::CheckBox22, Inv},
    {7, Hi + 2, 1, Kind::Check, Ctl::CheckBox20, Inv},
    {7, Hi + 3, 1, Kind::Check, Ctl::CheckBox6},
    {7, 0, 1, Kind::List, Ctl::ComboBox3},
    {7, 1, 1, Kind::List, Ctl::ComboBox19},
    {7, 2, 1, Kind::Check, Ctl::CheckBox19, Inv},
    {7, 3, 1, Kind::Check, Ctl::CheckBox14, Inv},
    {8, Hi + 0, 1, Kind::Check, Ctl::CheckBox4},
    {8, Hi + 1, 1, Kind::List, Ctl::ComboBox4},
    {8, Hi + 2, 1, Kind::Check, Ctl::CheckBox23, Inv},
    {8, Hi + 3, 1, Kind::Check, Ctl::CheckBox24, Inv},
    {8, 0, 2, Kind::List, Ctl::ComboBox9},
    {8, 2, 2, Kind::List, Ctl::ComboBox22},
    {9, Hi + 0, 1, Kind::Check, Ctl::CheckBox30, Inv},
    {9, Hi + 1, 1, Kind::Check, Ctl::CheckBox18, Inv},
    {9, Hi + 2, 2, Kind::List, Ctl::ComboBox18},
    {9, 0, 2, Kind::Const, nullptr, false, NotRead, 3},
    {9, 2, 1, Kind::Check, Ctl::CheckBox28},
    {9, 3, 1, Kind::Check, Ctl::CheckBox27, Inv},
    {10, Hi, 4, Kind::List, Ctl::ComboBox10, false, outside(0, 5, 5)},
    {10, 0, 4, Kind::List, Ctl::ComboBox21},
    {11, Hi, 4, Kind::List, Ctl::ComboBox1},
    {11, 0, 4, Kind::List, Ctl::ComboBox5, false, outside(0, 12, 3)},
    {12, 0, 8, Kind::UpDown, Ctl::UpDown11},
    {13, Hi, 4, Kind::List, Ctl::ComboBox7, false, outside(0, 3, 2)},
    {13, 0, 4, Kind::List, Ctl::ComboBox6, false, outside(0, 7, 4)},
    {14, Hi, 4, Kind::Mark, Ctl::CheckBox40, false, TickOnly, 5},
    {14, 0, 1, Kind::Check, Ctl::CheckBox29},
    {14, 2, 2, Kind::MainList, Ctl::ComboBox26, false, keeps(3)}, // the main window's band-two selector
    {15, 0, 8, Kind::UpDown, Ctl::UpDown12},
};

// Settings block 2 at 0x0190.
const Field Block2[] = {
    {0, 0, 8, Kind::UpDown, Ctl::UpDown1, false, outside(5, 25, 15)}, // long press in tenths of a second
    {1, Hi, 4, Kind::List, Ctl::ComboBox8},
    {1, 0, 4, Kind::List, Ctl::ComboBox119},
    {2, Hi, 4, Kind::List, Ctl::ComboBox11},
    {2, 0, 4, Kind::List, Ctl::ComboBox12},
    {3, Hi, 4, Kind::List, Ctl::ComboBox13},
    {3, 0, 4, Kind::List, Ctl::ComboBox14},
    {4, 0, 4, Kind::List, Ctl::ComboBox15, false, modulo(9)},
    {5, Hi + 0, 2, Kind::List, Ctl::ComboBox16},
    {5, Hi + 2, 1, Kind::List, Ctl::ComboBox24},
    {5, Hi + 3, 1, Kind::Check, Ctl::CheckBox33},
    {5, 0, 4, Kind::List, Ctl::ComboBox23},
    {6, Hi + 0, 1, Kind::Const, nullptr, false, NotRead, 1},
    {6, Hi + 1, 1, Kind::Check, Ctl::CheckBox11},
    {6, Hi + 2, 1, Kind::Check, Ctl::CheckBox10},
    {6, Hi + 3, 1, Kind::Check, Ctl::CheckBox9},
    {6, 0, 2, Kind::List, Ctl::ComboBox20},
    {6, 2, 1, Kind::Check, Ctl::CheckBox7},
    {6, 3, 1, Kind::Check, Ctl::CheckBox8},
    {7, Hi + 0, 1, Kind::Check, Ctl::CheckBox36},
    {7, Hi + 1, 1, Kind::List, Ctl::ComboBox25},
    {7, Hi + 2, 1, Kind::Check, Ctl::CheckBox34, Inv},
    {7, Hi + 3, 1, Kind::Check, Ctl::CheckBox31},
    {7, 0, 1, Kind::List, Ctl::ComboBox27},
    {7, 1, 1, Kind::List, Ctl::ComboBox28},
    {7, 2, 1, Kind::Check, Ctl::CheckBox26, Inv},
    {7, 3, 1, Kind::Check, Ctl::CheckBox38},
    {8, 0, 4, Kind::List, Ctl::ComboBox17, false, outside(0, 5, 0)},
    {9, 0, 8, Kind::UpDown, Ctl::UpDown2, false, Plain, 0, Scale::Tenfold},
    {10, 0, 8, Kind::UpDown, Ctl::UpDown3, false, Plain, 0, Scale::Tenfold},
    {11, 0, 8, Kind::UpDown, Ctl::UpDown4, false, Plain, 0, Scale::Tenfold},
    {12, 0, 8, Kind::UpDown, Ctl::UpDown5, false, Plain, 0, Scale::Tenfold},
    {13, 0, 8, Kind::UpDown, Ctl::UpDown6, false, Plain, 0, Scale::Tenfold},
    {14, Hi + 0, 1, Kind::Check, Ctl::CheckBox32, Inv},
    {14, Hi + 1, 1, Kind::Check, Ctl::CheckBox13},
    {14, Hi + 2, 1, Kind::Check, Ctl::CheckBox17},
    {14, Hi + 3, 1, Kind::Check, Ctl::CheckBox12},
    {14, 0, 1, Kind::List, Ctl::ComboBox26}, // this window's "Band Two" on/off
    {14, 1, 1, Kind::Check, Ctl::CheckBox39, Inv},
    {14, 2, 2, Kind::MainList, Ctl::ComboBand1, false, keeps(3)},
    {15, 0, 8, Kind::UpDown, Ctl::UpDown7, false, Plain, 0, Scale::Half},
};

std::span<const Field> fieldsOf(int block) {
    if (block == 1) return Block1;
    return Block2;
}

QString nameOf(const Field& f) {
    return QString::fromLatin1(f.control);
}

int maxOf(const Field& f) {
    return (1 << f.width) - 1;
}

int firstNumber(const Field& f, const FirstNumbers& first) {
    const QString n = nameOf(f);
    if (n == QLatin1String("FirstChannelA")) return first.channelA;
    if (n == QLatin1String("FirstChannelB")) return first.channelB;
    return first.fmSlot;
}

// The value a field stores, before it is shifted into place.
int fieldValue(const Field& f, const Codeplug& doc, const FirstNumbers& first) {
    const ControlStore& func = doc.func;
    switch (f.kind) {
    case Kind::Const:
        return f.value;
    case Kind::First:
        return firstNumber(f, first);
    case Kind::Check:
        return func.checked(nameOf(f)) != f.inverted ? 1 : 0;
    case Kind::Mark:
        return func.checked(nameOf(f)) ? f.value : 0xF;
    case Kind::List:
    case Kind::MainList: {
        const int index = (f.kind == Kind::List ? func : doc.main).index(nameOf(f));
        // A selector with no storable item is written as the value the radio reads as "keep".
        const int none = f.rule.kind == RuleKind::Keeps ? f.rule.low : 0;
        const int limit = f.rule.kind == RuleKind::Keeps ? f.rule.low - 1 : maxOf(f);
        return index >= 0 && index <= limit ? index : none;
    }
    case Kind::UpDown: {
        const int p = func.position(nameOf(f));
        const int stored = f.scale == Scale::Tenfold ? p / 10 : f.scale == Scale::Half ? p * 2 : p;
        return std::clamp(stored, 0, maxOf(f));
    }
    }
    return 0;
}

QByteArray encode(std::span<const Field> fields, const Codeplug& doc, const FirstNumbers& first) {
    QByteArray block(16, '\0');
    for (const Field& f : fields) {
        const int v = fieldValue(f, doc, first) & maxOf(f);
        block[f.byte] = char(quint8(block.at(f.byte)) | (v << f.bit));
    }
    return block;
}

// The item a stored list value selects, or -1 to leave the list as it was.
int listItem(const Field& f, int v, int count) {
    if (f.rule.kind == RuleKind::Keeps && v == f.rule.low) return -1;
    if (v < count) return v;
    switch (f.rule.kind) {
    case RuleKind::Outside:
        return v < f.rule.low || v > f.rule.high ? f.rule.item : -1;
    case RuleKind::Modulo:
        return v % f.rule.item < count ? v % f.rule.item : -1;
    default:
        return -1;
    }
}

void decodeField(const Field& f, int v, Codeplug& doc, QChar decimalPoint) {
    ControlStore& func = doc.func;
    const QString name = nameOf(f);
    switch (f.kind) {
    case Kind::Const:
    case Kind::First:
        return;
    case Kind::Check:
        func.setChecked(name, (v != 0) != f.inverted);
        return;
    case Kind::Mark:
        if (v == f.value) func.setChecked(name, true);
        return;
    case Kind::List:
    case Kind::MainList: {
        ControlStore& store = f.kind == Kind::List ? func : doc.main;
        const int item = listItem(f, v, int(store.items(name).size()));
        if (item >= 0) store.setIndex(name, item);
        return;
    }
    case Kind::UpDown: {
        if (f.rule.kind == RuleKind::Outside && (v < f.rule.low || v > f.rule.high)) v = f.rule.item;
        const int position = f.scale == Scale::Tenfold ? v * 10 : f.scale == Scale::Half ? v / 2 : v;
        setUpDownShown(func, name, position, decimalPoint);
        return;
    }
    }
}

void decode(std::span<const Field> fields, const QByteArray& block, Codeplug& doc, QChar decimalPoint) {
    if (block.size() < 16) return;
    for (const Field& f : fields) {
        if (f.rule.kind == RuleKind::NotRead) continue;
        decodeField(f, (quint8(block.at(f.byte)) >> f.bit) & maxOf(f), doc, decimalPoint);
    }
}

} // namespace

int firstChannelInBands(const ChannelTable& table, const QStringList& bands, QChar decimalPoint) {
    QList<BandLimits> limits;
    for (int i = 0; i < 3 && i < bands.size(); ++i)
        if (const auto l = bandLimits(bands.at(i))) limits << *l;
    for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row) {
        const auto f = parseDecimal(table.cell(Col::RxFreq, row), decimalPoint);
        if (!f) continue;
        for (const BandLimits& l : limits)
            if (l.lower <= *f && *f < l.upper) return row - 3;
    }
    return 0xFF;
}

int firstFmSlot(const ControlStore& func) {
    for (int row = 2; row <= 31; ++row)
        if (!func.cell(Ctl::StringGrid2, 1, row).isEmpty()) return row - 1;
    return 0xFF;
}

FirstNumbers firstNumbers(const Codeplug& doc, QChar decimalPoint) {
    const QStringList bands = doc.main.items(MainCtl::Band1);
    return {firstChannelInBands(doc.tableA, bands, decimalPoint),
            firstChannelInBands(doc.tableB, bands, decimalPoint), firstFmSlot(doc.func)};
}

QByteArray encodeSettingsBlock1(const Codeplug& doc, const FirstNumbers& first) {
    return encode(Block1, doc, first);
}

QByteArray encodeSettingsBlock2(const Codeplug& doc) {
    return encode(Block2, doc, FirstNumbers{});
}

void decodeSettingsBlock1(const QByteArray& block, Codeplug& doc, QChar decimalPoint) {
    decode(Block1, block, doc, decimalPoint);
}

void decodeSettingsBlock2(const QByteArray& block, Codeplug& doc, QChar decimalPoint) {
    decode(Block2, block, doc, decimalPoint);
}

QStringList settingsBlockControls(int block) {
    QStringList names;
    for (const Field& f : fieldsOf(block))
        if (f.control && f.kind != Kind::First && !names.contains(nameOf(f))) names << nameOf(f);
    return names;
}
