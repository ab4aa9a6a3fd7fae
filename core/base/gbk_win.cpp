// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/gbk.h"
#include <windows.h>

namespace {
constexpr UINT CodePage936 = 936; // Simplified Chinese (GBK)
}

// Windows has the code page itself; Qt built without ICU cannot name it.
struct Gbk::Converters {};

Gbk::Gbk() = default;
Gbk::~Gbk() = default;

QString Gbk::decodeChinese(QByteArrayView bytes) {
    if (bytes.isEmpty()) return {};
    const int size = int(bytes.size());
    const int length = MultiByteToWideChar(CodePage936, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return QString::fromLatin1(bytes);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(CodePage936, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

QByteArray Gbk::encodeChinese(QStringView text) {
    if (text.isEmpty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = int(text.size());
    const int length = WideCharToMultiByte(CodePage936, 0, wide, size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return text.toLatin1();
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(CodePage936, 0, wide, size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}
