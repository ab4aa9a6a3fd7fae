// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/transfer.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Language;
class Link;
class Session;

// The exchanges of the factory alignment with the radio. Each one takes the link with its port
// set but not open: it opens the port itself (the port check), runs its frames with the
// alignment's own waits and a 3-attempt handshake, sends the end frame and closes the port.
struct AlignResult {
    enum class Outcome {
        Done,
        PortUnavailable, // the port could not be opened; nothing sent
        Refused,         // values that do not fit their bytes; nothing sent
        LinkFailed,      // handshake, identification or a reply failed the exchange
        BatteryFail,     // the battery average lies outside 64-240: "Fail !", nothing written
    };
    Outcome outcome = Outcome::Done;
    QStringList problems;           // Refused: one line per value
    LinkFault fault;                // LinkFailed: why
    std::optional<QString> caption; // the main window caption after the read ran the model change
    QString battery;                // CalibrateBattery: "OK !", "Fail !" or empty
    int blocksWritten = 0;          // write frames the radio acknowledged
    int blocksToWrite = 0;          // of all the exchange was to send once connected
    QString unacknowledged;         // a write frame sent after those, never acknowledged
    bool ok() const { return outcome == Outcome::Done; }
};

// The message box text for a result, in the current language, with the reason and what reached
// the radio; empty for Done and BatteryFail.
// Its caption is Str::AlignCaption.
QString alignMessage(const AlignResult& result, const Language& lang);

// Identification check, then blocks 0x01A0, 0x01B0 and 0x01C0 into the fields.
AlignResult readAlignment(Session& session, Link& link);
// Identification, (with `menus`: 0x01D0 and the three menu tables), the three blocks and the
// band limits. `endFrame` false leaves the connection open for the initialise command's write.
AlignResult writeAlignment(Session& session, Link& link, bool menus, bool endFrame = true);
AlignResult writeIdentification(Session& session, Link& link);
AlignResult calibrateBattery(Session& session, Link& link);
AlignResult writeMenuEntry17(Session& session, Link& link);

// The battery offset for four readings: (156 - A) modulo 256 of their average A (cut), or
// nothing when A lies outside 64-240.
std::optional<int> batteryOffset(const QList<int>& readings);
