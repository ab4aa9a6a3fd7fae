// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/link.h"

// One connection with the radio, from the handshake to the end frame. Once the handshake has
// been tried, the end frame goes out when the session ends, on every path out of the exchange
// (also after a failed handshake: a radio that did hear it leaves programming mode); a session
// that owns the port closes it again. Every exchange with the radio runs in one.
class RadioSession {
public:
    // `closePort`: the exchange owns the port and leaves it closed (the alignment exchanges);
    // otherwise the port stays as the read/write dialog holds it.
    explicit RadioSession(Link& link, bool closePort = false) : m_link(link), m_closePort(closePort) {}
    ~RadioSession() { end(); }
    RadioSession(const RadioSession&) = delete;
    RadioSession& operator=(const RadioSession&) = delete;

    [[nodiscard]] bool handshake(const HandshakeTiming& timing = {}) {
        m_started = true;
        return m_link.handshake(timing);
    }
    // The end frame with the exchange's own wait, once; the port closed if the session owns it.
    void end(int chars = 0, int ms = 70) {
        if (m_started && !m_handedOn) m_link.endTransfer(chars, ms);
        m_started = false;
        if (m_closePort) m_link.closePort();
        m_closePort = false;
    }
    // The connection stays open for the transfer that follows at once (the initialise command
    // writes the alignment and then the document in one programming session): no end frame.
    void handOn() { m_handedOn = true; }

private:
    Link& m_link;
    bool m_closePort;
    bool m_started = false;
    bool m_handedOn = false;
};
