// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/gbk.h"

// GBK keeps the 128 ASCII codes as they are; most lines hold nothing else and need no converter.
// (Qt's own test, declared in its public string header, looks at many bytes at a time.)
QString Gbk::decode(QByteArrayView bytes) {
    if (QtPrivate::isAscii(QLatin1StringView(bytes.data(), bytes.size()))) return QString::fromLatin1(bytes);
    return decodeChinese(bytes);
}

QByteArray Gbk::encode(QStringView text) {
    if (QtPrivate::isAscii(text)) return text.toLatin1();
    return encodeChinese(text);
}
