// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/servicecli.h"
#include "cli/transfercli.h"
#include "core/codeplug/session.h"
#include "core/transfer/usageadjust.h"

int runUsage(const QStringList& args) {
    VerbParser verb(QStringLiteral(
        "The transmit-usage adjustment of the read/write dialog (\"修改\"): reads block 0x01B0 and, when the "
        "radio keeps a usage level, moves the high transmit power at 400 and 470 MHz by 10 per level "
        "step and stores the new level."));
    const QCommandLineOption level(
        QStringLiteral("level"),
        QStringLiteral("Usage level: 0 不常发射, 1 较常发射, 2 常常发射, 3 超常发射."),
        QStringLiteral("0..3"));
    verb.parser.addOption(level);
    RadioVerb radio(verb);
    if (auto done = verb.parse(args)) return *done;
    if (auto error = radio.check()) return verb.usageError(*error);
    bool ok = false;
    const int n = verb.parser.value(level).toInt(&ok);
    if (!verb.parser.isSet(level) || !ok || n < 0 || n >= UsageLevels)
        return verb.usageError(QStringLiteral("--level takes 0, 1, 2 or 3"));

    Session session;
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    if (auto status = radio.connect(session)) return *status;
    const UsageResult result = adjustUsage(session, radio.link(), n);
    if (!result.ok) {
        err() << result.message << "\n";
        return result.refused ? Exit::Problems : Exit::LinkFailed;
    }
    if (result.written)
        out() << "level " << result.storedLevel << " -> " << n << ": high power at 400 and 470 MHz "
              << (result.storedLevel - n) * 10 << "\n";
    else
        out() << "the radio keeps no usage level here: nothing to change\n";
    return Exit::Ok;
}
