// SPDX-License-Identifier: GPL-3.0-or-later
// kt520-sim: the virtual radio on a pseudo-terminal. The first line printed is the device to
// open; the program then serves until it is interrupted.
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <optional>
#include <utility>

namespace {
struct CountOption {
    const char* name;
    const char* help;
    int SimFaults::*field;
    int minimum;
};
constexpr CountOption CountOptions[] = {
    {"busy-every", "Answer \"090009\" (busy) instead of every Nth reply; the request is not carried out.",
     &SimFaults::busyEvery, 1},
    {"corrupt-every", "Send every Nth reply with a wrong checksum.", &SimFaults::corruptEvery, 1},
    {"garbage-every", "Send stray bytes before every Nth reply.", &SimFaults::garbageEvery, 1},
    {"silent-after", "Answer nothing after the first N requests.", &SimFaults::silentAfter, 0},
    {"baud", "Pace the line at B baud in both directions (0 = unpaced, the default).", &SimFaults::baud, 0},
    {"drop-writes-every", "Acknowledge every Nth block write without storing it.",
     &SimFaults::dropWritesEvery, 1},
    {"reply-delay-ms", "Send each reply MS milliseconds after its request arrived (the echo stays at once).",
     &SimFaults::replyDelayMs, 0},
    {"damage-every", "Spoil a data byte of every Nth reply and leave its checksum wrong.",
     &SimFaults::damageEvery, 1},
    {"other-block-every", "Answer every Nth block read with the next block (its address and data).",
     &SimFaults::otherBlockEvery, 1},
    {"usb-latency",
     "Act as a cable whose USB serial adapter has a latency timer of MS milliseconds: each short reply "
     "is held MS before its first byte goes out, unless 62 bytes are waiting.",
     &SimFaults::usbLatencyMs, 0},
};

// "ADDR:MS" of --late-reply: a hex address of the memory and a delay in milliseconds.
std::optional<std::pair<int, int>> lateReply(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2) return std::nullopt;
    QString address = parts[0].trimmed();
    if (address.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) address.remove(0, 2);
    bool ok = false;
    const int a = address.toInt(&ok, 16);
    if (!ok || a < 0 || a >= VirtualRadio::MemorySize) return std::nullopt;
    const int ms = parts[1].trimmed().toInt(&ok);
    if (!ok || ms < 0 || ms > 60000) return std::nullopt;
    return std::make_pair(a, ms);
}

// The value name of a count option in --help.
QString valueName(int SimFaults::*field) {
    if (field == &SimFaults::baud) return QStringLiteral("B");
    if (field == &SimFaults::replyDelayMs || field == &SimFaults::usbLatencyMs) return QStringLiteral("MS");
    return QStringLiteral("N");
}

int fail(const QString& message) {
    std::fprintf(stderr, "kt520-sim: %s\n", qPrintable(message));
    return 2;
}

