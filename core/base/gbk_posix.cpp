// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/gbk.h"
#include <QStringDecoder>
#include <QStringEncoder>

// Debian's Qt has ICU: the converters exist by name only ("GBK" is no QStringConverter
// encoding of its own).
struct Gbk::Converters {
    QStringDecoder decoder{"GBK"};
    QStringEncoder encoder{"GBK"};
};

Gbk::Gbk() = default;

Gbk::~Gbk() {
    delete m_converters;
}

QString Gbk::decodeChinese(QByteArrayView bytes) {
    if (!m_converters) m_converters = new Converters;
    if (!m_converters->decoder.isValid()) return QString::fromLatin1(bytes);
    m_converters->decoder.resetState();
    return m_converters->decoder.decode(bytes);
}

QByteArray Gbk::encodeChinese(QStringView text) {
    if (!m_converters) m_converters = new Converters;
    if (!m_converters->encoder.isValid()) return text.toLatin1();
    m_converters->encoder.resetState();
    return m_converters->encoder.encode(text);
}
