// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/funcrules.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/controlstore.h"
#include "core/codeplug/funccontrols.h"
#include <algorithm>
#include <limits>

namespace {
using Kind = ControlState::Kind;

QString n(const char* name) {
    return QString::fromLatin1(name);
}

// A channel mode list forces its side's display mode: "特殊信道模式" (0) shows channels only.
void channelMode(ControlStore& f, const QString& mode, const QString& display) {
    if (f.index(mode) == 0) {
        f.setIndex(display, 0);
        f.setEnabled(display, false);
    } else {
        f.setEnabled(display, true);
    }
}

void channelModeA(ControlStore& f) {
    channelMode(f, Ctl::ComboBox28, Ctl::ComboBox27);
}
void channelModeB(ControlStore& f) {
    channelMode(f, Ctl::ComboBox19, Ctl::ComboBox3);
}

// With "M键菜单键" the M key opens the menu and has no short-press function of its own.
void mKeyMenu(ControlStore& f) {
    f.setEnabled(Ctl::ComboBox23, !f.checked(Ctl::CheckBox33));
}

// Band two can only be switched on with the band extension; without it band two is off.
void bandExtension(ControlStore& f) {
    const bool on = f.checked(Ctl::CheckBox39);
    f.setEnabled(Ctl::ComboBox26, on);
    if (!on) f.setIndex(Ctl::ComboBox26, 1);
}

// An upper band-two limit is always above its lower limit.
void bandTwoLower(ControlStore& f, const QString& lower, const QString& upper) {
    const int low = f.position(lower);
    f.setRange(upper, low + 1, f.state(upper).maximum); // clamps the position up as well
}
void vhfLower(ControlStore& f) {
    bandTwoLower(f, Ctl::UpDown8, Ctl::UpDown9);
}
void uhfLower(ControlStore& f) {
    bandTwoLower(f, Ctl::UpDown10, Ctl::UpDown17);
}

// Which PTT ID codes are sent: 0 at the start of transmission, 1 at its end, 2 both.
void pttIdType(ControlStore& f) {
    const int type = f.index(Ctl::ComboBox16);
    f.setEnabled(Ctl::Edit7, type != 1);
    f.setEnabled(Ctl::Edit8, type != 0);
}

// With voice announcement the radio speaks the ID, which it keeps as at most 5 digits.
void voiceAnnounce(ControlStore& f) {
    const bool on = f.checked(Ctl::CheckBox34);
    for (const char* e : {Ctl::Edit7, Ctl::Edit8}) {
        f.setMaxLength(n(e), on ? 5 : 15);
        if (on) f.setText(n(e), QStringLiteral("123"));
    }
}

// Only a radio with over-the-air reprogramming can be the reprogramming master.
void reprogramming(ControlStore& f) {
    const bool on = f.checked(Ctl::CheckBox19);
    f.setEnabled(Ctl::CheckBox20, on);
    if (!on) f.setChecked(Ctl::CheckBox20, false);
}

struct Rule {
    const char* control;
    void (*apply)(ControlStore&);
};

const Rule Rules[] = {
    {Ctl::ComboBox28, channelModeA},  {Ctl::ComboBox19, channelModeB},  {Ctl::CheckBox33, mKeyMenu},
    {Ctl::CheckBox39, bandExtension}, {Ctl::UpDown8, vhfLower},         {Ctl::UpDown10, uhfLower},
    {Ctl::ComboBox16, pttIdType},     {Ctl::CheckBox34, voiceAnnounce}, {Ctl::CheckBox19, reprogramming},
};

constexpr qint64 Saturated = std::numeric_limits<qint64>::max() / 64;
} // namespace

std::optional<qint64> parseScaled(const QString& text, int decimals, QChar decimalPoint) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == '+' || t.at(i) == '-')) negative = t.at(i++) == '-';
    qint64 whole = 0;
    qint64 fraction = 0;
    int fractionDigits = 0;
    bool digits = false;
    bool separator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c >= '0' && c <= '9') {
            digits = true;
            const int d = c.unicode() - '0';
            if (!separator)
                whole = std::min(Saturated, whole * 10 + d);
            else if (fractionDigits < decimals) {
                fraction = fraction * 10 + d;
                ++fractionDigits;
            }
        } else if (!separator && (c == decimalPoint || c == '.')) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    for (; fractionDigits < decimals; ++fractionDigits)
        fraction *= 10;
    qint64 scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    const qint64 value = whole >= Saturated / scale ? Saturated : whole * scale + fraction;
    return negative ? -value : value;
}

std::span<const char* const> typedNumberEdits() {
    static const char* const edits[] = {Ctl::Edit17, Ctl::Edit10, Ctl::Edit24};
    return edits;
}

