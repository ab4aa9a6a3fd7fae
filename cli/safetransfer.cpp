// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/safetransfer.h"
#include "core/base/filesave.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include "core/transfer/readprocedure.h"
#include "core/transfer/replydelay.h"
#include "core/transfer/writeprocedure.h"
#include <QDir>
#include <QFileInfo>

namespace {
// A message of several lines as one result line.
QString oneLine(const QString& text) {
    return QString(text).replace(QChar('\n'), QStringLiteral("; "));
}

// The device a --port names, so that two names for one device can be told.
QString deviceOf(const Session& session, const QString& port) {
    if (const auto com = comNumber(port)) {
        const auto radioPort = PortDirectory(session.files.settingsToRead()).create(*com);
        return radioPort ? radioPort->deviceName() : port.toUpper();
    }
    return port;
}

// One port's transfer on a thread of its own, its link watched for late replies.
PortOutcome onOwnLink(const std::function<PortOutcome(Link&)>& transfer) {
    Link link;
    std::optional<ReplyDelay> delay;
    QObject::connect(&link, &Link::replyDelayMeasured, [&delay](const ReplyDelay& d) { delay = d; });
    PortOutcome outcome = transfer(link);
    outcome.replyDelay = delay;
    return outcome;
}

int printOutcomes(const QStringList& ports, const QList<PortOutcome>& outcomes, const Session& session) {
    int status = Exit::Ok;
    for (qsizetype k = 0; k < ports.size(); ++k) {
        const PortOutcome& o = outcomes[k];
        const QString line = o.message.isEmpty()
                                 ? session.lang.text(Str::PortDone).arg(ports[k])
                                 : session.lang.text(Str::PortFailed).arg(ports[k], oneLine(o.message));
        (o.status == Exit::Ok ? out() : err()) << line << "\n";
        status = std::max(status, o.status);
        if (!o.replyDelay) continue;
        // Kept here, on one thread, for "kt520-cli port" and the port dialog.
        (void)ReplyDelayStore().remember(*o.replyDelay);
        if (o.replyDelay->slow())
            err() << "warning: " << ports[k] << ": " << oneLine(replyDelayText(*o.replyDelay, session.lang))
                  << "\n";
    }
    out().flush();
    err().flush();
    return status;
}

std::optional<int> refuseSameDevice(const VerbParser& verb, const RadioVerb& radio, const Session& session) {
    QStringList devices;
    for (const QString& port : radio.ports())
        devices << deviceOf(session, port);
    if (const auto twice = deviceNamedTwice(devices)) {
        err() << "kt520-cli: two --port values name the same device " << *twice << "; nothing was sent\n";
        err().flush();
        return int(Exit::Usage);
    }
    Q_UNUSED(verb);
    return std::nullopt;
}

// A session of this thread, started as the verb says.
std::unique_ptr<Session> startedSession(const VerbParser& verb) {
    auto session = std::make_unique<Session>();
    (void)startSession(*session, verb); // --lang was checked on the main thread
    return session;
}
} // namespace

QString outPathFor(const QString& out, const QString& port) {
    const QString tag = comNumber(port) ? port.toUpper() : QFileInfo(port).fileName();
    return QString(out).replace(QStringLiteral("{port}"), tag);
}

SafeWriteOptions::SafeWriteOptions(VerbParser& verb) {
    verb.parser.addOption(backupFirst);
    verb.parser.addOption(verify);
}

QString keptInBackup(const BackedUpRead& read, const Session& session) {
    return session.lang.text(Str::ReadKeptInBackup).arg(QDir::toNativeSeparators(read.backupPath));
}

void reportBackup(const BackedUpRead& read, const Session& session) {
    if (read.backupError.isEmpty()) return;
    err() << session.lang.text(Str::WarnCaption) << ": " << read.backupError << "\n";
    err().flush();
}

PortOutcome backUpFirst(const Session& session, Link& link) {
    const BackedUpRead read = backUpRadio(session, link, backupStoreFor(session));
    if (!read.result.ok()) return {Exit::LinkFailed, transferMessage(read.result, session.lang)};
    if (!read.backupError.isEmpty()) return {Exit::NotSaved, read.backupError};
    return {Exit::Ok, session.lang.text(Str::BackupSaved).arg(read.backupPath)};
}

