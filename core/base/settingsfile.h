// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// An INI file that is read and partly rewritten: section and key names compare without regard
// to letter case, and every line this program does not set (other keys, sections, comments,
// blank lines) is written back exactly as it was.
class IniFile {
public:
    IniFile() = default;
    static IniFile parse(const QByteArray& bytes);
    // A missing or unreadable file gives an empty IniFile: every key takes its default.
    static IniFile load(const QString& path);

    bool contains(const QString& section, const QString& key) const;
    // The keys of `section` in file order.
    QStringList keys(const QString& section) const;
    QString text(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // A value that is not a decimal integer gives the default.
    int integer(const QString& section, const QString& key, int defaultValue) const;

    void setInteger(const QString& section, const QString& key, int value);
    void setText(const QString& section, const QString& key, const QString& value);
    QByteArray serialize() const;
    // Replaces the file at `path` once the new one is complete; "Unable to write to <path>:
    // <reason>" when it cannot.
    std::optional<QString> save(const QString& path) const;

private:
    struct Line {
        QByteArray raw;  // the line as read, without its line end
        QString section; // the section it belongs to (as spelled in the file)
        QString key;     // empty for comments, blanks and section headers
        QString value;
    };
    int find(const QString& section, const QString& key) const;
    QList<Line> m_lines;
    QByteArray m_eol = "\r\n";
};
