// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/transfer.h"
#include <QString>
class Session;

// The main window's status line tells the outcome of the last command, in the current language.

// After the read/write dialog closed on a transfer that ran: done, cancelled, a write refused
// for its first reason (the document holds a value the radio cannot take), or not complete.
QString transferOutcome(const Session& session, TransferMode mode, bool ok, bool cancelled);