int verifyStatus(const VerifyReport& report) {
    return report.ok()                                        ? int(Exit::Ok)
           : report.outcome == VerifyReport::Outcome::Differs ? int(Exit::Problems)
                                                              : int(Exit::LinkFailed);
}

int reportVerify(const VerifyReport& report, const Session& session) {
    const QString text = verifyMessage(report, session.lang);
    if (report.ok()) {
        out() << text << "\n";
        out().flush();
        return Exit::Ok;
    }
    err() << text << "\n";
    err().flush();
    return verifyStatus(report);
}

int runWriteOnPorts(const VerbParser& verb, const RadioVerb& radio, const Session& session,
                    const QByteArray& document, const SafeWriteOptions& safety) {
    if (auto refused = refuseSameDevice(verb, radio, session)) return *refused;
    const bool backupFirst = verb.parser.isSet(safety.backupFirst);
    const bool verify = verb.parser.isSet(safety.verify);
    const bool singlePort = radio.singlePortCable(session);
    TransferOptions options;
    options.channelRange = radio.channelRange();
    QList<std::function<PortOutcome()>> jobs;
    for (const QString& port : radio.ports())
        jobs << [&verb, &document, options, port, singlePort, backupFirst, verify] {
            return onOwnLink([&](Link& link) {
                const std::unique_ptr<Session> s = startedSession(verb);
                (void)openDocument(*s, document); // checked on the main thread
                const WritePreparation preparation = formShow(*s, TransferMode::Write);
                if (auto error = openRadioPort(*s, port, singlePort, link))
                    return PortOutcome{Exit::LinkFailed, *error};
                if (backupFirst) {
                    const PortOutcome backup = backUpFirst(*s, link);
                    if (backup.status != Exit::Ok) return backup;
                }
                const VerifiedWrite done = writeRadioVerified(*s, link, options, preparation, verify);
                if (!done.write.ok())
                    return PortOutcome{transferStatus(done.write), transferMessage(done.write, s->lang)};
                if (!done.verify) return PortOutcome{};
                return PortOutcome{verifyStatus(*done.verify), verifyMessage(*done.verify, s->lang)};
            });
        };
    return printOutcomes(radio.ports(), runOnOwnThreads(jobs), session);
}

int runReadOnPorts(const VerbParser& verb, const RadioVerb& radio, const Session& session,
                   const QString& out) {
    if (!out.contains(QStringLiteral("{port}"))) {
        err() << "kt520-cli: --out must hold {port} when several --port are given\n";
        err().flush();
        return Exit::Usage;
    }
    if (auto refused = refuseSameDevice(verb, radio, session)) return *refused;
    for (const QString& port : radio.ports())
        if (auto refused = refuseOutput(outPathFor(out, port), session.lang)) {
            err() << *refused << "\n";
            err().flush();
            return Exit::NotSaved;
        }
    const bool singlePort = radio.singlePortCable(session);
    TransferOptions options;
    options.channelRange = radio.channelRange();
    QList<std::function<PortOutcome()>> jobs;
    for (const QString& port : radio.ports())
        jobs << [&verb, options, port, singlePort, out] {
            return onOwnLink([&](Link& link) {
                const std::unique_ptr<Session> s = startedSession(verb);
                if (auto error = openRadioPort(*s, port, singlePort, link))
                    return PortOutcome{Exit::LinkFailed, *error};
                const BackedUpRead read = readRadioWithBackup(*s, link, options, backupStoreFor(*s));
                QStringList notes;
                if (!read.backupError.isEmpty()) notes << read.backupError;
                if (!read.result.ok()) {
                    notes.prepend(transferMessage(read.result, s->lang));
                    return PortOutcome{Exit::LinkFailed, notes.join(QChar('\n'))};
                }
                const QString path = outPathFor(out, port);
                if (auto error = saveUserFile(path, saveDocument(*s), s->lang)) {
                    notes.prepend(*error);
                    if (!read.backupPath.isEmpty()) notes << keptInBackup(read, *s);
                    return PortOutcome{Exit::NotSaved, notes.join(QChar('\n'))};
                }
                return PortOutcome{Exit::Ok, notes.join(QChar('\n'))};
            });
        };
    return printOutcomes(radio.ports(), runOnOwnThreads(jobs), session);
}
