// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "cli/transfercli.h"
#include "core/transfer/backup.h"
#include "core/transfer/batch.h"
#include "core/transfer/verify.h"

// The options of a write that make it safe to undo and to trust: --backup-first and --verify.
struct SafeWriteOptions {
    QCommandLineOption backupFirst{
        QStringLiteral("backup-first"),
        QStringLiteral("Read the radio first and keep that backup; nothing is written when it fails.")};
    QCommandLineOption verify{QStringLiteral("verify"),
                              QStringLiteral("After the write, read back every block sent and compare; "
                                             "exit 1 when the radio holds anything else.")};
    explicit SafeWriteOptions(VerbParser& verb);
};

// --out with {port} replaced by the port's name: "COM3" as given, or the device's file name.
QString outPathFor(const QString& out, const QString& port);

// After a read whose document could not be saved: the backup that keeps the radio's memory all
// the same (a read without a backup has told why already).
QString keptInBackup(const BackedUpRead& read, const Session& session);

// A warning on standard error when the read's backup could not be kept; the read stands.
void reportBackup(const BackedUpRead& read, const Session& session);
// The read of --backup-first; the exit status (non-zero when the radio must not be written) and
// the message.
PortOutcome backUpFirst(const Session& session, Link& link);
// The exit status of a read-back.
int verifyStatus(const VerifyReport& report);
// "verified", or the failure; the exit status.
int reportVerify(const VerifyReport& report, const Session& session);

// The write and the read on several --port at once: one line per port, exit 0 only when every
// port succeeded. Two names for one device are refused before anything is sent.
int runWriteOnPorts(const VerbParser& verb, const RadioVerb& radio, const Session& session,
                    const QByteArray& document, const SafeWriteOptions& safety);
int runReadOnPorts(const VerbParser& verb, const RadioVerb& radio, const Session& session,
                   const QString& out);
