// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "cli/cli.h"
#include "core/link/link.h"
#include "core/transfer/transfer.h"
#include <memory>

class Session;
class TraceFile;

// The options every verb that talks to a radio shares: --port, --channels, --trace and
// --single-port, and the link they set up.
class RadioVerb {
public:
    explicit RadioVerb(VerbParser& verb);
    ~RadioVerb();

    // Checks the options; a usage message when one is wrong.
    std::optional<QString> check() const;
    // Every --port given, in order; several run the transfer on each radio at once.
    QStringList ports() const;
    QString channelRange() const;
    bool singlePortCable(const Session& session) const;
    // Opens the port and the trace file; when either fails, says why on standard error and
    // gives the exit status.
    std::optional<int> connect(Session& session);
    Link& link() { return m_link; }
    // Channel range, progress on a terminal; the clock is the system's.
    TransferOptions options();
    // Ends the progress line and reports a failed transfer; the exit status.
    int finish(const TransferResult& result, const Session& session);

private:
    VerbParser& m_verb;
    QCommandLineOption m_port;
    QCommandLineOption m_channels;
    QCommandLineOption m_trace;
    QCommandLineOption m_singlePort;
    Link m_link;
    std::unique_ptr<TraceFile> m_traceFile;
    bool m_progressShown = false;
    std::optional<ReplyDelay> m_replyDelay; // what the transfer's first replies showed
};

// The exit status of a transfer: Exit::Ok, Exit::Problems for a refusal before anything was sent,
// Exit::LinkFailed, or Exit::PartlyWritten for a write the radio took part of.
int transferStatus(const TransferResult& result);
// The same for a write that reached the radio as far as `written` of its blocks, or not at all.
int linkFailureStatus(int written, const QString& unacknowledged, bool radioChanged = false);

// Opens the radio on `port` (COMn or a device path) for `link`; the message for the user when
// it cannot be opened.
std::optional<QString> openRadioPort(Session& session, const QString& port, bool singlePort, Link& link);

int runRead(const QStringList& args);
int runWrite(const QStringList& args);
int runInfo(const QStringList& args);
int runDiff(const QStringList& args);
