// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/fileread.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/sysfile.h"
#include <QDir>
#include <QFile>
#include <cerrno>

namespace {
// "4 MB", "64 KB": the limits are whole powers of two.
QString sizeText(qint64 bytes) {
    constexpr qint64 Kilo = 1024;
    if (bytes >= Kilo * Kilo) return QStringLiteral("%1 MB").arg(bytes / (Kilo * Kilo));
    if (bytes >= Kilo) return QStringLiteral("%1 KB").arg(bytes / Kilo);
    return QStringLiteral("%1 B").arg(bytes);
}
} // namespace

FileRead readUserFile(const QString& path, qint64 maxBytes, const Language& lang) {
    const auto failed = [&](const QString& reason) {
        return FileRead{std::nullopt, lang.text(Str::FileError).arg(QDir::toNativeSeparators(path), reason)};
    };
    // Opened without waiting (a pipe would otherwise block here until someone writes to it) and
    // looked at through the same descriptor, so that the file cannot be swapped in between.
    const int fd = SysFile::openForReading(path);
    if (fd < 0) return failed(qt_error_string(errno));
    qint64 size = 0;
    if (!SysFile::regularFile(fd, size)) {
        const int error = errno;
        SysFile::close(fd);
        return failed(error != 0 ? qt_error_string(error) : lang.text(Str::NotARegularFile));
    }
    const QString tooLarge = lang.text(Str::FileTooLarge) + QStringLiteral(" (> %1)").arg(sizeText(maxBytes));
    if (size > maxBytes) {
        SysFile::close(fd);
        return failed(tooLarge);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        SysFile::close(fd);
        return failed(file.errorString());
    }
    // One byte more than allowed tells a file that grew since it was looked at.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) return failed(file.errorString());
    if (bytes.size() > maxBytes) return failed(tooLarge);
    return FileRead{std::move(bytes), {}};
}

QString escapeControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
        else
            out += c;
    }
    return out;
}
