// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <Qt>
class QString;

// What the read/write dialog does differently in the browser.
namespace PageSide {
// How the start button starts a transfer. The browser hands over a key or a click in its own
// callback, where the program cannot suspend for the link's waits: there the transfer starts
// from the event loop instead.
Qt::ConnectionType startConnection();
// In the browser the page's console keeps what the dialog said ("kt520 KIND: TEXT"), for a
// user's report of a fault and for the page test, which has no other way to read the canvas.
// Nothing on the desktop.
void log(const QString& kind, const QString& text);
} // namespace PageSide
