// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/servicecli.h"
#include "cli/transfercli.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/memmap/alignmentblocks.h"

namespace {
struct Action {
    const char* name;
    const char* summary;
};
constexpr Action Actions[] = {
    {"read", "read the alignment blocks (\"读出\") and save them with --out FILE.m17"},
    {"write", "write the alignment of --in FILE.m17 (\"调整\"); --menus adds the menu tables"},
    {"ident", "write the identification block (\"通信协议\")"},
    {"battery", "calibrate the battery measurement (\"电源调整\"): prints OK ! or Fail !"},
    {"squelch", "write menu entry 17 (\"调整SQL\")"},
};

QString actionList() {
    QString text =
        QStringLiteral("Usage: kt520-cli align <action> --port PORT [options]\n\nFactory alignment of "
                       "the radio, for service technicians.\n\nActions:\n");
    for (const Action& a : Actions)
        text += QStringLiteral("  %1%2\n")
                    .arg(QString::fromLatin1(a.name).leftJustified(9), QString::fromUtf8(a.summary));
    return text + QStringLiteral("\n'kt520-cli align <action> --help' describes an action's options.\n\n") +
           exitCodeHelp();
}

// The fields as the alignment window shows them, one "caption (number): text" line each.
void printFields(const AlignmentData& data, QTextStream& out) {
    out << "10W/25W: " << data.powerClass << "\n";
    for (const AlignField& f : alignFields())
        if (f.address == AlignAddr::Power || f.address == AlignAddr::Levels ||
            f.address == AlignAddr::Timings)
            out << alignFieldName(f) << ": " << data.text(f.number) << "\n";
}
} // namespace

int runAlign(const QStringList& args) {
    const QString action = args.value(1);
    if (action.isEmpty() || action.startsWith(QLatin1Char('-'))) {
        const bool help = action == QStringLiteral("--help") || action == QStringLiteral("-h");
        (help ? out() : err()) << actionList();
        return help ? Exit::Ok : Exit::Usage;
    }
    const Action* known = nullptr;
    for (const Action& a : Actions)
        if (action == QString::fromLatin1(a.name)) known = &a;
    if (!known) {
        err() << "kt520-cli: align has no action '" << action << "'\n\n" << actionList();
        return Exit::Usage;
    }
    VerbParser verb(QString::fromUtf8(known->summary));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The alignment file to write."),
                                       QStringLiteral("FILE.m17"));
    const QCommandLineOption inOption(QStringLiteral("in"),
                                      QStringLiteral("The alignment file to write to the radio."),
                                      QStringLiteral("FILE.m17"));
    const QCommandLineOption menus(
        QStringLiteral("menus"),
        QStringLiteral("Also write the difference frequencies and the three menu tables "
                       "(\"写入菜单\"), with the second halves of cai.ini."));
    const QCommandLineOption power(
        QStringLiteral("power"),
        QStringLiteral(
            "The power class: 10W or 25W (default: the file's; 10W for an older file without one)."),
        QStringLiteral("10W|25W"));
    if (action == u"read") verb.parser.addOption(outOption);
    if (action == u"write") verb.parser.addOptions({inOption, menus, power});
    RadioVerb radio(verb);
    if (auto done = verb.parse(QStringList{QStringLiteral("align ") + action} + args.mid(2))) return *done;
    if (auto error = radio.check()) return verb.usageError(*error);
    if (action == u"read" && verb.parser.value(outOption).isEmpty())
        return verb.usageError(QStringLiteral("--out FILE.m17 is required"));
    if (action == u"write" && verb.parser.value(inOption).isEmpty())
        return verb.usageError(QStringLiteral("--in FILE.m17 is required"));
    const QString powerClass = action == u"write" ? verb.parser.value(power) : QString();
    if (action == u"write" && verb.parser.isSet(power) && powerClass != u"10W" && powerClass != u"25W")
        return verb.usageError(QStringLiteral("--power takes 10W or 25W, not '%1'").arg(powerClass));

    Session session;
    if (auto error = startSession(session, verb)) return verb.usageError(*error);
    const QString path = action == u"read" ? verb.parser.value(outOption) : QString();
    if (auto refused = action == u"read" ? refuseOutput(path, session.lang) : std::nullopt) {
        err() << *refused << "\n";
        return Exit::NotSaved;
    }
    session.alignment.menus.loadSecondHalves(MenuTables::findCaiIni(session.files.languageDirs));
    if (action == u"write") {
        // Empty until the file or --power names it: a 25W radio read to a file and written
        // back must stay a 25W radio.
        session.alignment.powerClass.clear();
        if (auto error = readAlignmentFileAt(session.alignment, verb.parser.value(inOption), session.lang)) {
            err() << *error << "\n";
            return Exit::Problems;
        }
        if (verb.parser.isSet(power)) {
            session.alignment.powerClass = powerClass;
        } else if (session.alignment.powerClass.isEmpty()) {
            session.alignment.powerClass = QStringLiteral("10W");
            err() << "kt520-cli: " << verb.parser.value(inOption)
                  << " holds no power class (an older file); writing 10W. --power 25W writes 25W.\n";
        }
    }
    if (auto status = radio.connect(session)) return *status;
    Link& link = radio.link();
    AlignResult result;
    if (action == u"read") result = readAlignment(session, link);
    if (action == u"write") result = writeAlignment(session, link, verb.parser.isSet(menus));
    if (action == u"ident") result = writeIdentification(session, link);
    if (action == u"battery") result = calibrateBattery(session, link);
    if (action == u"squelch") result = writeMenuEntry17(session, link);
    if (!result.battery.isEmpty()) out() << result.battery << "\n";
    if (!result.ok()) {
        out().flush();
        return result.outcome == AlignResult::Outcome::BatteryFail ? int(Exit::Problems)
                                                                   : alignFailure(result, session);
    }
    if (action == u"read") {
        printFields(session.alignment, notes(path));
        if (const auto error = saveOutput(path, saveAlignmentFile(session.alignment), session.lang)) {
            err() << *error << "\n";
            return Exit::NotSaved;
        }
    }
    return Exit::Ok;
}
