// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/radioport.h"
#include <QString>
#include <optional>
class Language;
class Session;

// What the user is told about a COM number: the state of its device in words, and the full
// warning when the port cannot be had for a transfer.
QString portStateText(const Language& lang, PortDirectory::State state);

// Empty when COM `com` can be opened now; otherwise the port warning, naming the device and
// why it cannot be opened, with the fix when the user lacks the permission.
std::optional<QString> portOpenProblem(const Session& session, int com);
