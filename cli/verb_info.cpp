// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/transfercli.h"
#include "core/codeplug/session.h"
#include "core/transfer/readprocedure.h"

int runInfo(const QStringList& args) {
    VerbParser verb(QStringLiteral("Reads who programmed the radio and when, as \"本机信息\" shows it."));
    RadioVerb radio(verb);
    if (auto done = verb.parse(args)) return *done;
    if (auto error = radio.check()) return verb.usageError(*error);

    Session session;
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    if (auto status = radio.connect(session)) return *status;
    const TransferResult result = readRadioInfo(session, radio.link());
    // The window's fields in its order; the sales date is kept hidden there as well.
    const RadioInfo& info = session.radioInfo;
    const struct {
        const char* caption;
        const QString& value;
    } fields[] = {
        {"机型", RadioInfo::Unfilled},  {"频段", RadioInfo::Unfilled}, {"管理员", info.administrator},
        {"出厂日期", info.factoryDate}, {"用户", info.user},
    };
    for (const auto& f : fields)
        out() << session.lang.caption(QString::fromUtf8(f.caption)) << ": " << f.value << "\n";
    return radio.finish(result, session);
}
