// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings file (sysini.ini) reader. Beyond "no crash": the values
// the program relies on are in range, every line survives a rewrite as it was read, and the keys
// written at exit read back as written.
#include "core/base/appsettings.h"
#include "core/base/settingsfile.h"
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {
// The file as IniFile writes it back: each line without its line end, then the one line end the
// file uses (CR LF unless it has only LF).
QByteArray normalised(const QByteArray& bytes) {
    const QByteArray eol = !bytes.contains("\r\n") && bytes.contains('\n') ? "\n" : "\r\n";
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    QByteArray out;
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        out += line + eol;
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile ini = IniFile::parse(bytes);
    const AppSettings read = AppSettings::read(ini);
    if (read.com < 1 || read.com > 16 || read.band1.size() != 3 || read.band2.size() > 64) std::abort();
    if (ini.serialize() != normalised(bytes)) std::abort();

    // The exit keys, with values taken from the file so that they vary with the input.
    const int values[] = {read.com,  read.coMode,     read.modelIndex,
                          read.lang, read.band1Index, read.band2Index};
    const char* keys[] = {"com", "co_mode", "M_type", "lang", "list0now", "list1now"};
    const char* sections[] = {"open", "open", "open", "open", "list0", "list1"};
    for (int i = 0; i < 6; ++i)
        ini.setInteger(QString::fromLatin1(sections[i]), QString::fromLatin1(keys[i]), values[i]);
    const QByteArray written = ini.serialize();
    const IniFile back = IniFile::parse(written);
    for (int i = 0; i < 6; ++i)
        if (back.integer(QString::fromLatin1(sections[i]), QString::fromLatin1(keys[i]), values[i] + 1) !=
            values[i])
            std::abort();
    return 0;
}
