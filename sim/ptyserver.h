// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "sim/simwire.h"
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class QSocketNotifier;
class VirtualRadio;

// Serves the virtual radio on a pseudo-terminal: a program opens devicePath() as if the
// programming cable were plugged in there. The master side is raw (no echo, no line editing),
// so the bytes pass unchanged in both directions.
//
// While no program has the device open, the master reports a hang-up on every poll; the
// server then stops listening and looks again every few milliseconds instead of spinning.
class PtyServer : public QObject {
    Q_OBJECT
public:
    explicit PtyServer(VirtualRadio& radio, QObject* parent = nullptr);
    ~PtyServer() override;

    // Creates the pseudo-terminal; the error message on failure.
    std::optional<QString> start();
    QString devicePath() const { return m_path; }

private:
    void onReadable();
    void onWritable();
    void send(const QByteArray& bytes);
    void waitForPeer();
    void checkPeer();

    SimWire m_wire;
    int m_master = -1;
    QString m_path;
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
    QByteArray m_pending;
    QTimer m_peerCheck;
};
