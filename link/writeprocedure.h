#pragma once
#include "link/settingsblocks.h"
#include "link/transfer.h"
#include <QString>

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

// The write of the radio. Nothing at all is sent when the channel range or a value that would
// be encoded cannot be written (validation first, then every block encoded before the
// handshake). Then port reset, handshake, identification, programming stamp when the radio's
// administrator differs, factory date when asked, and every block in order; end frame always.
TransferResult writeRadio(Session& session, Link& link, const TransferOptions& options,
                          const WritePreparation& preparation);