std::optional<int> parseWholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::optional<QString> normaliseFmFrequency(const QString& text, QChar decimalPoint) {
    if (text.isEmpty()) return QString();
    // Nanohertz-exact arithmetic in units of 1e-9 MHz: 87.5-108 MHz, then 20 steps per MHz.
    constexpr qint64 Unit = 1'000'000'000;
    const auto v = parseScaled(text, 9, decimalPoint);
    if (!v) return std::nullopt;
    const qint64 clamped = std::clamp<qint64>(*v, 87 * Unit + Unit / 2, 108 * Unit);
    const qint64 steps = clamped * 20 / Unit; // 50 kHz steps, cut toward zero
    return QString::asprintf("%d", int(steps / 20)) + decimalPoint +
           QString::asprintf("%03d", int(steps % 20) * 50);
}

std::optional<int> longPressTenths(const QString& text, QChar decimalPoint) {
    const auto v = parseScaled(text, 1, decimalPoint);
    if (!v) return std::nullopt;
    return int(std::clamp<qint64>(*v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void settleFuncEdits(ControlStore& f, QChar decimalPoint) {
    const QString edit1 = Ctl::Edit1;
    const QString upDown1 = Ctl::UpDown1;
    if (const auto tenths = longPressTenths(f.text(edit1), decimalPoint)) {
        const ControlState& s = f.state(upDown1);
        f.setPosition(upDown1, std::clamp(*tenths, s.minimum, s.maximum));
    }
    f.setText(edit1, upDownText(upDown1, f.position(upDown1), decimalPoint));
    for (const char* e : typedNumberEdits()) {
        const QString upDown = pairedUpDown(n(e));
        f.setText(n(e), upDownText(upDown, f.position(upDown), decimalPoint));
    }
}

void setBandTwoLimits(ControlStore& f, const BandTwoLimits& l) {
    f.setPosition(Ctl::UpDown8, l.vhfLower);
    f.setPosition(Ctl::UpDown10, l.uhfLower);
    f.setPosition(Ctl::UpDown9, l.vhfUpper);
    f.setPosition(Ctl::UpDown17, l.uhfUpper);
}

FuncRules::FuncRules(ControlStore& store) : QObject(&store), m_store(store) {
    for (const Rule& r : Rules)
        m_last.insert(n(r.control), valueKey(n(r.control)));
    for (const UpDownPair& p : upDownPairs()) {
        m_last.insert(n(p.upDown), valueKey(n(p.upDown)));
        m_last.insert(n(p.edit), valueKey(n(p.edit)));
    }
    connect(&store, &ControlStore::controlChanged, this, &FuncRules::onChanged);
}

FuncRules::FuncRules(ControlStore& store, const FuncRules& like)
    : QObject(&store), m_store(store), m_last(like.m_last) {
    connect(&store, &ControlStore::controlChanged, this, &FuncRules::onChanged);
}

QString FuncRules::valueKey(const QString& name) const {
    const ControlState& s = m_store.state(name);
    switch (s.kind) {
    case Kind::List:
        return QString::number(s.index);
    case Kind::Check:
        return s.checked ? QStringLiteral("1") : QStringLiteral("0");
    case Kind::Edit:
        return s.text;
    case Kind::UpDown:
        return QString::number(s.position);
    default:
        return {};
    }
}

void FuncRules::onChanged(const QString& name) {
    auto last = m_last.find(name);
    if (last == m_last.end()) return;
    const QString now = valueKey(name);
    if (*last == now) return;
    *last = now;
    if (m_store.state(name).kind == Kind::Edit) syncEditToUpDown(name);
    if (m_store.state(name).kind == Kind::UpDown) syncUpDownToEdit(name);
    for (const Rule& r : Rules)
        if (name == QLatin1String(r.control)) r.apply(m_store);
}

void FuncRules::syncEditToUpDown(const QString& edit) {
    const QString upDown = pairedUpDown(edit);
    const QString text = m_store.text(edit);
    if (upDown.isEmpty() || text.isEmpty()) return;
    const bool tenths = upDown == QLatin1String(Ctl::UpDown1);
    const std::optional<int> position = tenths ? longPressTenths(text) : parseWholeNumber(text);
    if (!position) return; // the window tells the user; the up-down keeps its value
    // The edit keeps what was typed ("1.55" stays while UpDown1 takes 15).
    const QString previous = m_editDriving;
    m_editDriving = edit;
    m_store.setPosition(upDown, *position);
    m_editDriving = previous;
}

void FuncRules::syncUpDownToEdit(const QString& upDown) {
    const QString edit = pairedEdit(upDown);
    if (edit.isEmpty() || edit == m_editDriving) return;
    m_store.setText(edit, upDownText(upDown, m_store.position(upDown)));
}

FuncRules* attachFuncRules(ControlStore& func) {
    return new FuncRules(func);
}
