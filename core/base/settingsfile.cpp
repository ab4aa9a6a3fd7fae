// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/settingsfile.h"
#include "core/base/filesave.h"
#include <QDir>
#include <QFile>

namespace {
bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    if (!bytes.contains("\r\n") && bytes.contains('\n')) ini.m_eol = "\n";
    QList<QByteArray> rawLines = bytes.split('\n');
    if (!rawLines.isEmpty() && rawLines.last().isEmpty())
        rawLines.removeLast(); // the line end of the last line
    QString section;
    for (QByteArray raw : rawLines) {
        if (raw.endsWith('\r')) raw.chop(1);
        Line line;
        line.raw = raw;
        const QString text = QString::fromLocal8Bit(raw).trimmed();
        if (text.startsWith('[')) {
            const int close = text.indexOf(']');
            section = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
            line.section = section;
        } else {
            line.section = section;
            const int eq = text.indexOf('=');
            if (eq > 0 && !text.startsWith(';') && !text.startsWith('#')) {
                line.key = text.left(eq).trimmed();
                line.value = text.mid(eq + 1).trimmed();
            }
        }
        ini.m_lines << line;
    }
    return ini;
}

IniFile IniFile::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    // A settings file is a few hundred bytes; a huge file is not one of ours and is read in part.
    return parse(f.read(1 << 20));
}

int IniFile::find(const QString& section, const QString& key) const {
    for (int i = 0; i < m_lines.size(); ++i)
        if (!m_lines[i].key.isEmpty() && sameName(m_lines[i].section, section) &&
            sameName(m_lines[i].key, key))
            return i;
    return -1;
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return find(section, key) >= 0;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList found;
    for (const Line& line : m_lines)
        if (!line.key.isEmpty() && sameName(line.section, section)) found << line.key;
    return found;
}

QString IniFile::text(const QString& section, const QString& key, const QString& defaultValue) const {
    const int i = find(section, key);
    return i < 0 ? defaultValue : m_lines[i].value;
}

int IniFile::integer(const QString& section, const QString& key, int defaultValue) const {
    const int i = find(section, key);
    if (i < 0) return defaultValue;
    bool ok = false;
    const int v = m_lines[i].value.toInt(&ok, 10);
    return ok ? v : defaultValue;
}

void IniFile::setInteger(const QString& section, const QString& key, int value) {
    setText(section, key, QString::number(value));
}

void IniFile::setText(const QString& section, const QString& key, const QString& v) {
    const int i = find(section, key);
    if (i >= 0) {
        Line& line = m_lines[i];
        line.value = v;
        line.raw = (line.key + '=' + v).toLocal8Bit();
        return;
    }
    // A new key goes at the end of its section; a missing section is appended to the file.
    int insertAt = -1;
    for (int j = 0; j < m_lines.size(); ++j) {
        if (!sameName(m_lines[j].section, section)) continue;
        if (m_lines[j].key.isEmpty() && m_lines[j].raw.trimmed().isEmpty() && j > 0)
            continue; // keep blank lines between sections after the new key
        insertAt = j + 1;
    }
    Line line;
    line.section = section;
    line.key = key;
    line.value = v;
    line.raw = (key + '=' + v).toLocal8Bit();
    if (insertAt < 0) {
        Line header;
        header.section = section;
        header.raw = ('[' + section + ']').toLocal8Bit();
        m_lines << header;
        m_lines << line;
    } else {
        m_lines.insert(insertAt, line);
    }
}

QByteArray IniFile::serialize() const {
    QByteArray out;
    for (const Line& line : m_lines)
        out += line.raw + m_eol;
    return out;
}

std::optional<QString> IniFile::save(const QString& path) const {
    if (const auto failure = saveFile(path, serialize()))
        return QStringLiteral("Unable to write to %1: %2")
            .arg(QDir::toNativeSeparators(path), failure->systemText);
    return std::nullopt;
}
