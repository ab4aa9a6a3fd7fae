// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/radioinfo.h"
#include <algorithm>

QString stampDateText(const QString& hex) {
    const QString h = hex.leftJustified(32, QChar('F'), true);
    return h.mid(0, 4) + '-' + h.mid(4, 2) + '-' + h.mid(6, 2) + QStringLiteral("  ") + h.mid(8, 2) + ':' +
           h.mid(10, 2) + ':' + h.mid(12, 2);
}

QString stampNameText(const QString& hex) {
    const QString h = hex.leftJustified(32, QChar('F'), true);
    bool ok = false;
    int count = h.mid(31, 1).toInt(&ok, 16);
    count = ok ? std::min(count, 7) : 7;
    QString name;
    for (int i = 0; i < count; ++i) {
        const int byte = h.mid(16 + 2 * i, 2).toInt(&ok, 16);
        // Name bytes are single 8-bit characters; above 0x7F they are shown as Latin-1.
        name += QChar(ok ? byte : 0x3F);
    }
    return name;
}

void RadioInfo::showProgrammingStamp(const QString& stampHex) {
    salesDate = stampDateText(stampHex);
    administrator = stampNameText(stampHex);
    emit changed();
}

void RadioInfo::showFactoryStamp(const QString& stampHex) {
    factoryDate = stampDateText(stampHex);
    user = stampNameText(stampHex);
    emit changed();
}
