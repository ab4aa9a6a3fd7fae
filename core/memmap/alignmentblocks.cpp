// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/alignmentblocks.h"

namespace {
constexpr int BlockBytes = 16;
constexpr int HalfBlockBytes = 8;
constexpr int SignedBias = 128;
constexpr int MillisPerUnit = 10;
constexpr int SecondHalfDigits = 16;

QString byteHex(int value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0'));
}

int blockBytes(quint16 address) {
    return address == AlignAddr::BandLimits || address == AlignAddr::Differences ? HalfBlockBytes
                                                                                 : BlockBytes;
}

// "57" + length + address as four hex digits + data, in the lower case of the radio's requests.
QString writeRequest(int address, const QString& dataHex) {
    return QStringLiteral("57%1%2")
               .arg(byteHex(int(dataHex.size() / 2) + 2))
               .arg(address, 4, 16, QLatin1Char('0')) +
           dataHex;
}

bool hexByte(const QString& hex, int byte, int* value) {
    bool ok = false;
    *value = hex.mid(2 * byte, 2).toInt(&ok, 16);
    return ok && hex.mid(2 * byte, 2).size() == 2;
}
} // namespace

QString alignFieldHex(const AlignField& field, const QString& text) {
    switch (field.form) {
    case AlignForm::Decimal:
        return byteHex(text.toInt());
    case AlignForm::Signed:
        return byteHex(text.toInt() + SignedBias);
    case AlignForm::Millis:
        return byteHex(text.toInt() / MillisPerUnit);
    case AlignForm::Hex:
    case AlignForm::Hex8:
        return text;
    }
    return {};
}

QString alignBlockHex(const AlignmentData& data, quint16 address) {
    const int size = blockBytes(address);
    QStringList bytes(size, QStringLiteral("00"));
    if (address == AlignAddr::Power)
        bytes[0] = data.powerClass == QStringLiteral("10W") ? QStringLiteral("41") : QStringLiteral("42");
    for (const AlignField& f : alignFields()) {
        if (f.address != address) continue;
        const QString hex = alignFieldHex(f, data.text(f.number));
        for (int k = 0; k < hex.size() / 2 && f.byte + k < size; ++k)
            bytes[f.byte + k] = hex.mid(2 * k, 2);
    }
    return bytes.join(QString());
}

void decodeAlignBlock(AlignmentData& data, quint16 address, const QString& dataHex) {
    const QString hex = dataHex.toUpper();
    int value = 0;
    if (address == AlignAddr::Power && hexByte(hex, 0, &value)) {
        if (value == 0x41) data.powerClass = QStringLiteral("10W");
        if (value == 0x42) data.powerClass = QStringLiteral("25W");
    }
    for (const AlignField& f : alignFields()) {
        if (f.address != address || !hexByte(hex, f.byte, &value)) continue;
        switch (f.form) {
        case AlignForm::Decimal:
            data.setText(f.number, QString::number(value));
            break;
        case AlignForm::Signed:
            data.setText(f.number, value < SignedBias ? QStringLiteral("-%1").arg(SignedBias - value)
                                                      : QString::number(value - SignedBias));
            break;
        case AlignForm::Millis:
            data.setText(f.number, QString::number(value * MillisPerUnit));
            break;
        case AlignForm::Hex:
            data.setText(f.number, hex.mid(2 * f.byte, 2));
            break;
        case AlignForm::Hex8:
            if (hex.size() >= 2 * f.byte + 8) data.setText(f.number, hex.mid(2 * f.byte, 8));
            break;
        }
    }
}

std::optional<QString> menuTextHex(const QString& text, int bytes, bool rightAligned) {
    if (text.size() > bytes) return std::nullopt;
    QString hex;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) return std::nullopt;
        hex += byteHex(c.unicode());
    }
    const QString padding = QStringLiteral("20").repeated(bytes - int(text.size()));
    return rightAligned ? padding + hex : hex + padding;
}

namespace {
struct MenuPlanner {
    MenuPlan plan;
    void add(const QString& table, int n, const QString& text, int address, int bytes, bool right,
             const QString& second = {}) {
        const auto hex = menuTextHex(text, bytes, right);
        if (!hex) {
            plan.problems << QStringLiteral("%1 %2: \"%3\"").arg(table).arg(n).arg(text);
            return;
        }
        plan.requests << writeRequest(address, *hex + second);
    }
};

// The second half of a menu entry: 16 hex digits, or nothing at all.
bool secondHalfFits(const QString& second) {
    if (second.isEmpty()) return true;
    if (second.size() != SecondHalfDigits) return false;
    for (const QChar c : second) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'))) return false;
    }
    return true;
}

void addEntry(MenuPlanner& planner, const MenuTables& menus, int n) {
    const QString second = menus.second.value(n);
    if (!secondHalfFits(second)) {
        planner.plan.problems << QStringLiteral("cai.ini ca%1: \"%2\"").arg(n).arg(second);
        return;
    }
    planner.add(QStringLiteral("菜单列表"), n, menus.names.value(n), AlignAddr::MenuEntries + BlockBytes * n,
                MenuTables::EntryNameBytes, false, second);
}
} // namespace

MenuPlan planMenuTables(const MenuTables& menus) {
    MenuPlanner planner;
    const QStringList fixed = MenuTables::fixedDisplayHex();
    for (int n = 0; n < MenuTables::DisplayCount; ++n) {
        const int address = AlignAddr::DisplayTexts + MenuTables::DisplayBytes * n;
        if (n < MenuTables::FixedDisplayCount)
            planner.plan.requests << writeRequest(address, fixed.at(n));
        else
            planner.add(QStringLiteral("显示列表"), n, menus.display.value(n), address,
                        MenuTables::DisplayBytes, false);
    }
    for (int n = 0; n < MenuTables::EntryCount; ++n)
        addEntry(planner, menus, n);
    for (int n = 0; n < MenuTables::OptionCount; ++n)
        planner.add(QStringLiteral("菜单子表"), n, menus.options.value(n),
                    AlignAddr::OptionWords + MenuTables::OptionBytes * n, MenuTables::OptionBytes, true);
    return planner.plan;
}

MenuPlan planMenuEntry(const MenuTables& menus, int n) {
    MenuPlanner planner;
    addEntry(planner, menus, n);
    return planner.plan;
}