std::optional<int> number(const QString& text, int minimum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum) return std::nullopt;
    return value;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kt520-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Virtual KT-520 radio on a pseudo-terminal. Prints the device path as its first line, "
                       "then answers the programming protocol on it until interrupted."));
    parser.addHelpOption();
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("Start with the 8192-byte memory image FILE instead of a "
                                                  "factory-fresh radio."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption dump(
        QStringLiteral("dump"), QStringLiteral("Write the memory to FILE after every end-of-transfer frame."),
        QStringLiteral("FILE"));
    const QCommandLineOption echo(
        QStringLiteral("echo"),
        QStringLiteral("Single-port cable: every byte sent to the radio comes back first."));
    const QCommandLineOption corruptScope(
        QStringLiteral("corrupt-scope"),
        QStringLiteral("Replies --corrupt-every counts and spoils: all (the default) or read (the data "
                       "replies of block reads only)."),
        QStringLiteral("read|all"), QStringLiteral("all"));
    const QCommandLineOption password(
        QStringLiteral("password"),
        QStringLiteral("Start with this communication password of up to 14 digits set in the radio."),
        QStringLiteral("DIGITS"));
    const QCommandLineOption exitAfterEnd(QStringLiteral("exit-after-end"),
                                          QStringLiteral("Quit after the first end-of-transfer frame (after "
                                                         "--dump has written the memory)."));
    const QCommandLineOption battery(
        QStringLiteral("battery"),
        QStringLiteral("The four battery readings (0-255 each) the calibration query answers with "
                       "(default 150,150,150,150, which calibrates to the offset 06)."),
        QStringLiteral("R1,R2,R3,R4"));
    const QCommandLineOption late(
        QStringLiteral("late-reply"),
        QStringLiteral(
            "Answer the first read or write of the hex address ADDR MS milliseconds later than the "
            "others, after the program has stopped waiting (e.g. 0180:130)."),
        QStringLiteral("ADDR:MS"));
    parser.addOption(late);
    parser.addOption(battery);
    parser.addOption(image);
    parser.addOption(dump);
    parser.addOption(echo);
    parser.addOption(corruptScope);
    parser.addOption(password);
    parser.addOption(exitAfterEnd);
    QList<QCommandLineOption> counts;
    for (const CountOption& c : CountOptions) {
        counts.append(
            QCommandLineOption(QString::fromLatin1(c.name), QString::fromUtf8(c.help), valueName(c.field)));
        parser.addOption(counts.back());
    }
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument %1 (see --help)").arg(parser.positionalArguments().first()));

    SimFaults faults;
    faults.echo = parser.isSet(echo);
    for (qsizetype i = 0; i < counts.size(); ++i) {
        if (!parser.isSet(counts[i])) continue;
        const std::optional<int> value = number(parser.value(counts[i]), CountOptions[i].minimum);
        if (!value)
            return fail(QStringLiteral("--%1 needs a whole number of at least %2")
                            .arg(QLatin1String(CountOptions[i].name))
                            .arg(CountOptions[i].minimum));
        faults.*CountOptions[i].field = *value;
    }
    if (parser.isSet(late)) {
        const auto value = lateReply(parser.value(late));
        if (!value)
            return fail(QStringLiteral("--late-reply takes a hex address and milliseconds (ADDR:MS), not %1")
                            .arg(parser.value(late)));
        faults.lateAddress = value->first;
        faults.lateMs = value->second;
    }
    const QString scope = parser.value(corruptScope);
    if (scope != QLatin1String("all") && scope != QLatin1String("read"))
        return fail(QStringLiteral("--corrupt-scope takes read or all, not %1").arg(scope));
    faults.corruptScope = scope == QLatin1String("read") ? SimFaults::Scope::Read : SimFaults::Scope::All;

    VirtualRadio radio;
    radio.setFaults(faults);
    if (parser.isSet(image))
        if (const std::optional<QString> error = radio.loadImage(parser.value(image))) return fail(*error);
    // After --image: the password is set in whatever memory the radio starts with.
    if (parser.isSet(password) && !radio.setPassword(parser.value(password)))
        return fail(QStringLiteral("--password takes up to 14 digits, not %1").arg(parser.value(password)));
    if (parser.isSet(battery) && !radio.setBatteryReadings(parser.value(battery)))
        return fail(QStringLiteral("--battery takes four numbers 0-255 separated by commas, not %1")
                        .arg(parser.value(battery)));
    if (parser.isSet(dump)) {
        const QString path = parser.value(dump);
        QObject::connect(&radio, &VirtualRadio::transferEnded, &app, [&radio, path] {
            if (const std::optional<QString> error = radio.saveImage(path))
                std::fprintf(stderr, "kt520-sim: %s\n", qPrintable(*error));
        });
    }

    // Connected after --dump, so the memory is written before the program ends.
    if (parser.isSet(exitAfterEnd))
        QObject::connect(&radio, &VirtualRadio::transferEnded, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);

    PtyServer server(radio);
    if (const std::optional<QString> error = server.start()) return fail(*error);
    std::printf("%s\n", qPrintable(server.devicePath()));
    std::fflush(stdout);
    return app.exec();
}
