// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the language file reader and applies the table to a session, as a
// language switch does. Beyond "no crash": no text exceeds the 253 bytes of the radio software's
// string buffer, and every rebuilt list keeps the position that was selected.
#include "core/base/language.h"
#include "core/base/texttable.h"
#include "core/codeplug/applylanguage.h"
#include "fuzz/fuzzsession.h"
#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const StringTable table = StringTable::parse(bytes);
    for (int number : builtinTextNumbers())
        if (const auto text = table.text(number); text && text->toUtf8().size() > StringTable::MaxTextBytes)
            finding(
                QStringLiteral("text %1 is longer than %2 bytes").arg(number).arg(StringTable::MaxTextBytes));

    auto s = startedSession();
    // A row in the words of the built-in language, for the cells' translation to work on.
    ChannelTable& a = s->doc.tableA;
    const ValueWords& w = s->doc.words;
    a.setCell(Col::RxFreq, 4, QStringLiteral("438.50000"));
    for (const auto& [col, word] : {std::pair{Col::RxTone, w.off},
                                    {Col::Power, w.high},
                                    {Col::Bandwidth, w.wide},
                                    {Col::Opt7, w.on},
                                    {Col::Compander, w.scrambler}})
        a.setCell(col, 4, word);
    QHash<QString, int> selected;
    for (const QString& name : s->doc.func.names())
        if (s->doc.func.state(name).kind == ControlState::Kind::List)
            selected.insert(name, s->doc.func.index(name));

    applyStringTable(*s, table);
    for (auto it = selected.cbegin(); it != selected.cend(); ++it)
        if (s->doc.func.index(it.key()) != it.value())
            finding(it.key() + QStringLiteral(" lost its selected position"));
    return 0;
}
