// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/language.h"
#include "core/base/texttable.h"
#include <QDir>
#include <QFile>
#include <algorithm>

StringTable StringTable::parse(const QByteArray& utf8) {
    StringTable t;
    for (const QByteArray& rawLine : utf8.split('\n')) {
        QByteArray line = rawLine;
        if (line.endsWith('\r')) line.chop(1);
        const int tab = line.indexOf('\t');
        if (tab <= 0) continue;
        bool ok = false;
        const int number = line.left(tab).trimmed().toInt(&ok);
        if (!ok || number < 0 || number > 65535) continue;
        QByteArray bytes = line.mid(tab + 1);
        bytes.replace("\\n", "\n");
        // Cut over-long texts at a character boundary within the byte limit, counting each
        // character's UTF-8 length once: a damaged file may hold a line of a megabyte.
        const QString decoded = QString::fromUtf8(bytes);
        qsizetype used = 0;
        qsizetype keep = 0;
        while (keep < decoded.size()) {
            const char32_t c = decoded.at(keep).isHighSurrogate() && keep + 1 < decoded.size()
                                   ? QChar::surrogateToUcs4(decoded.at(keep), decoded.at(keep + 1))
                                   : decoded.at(keep).unicode();
            const int bytesOf = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
            if (used + bytesOf > MaxTextBytes) break;
            used += bytesOf;
            keep += c >= 0x10000 ? 2 : 1;
        }
        t.m_texts.insert(number, decoded.left(keep));
    }
    return t;
}

std::optional<StringTable> StringTable::load(const QString& path) {
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    // A language file is a short table; anything larger than 1 MiB is not one.
    return parse(f.read(1 << 20));
}

std::optional<QString> StringTable::text(int number) const {
    auto it = m_texts.constFind(number);
    if (it == m_texts.constEnd()) return std::nullopt;
    return *it;
}

QList<int> StringTable::numbers() const {
    QList<int> n = m_texts.keys();
    std::sort(n.begin(), n.end());
    return n;
}

QString Language::text(int number) const {
    if (auto t = table.text(number)) return *t;
    return builtinText(number);
}

QString Language::caption(const QString& builtin) const {
    const auto rule = captionRule(builtin);
    return rule ? rule->prefix + text(rule->number) + rule->suffix : builtin;
}

QString Language::baseName(int index) {
    switch (index) {
    case 2:
        return QStringLiteral("eng_dll");
    case 3:
        return QStringLiteral("ty");
    default:
        return QStringLiteral("cha_dll");
    }
}

QString Language::libraryPath(const QString& dir, const QString& base) {
    const QString wanted = base + QStringLiteral(".dll");
    const QStringList files = QDir(dir).entryList(QDir::Files);
    for (const QString& f : files)
        if (f.compare(wanted, Qt::CaseInsensitive) == 0) return QDir(dir).filePath(f);
    return {};
}
