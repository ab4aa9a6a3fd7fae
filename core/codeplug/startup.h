// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/appsettings.h"
class Session;

// The start-up steps that concern data: port, single-port mode, model, language, band lists,
// model change, current cell, long-press time, lease group, and the fixed labels and first
// values of the channel tables, the call list and the FM list.
void startUp(Session& session, const AppSettings& settings);

// The values SaveSettings writes at exit.
ExitSettings exitSettings(const Session& session);
