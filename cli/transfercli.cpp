// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/transfercli.h"
#include "core/base/appsettings.h"
#include "core/base/filesave.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include "core/link/tracefile.h"
#include "core/transfer/replydelay.h"
#include <unistd.h>

RadioVerb::RadioVerb(VerbParser& verb)
    : m_verb(verb),
      m_port(QStringLiteral("port"),
             QStringLiteral("The radio's port: COM1 ... COM16 as the program maps them, or a device path."),
             QStringLiteral("PORT")),
      m_channels(QStringLiteral("channels"),
                 QStringLiteral("Channel range: channels 1 to N move (1-99, default 99)."),
                 QStringLiteral("N"), QStringLiteral("99")),
      m_trace(QStringLiteral("trace"),
              QStringLiteral(
                  "Append every frame sent and received, in hex with a millisecond time stamp, to FILE."),
              QStringLiteral("FILE")),
      m_singlePort(
          QStringLiteral("single-port"),
          QStringLiteral(
              "Single-port cable: every byte sent comes back as an echo (default: as the program is set).")) {
    verb.parser.addOption(m_port);
    verb.parser.addOption(m_channels);
    verb.parser.addOption(m_trace);
    verb.parser.addOption(m_singlePort);
}

RadioVerb::~RadioVerb() {
    m_traceFile.reset();
    m_link.closePort();
}

std::optional<QString> RadioVerb::check() const {
    const QCommandLineParser& p = m_verb.parser;
    if (!p.positionalArguments().isEmpty())
        return QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first());
    const QStringList all = ports();
    if (all.isEmpty() || all.contains(QString())) return QStringLiteral("--port PORT is required");
    for (const QString& port : all)
        if (const auto com = comNumber(port);
            com && (*com < PortDirectory::FirstCom || *com > PortDirectory::LastCom))
            return QStringLiteral("--port COMn takes a number from 1 to 16");
    // One trace file cannot tell several lines apart.
    if (all.size() > 1 && p.isSet(m_trace)) return QStringLiteral("--trace takes one --port only");
    if (!transferRows(p.value(m_channels), false))
        return QStringLiteral("--channels takes a number from 1 to 99, not '%1'").arg(p.value(m_channels));
    return std::nullopt;
}

QStringList RadioVerb::ports() const {
    return m_verb.parser.values(m_port);
}

QString RadioVerb::channelRange() const {
    return m_verb.parser.value(m_channels);
}

bool RadioVerb::singlePortCable(const Session& session) const {
    return m_verb.parser.isSet(m_singlePort) || session.singlePortMode;
}

int linkFailureStatus(int written, const QString& unacknowledged, bool radioChanged) {
    return written > 0 || !unacknowledged.isEmpty() || radioChanged ? Exit::PartlyWritten : Exit::LinkFailed;
}

int transferStatus(const TransferResult& result) {
    switch (result.outcome) {
    case TransferResult::Outcome::Done:
        return Exit::Ok;
    case TransferResult::Outcome::LinkFailed:
        return result.mode == TransferMode::Write
                   ? linkFailureStatus(result.blocksWritten, result.unacknowledged, result.afterAlignment)
                   : int(Exit::LinkFailed);
    case TransferResult::Outcome::ChannelRangeInvalid:
    case TransferResult::Outcome::ValidationFailed:
        break;
    }
    return Exit::Problems;
}

std::optional<QString> openRadioPort(Session& session, const QString& port, bool singlePort, Link& link) {
    std::unique_ptr<RadioPort> radioPort;
    if (const auto com = comNumber(port)) {
        radioPort = PortDirectory(session.files.settingsToRead()).create(*com);
        if (!radioPort) return QStringLiteral("%1 names no serial device").arg(port.toUpper());
    } else {
        radioPort = std::make_unique<SerialRadioPort>(port);
    }
    const QString device = radioPort->deviceName();
    link.setPort(std::move(radioPort));
    link.setSinglePortMode(singlePort);
    // The program probes the port before its dialog opens; the same message here.
    if (!link.openPort()) {
        // A file or a device of another kind opens, then refuses the line settings with the
        // system's raw "Inappropriate ioctl for device".
        const bool notSerial = PortDirectory::deviceState(device) == PortDirectory::State::NotSerial;
        return session.lang.text(Str::PortOpenFailed) +
               QStringLiteral(" (%1: %2)")
                   .arg(device,
                        notSerial ? session.lang.text(Str::PortStateNotSerial) : link.lastPortError());
    }
    return std::nullopt;
}

std::optional<int> RadioVerb::connect(Session& session) {
    const QCommandLineParser& p = m_verb.parser;
    if (auto error = openRadioPort(session, p.value(m_port), singlePortCable(session), m_link)) {
        err() << *error << "\n";
        return int(Exit::LinkFailed);
    }
    const QString device = m_link.port()->deviceName();
    // Said as the transfer starts, once, also when a write reads the radio first.
    QObject::connect(&m_link, &Link::replyDelayMeasured, [this, &session](const ReplyDelay& delay) {
        const bool told = m_replyDelay && m_replyDelay->slow();
        m_replyDelay = delay;
        if (told || !delay.slow()) return;
        if (m_progressShown) out() << "\n";
        out().flush();
        err() << "warning: " << replyDelayText(delay, session.lang) << "\n";
        err().flush();
    });
    if (p.isSet(m_trace)) {
        auto opened = TraceFile::open(p.value(m_trace));
        if (auto* failure = std::get_if<FileFailure>(&opened)) {
            err() << fileFailureText(p.value(m_trace), *failure, session.lang) << "\n";
            return int(Exit::NotSaved);
        }
        m_traceFile = std::move(std::get<std::unique_ptr<TraceFile>>(opened));
        m_traceFile->attach(m_link, device);
    }
    return std::nullopt;
}

TransferOptions RadioVerb::options() {
    TransferOptions options;
    options.channelRange = m_verb.parser.value(m_channels);
    if (isatty(STDOUT_FILENO)) {
        options.progress = [this](int value) {
            m_progressShown = true;
            out() << "\r" << QString::number(value * 100 / ProgressMaximum).rightJustified(3) << " %";
            out().flush();
        };
    }
    return options;
}

int RadioVerb::finish(const TransferResult& result, const Session& session) {
    if (m_progressShown) out() << "\n";
    out().flush();
    // A trace that could not be written (a full disk) is a warning: the transfer stands, and a
    // read's document is still saved.
    const std::optional<FileFailure> traceFailure = m_traceFile ? m_traceFile->failure() : std::nullopt;
    m_traceFile.reset();
    // Kept for "kt520-cli port" and the port dialog; a measurement that cannot be kept is no
    // reason to fail the transfer.
    if (m_replyDelay) (void)ReplyDelayStore().remember(*m_replyDelay);
    int status = Exit::Ok;
    if (!result.ok()) {
        err() << transferMessage(result, session.lang) << "\n";
        status = transferStatus(result);
    }
    if (traceFailure)
        err() << "warning: " << fileFailureText(m_verb.parser.value(m_trace), *traceFailure, session.lang)
              << "\n";
    err().flush();
    return status;
}
