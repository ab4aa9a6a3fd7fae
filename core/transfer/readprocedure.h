// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/transfer.h"

class Link;
class Session;

// The read of the radio into the document: port reset, handshake, identification, channel rows
// of both tables, settings blocks, FM list, DTMF fields, power-on message and call list, each
// decoded into its cells and controls as it arrives; end frame always. After a failure what was
// decoded stays, rows emptied but not yet refilled stay empty, the rest is unchanged.
TransferResult readRadio(Session& session, Link& link, const TransferOptions& options);

// The identification steps alone (port reset, handshake, both stamps into the radio
// information, password and identification checks, end frame): what "本机信息" shows.
TransferResult readRadioInfo(Session& session, Link& link);
