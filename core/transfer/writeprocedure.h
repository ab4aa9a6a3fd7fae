// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/link.h"
#include "core/memmap/settingsblocks.h"
#include "core/transfer/transfer.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class Link;
class Session;

// What FormShow works out for a write and settings block 1 carries: the channel number (1-99)
// of the first channel of each table inside a band of the band-one list, and the first FM row
// in use among rows 2-31 (as row - 1); 0xFF for none.
using WritePreparation = FirstNumbers;

// FormShow of the read/write dialog, on every showing: the FM list is normalised and gets
// 87.500 in its first row when that is empty; for a write the VFO rows of both tables are
// brought inside the bands of the band-one list, then the first numbers are computed.
WritePreparation formShow(Session& session, TransferMode mode);

// One frame of a write after the stamps. A literal frame is sent as the text the radio has
// always been given; its address and bytes say what it leaves in memory. The clock frame is
// made when it is sent.
struct WriteStep {
    enum class Kind { Block, Literal, Clock };
    Kind kind = Kind::Block;
    quint16 address = 0;
    QByteArray data;
    QString literal;
    Tolerance tolerance = Tolerance::Strict;
    bool advances = true; // the progress bar moves on after it
};
struct WritePlan {
    QList<WriteStep> steps;
    QStringList problems; // values that cannot be encoded, located; nothing may be sent then
};
// Every frame of a write after the stamps, in the radio's order, encoded from the document
// before anything is sent: band two and the new password when ticked, the records and names of
// `rows` table rows of side B then side A, the settings, dates, clock, squelch base values,
// fixed bytes, FM list, power-on message, DTMF codes and call list.
WritePlan planWrite(Session& session, const TransferOptions& options, const WritePreparation& first,
                    int rows);

// Why a write would be refused before a byte is sent (the channel range, values the radio cannot
// take, values that cannot be encoded); nothing when it may start. The initialise command asks
// before it writes the alignment, so that a refused document never follows a written alignment.
std::optional<TransferResult> writeRefusal(Session& session, const TransferOptions& options,
                                           const WritePreparation& preparation);

// The write of the radio. Nothing at all is sent when the channel range or a value that would
// be encoded cannot be written (validation first, then every block encoded before the
// handshake). Then port reset, handshake, identification, programming stamp when the radio's
// administrator differs, factory date when asked, and every block in order; end frame always.
TransferResult writeRadio(Session& session, Link& link, const TransferOptions& options,
                          const WritePreparation& preparation);
