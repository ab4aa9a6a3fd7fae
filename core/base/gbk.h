// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// GBK (code page 936), in which documents carry their Chinese texts, as files from other
// installations do. Linux converts through the Unicode library Qt is built with, Windows through
// its own code page 936. Invalid bytes decode to replacement characters, never to a failure; a
// character GBK does not have becomes "?".
class Gbk {
public:
    Gbk();
    ~Gbk();
    Gbk(const Gbk&) = delete;
    Gbk& operator=(const Gbk&) = delete;

    QString decode(QByteArrayView bytes);
    QByteArray encode(QStringView text);

private:
    // The system's conversion, for text that is not plain ASCII.
    QString decodeChinese(QByteArrayView bytes);
    QByteArray encodeChinese(QStringView text);

    struct Converters; // opened on first use
    Converters* m_converters = nullptr;
};
