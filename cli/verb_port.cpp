// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "core/base/appsettings.h"
#include "core/base/programfiles.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include "core/link/radioport.h"
#include "core/transfer/replydelay.h"
#include <QCoreApplication>
#include <algorithm>

namespace {
const QString OpenSection = QStringLiteral("open");
const QString PortsSection = QStringLiteral("ports");

QString stateText(PortDirectory::State state) {
    switch (state) {
    case PortDirectory::State::Missing:
        return QStringLiteral("missing");
    case PortDirectory::State::InUse:
        return QStringLiteral("in use");
    case PortDirectory::State::NoPermission:
        return QStringLiteral("no permission");
    case PortDirectory::State::NotSerial:
        return QStringLiteral("not a serial port");
    case PortDirectory::State::Free:
        return QStringLiteral("free");
    }
    return {};
}

// One line per COM number: "*" for the chosen one, the device, whether it can be opened now,
// "[ports]" when the settings file names the device rather than the system's list, and what the
// system tells of the adapter, where it tells anything; below it, replies that its last
// transfer found slow.
void listPorts(const ProgramFiles& files) {
    const QString path = files.settingsToRead();
    const AppSettings settings = AppSettings::read(IniFile::load(path));
    Session session; // the language, chosen as at the program's start
    startUp(session, settings);
    const ReplyDelayStore delays;
    const PortDirectory directory(path);
    QStringList devices;
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n)
        devices << (directory.device(n).isEmpty() ? QStringLiteral("-") : directory.device(n));
    qsizetype width = 12;
    for (const QString& device : devices)
        width = std::max(width, device.size() + 2);
    const QList<PortAdapter> adapters = directory.adapters();
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        QString state = stateText(directory.state(n));
        const QString adapter = adapters.at(n - PortDirectory::FirstCom).text();
        if (directory.isConfigured(n)) state = state.leftJustified(18) + QStringLiteral("[ports]");
        if (!adapter.isEmpty()) state = state.leftJustified(27) + adapter;
        out() << (n == settings.com ? "* " : "  ") << QStringLiteral("COM%1").arg(n).leftJustified(6)
              << devices.at(n - 1).leftJustified(width) << state << "\n";
        if (const auto delay = delays.recall(directory.device(n)); delay && delay->slow())
            out() << "        "
                  << lastTransferText(*delay, session.lang).replace(u'\n', QStringLiteral("\n        "))
                  << "\n";
    }
    out() << "single-port: " << (settings.coMode == 1 ? "on" : "off") << "\n";
    out() << "settings: " << files.settingsFile;
    if (path != files.settingsFile) out() << " (not made yet: read from " << path << ")";
    out() << "\n";
}
} // namespace

int runPort(const QStringList& args) {
    VerbParser verb(
        QStringLiteral("Lists COM1 to COM16 with the device each stands for, whether it can be "
                       "opened now and the adapter the system names for it, and changes the port "
                       "settings in the settings file in use (see 'kt520-cli where'); the program "
                       "reads them at its next start."),
        false);
    const QCommandLineOption listOption(
        QStringLiteral("list"), QStringLiteral("List the ports (also without options, and after changes)."));
    const QCommandLineOption setOption(
        QStringLiteral("set"),
        QStringLiteral(
            "Let COMn stand for DEVICE, for example COM3=/dev/ttyUSB0; an empty DEVICE gives COMn back "
            "to the system's list. May be given more than once."),
        QStringLiteral("COMn=DEVICE"));
    const QCommandLineOption comOption(
        QStringLiteral("com"), QStringLiteral("Choose COM N (1-16) for the radio."), QStringLiteral("N"));
    const QCommandLineOption singleOption(
        QStringLiteral("single-port"),
        QStringLiteral("Single-port cable, which echoes every byte sent: on or off."),
        QStringLiteral("on|off"));
    verb.parser.addOptions({listOption, setOption, comOption, singleOption});
    if (auto done = verb.parse(args)) return *done;
    const QCommandLineParser& p = verb.parser;
    if (!p.positionalArguments().isEmpty())
        return verb.usageError(
            QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first()));

    // Every option is checked before the file is touched.
    QList<std::pair<int, QString>> mappings;
    for (const QString& value : p.values(setOption)) {
        const qsizetype eq = value.indexOf(QLatin1Char('='));
        const auto com = eq > 0 ? comNumber(value.left(eq)) : std::nullopt;
        if (!com || *com < PortDirectory::FirstCom || *com > PortDirectory::LastCom)
            return verb.usageError(
                QStringLiteral("--set takes COMn=DEVICE with n from 1 to 16, not '%1'").arg(value));
        mappings.append({*com, value.mid(eq + 1).trimmed()});
    }
    std::optional<int> com;
    if (p.isSet(comOption)) {
        bool ok = false;
        com = p.value(comOption).toInt(&ok);
        if (!ok || *com < PortDirectory::FirstCom || *com > PortDirectory::LastCom)
            return verb.usageError(
                QStringLiteral("--com takes a number from 1 to 16, not '%1'").arg(p.value(comOption)));
    }
    std::optional<int> single;
    if (p.isSet(singleOption)) {
        const QString value = p.value(singleOption);
        if (value != QStringLiteral("on") && value != QStringLiteral("off"))
            return verb.usageError(QStringLiteral("--single-port takes on or off, not '%1'").arg(value));
        single = value == QStringLiteral("on") ? 1 : 0;
    }

    const ProgramFiles files = ProgramFiles::forProgram(QCoreApplication::applicationDirPath());
    const bool changes = !mappings.isEmpty() || com || single;
    if (changes) {
        if (auto error = files.prepareSettings()) {
            err() << *error << "\n";
            return Exit::NotSaved;
        }
        IniFile ini = IniFile::load(files.settingsFile);
        for (const auto& [n, device] : mappings)
            ini.setText(PortsSection, QStringLiteral("com%1").arg(n), device);
        if (com) ini.setInteger(OpenSection, QStringLiteral("com"), *com);
        if (single) ini.setInteger(OpenSection, QStringLiteral("co_mode"), *single);
        if (auto error = ini.save(files.settingsFile)) {
            err() << *error << "\n";
            return Exit::NotSaved;
        }
    }
    if (!changes || p.isSet(listOption)) listPorts(files);
    return Exit::Ok;
}
