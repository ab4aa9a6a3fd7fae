// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/frames.h"
#include "core/link/radioport.h"
#include <QList>
#include <QTimer>

// A port whose answers are written down in advance: every frame written takes the next reply
// of the script (hex text, "" for silence), delivered in chunks of `chunkBytes` bytes on later
// event-loop passes, the way a serial driver hands them over.
class ScriptPort : public RadioPort {
    Q_OBJECT
public:
    QStringList script;
    int chunkBytes = 64;
    QList<QByteArray> written;
    bool echo = false; // a single-port cable: what is written comes back first
    qint64 lineNs = 0; // how long a request takes on the line to the radio

    bool open() override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& bytes) override {
        if (!m_open) return false;
        written.append(bytes);
        QByteArray answer = echo ? bytes : QByteArray();
        if (!script.isEmpty()) answer += *Frame::fromHex(script.takeFirst());
        deliver(answer);
        return true;
    }
    QByteArray readAll() override { return std::exchange(m_buffer, {}); }
    QString errorString() const override { return {}; }
    QString deviceName() const override { return QStringLiteral("script"); }
    qint64 lineNanos(int bytes) const override { return bytes > 0 ? lineNs : 0; }

    // Bytes arriving on their own, in chunks.
    void deliver(const QByteArray& bytes) {
        for (qsizetype i = 0; i < bytes.size(); i += chunkBytes) {
            const QByteArray chunk = bytes.mid(i, chunkBytes);
            QTimer::singleShot(0, this, [this, chunk] {
                if (!m_open) return;
                m_buffer += chunk;
                emit readyRead();
            });
        }
    }
    // Bytes arriving at once, inside the call (a driver with data already waiting).
    void receiveNow(const QByteArray& bytes) {
        m_buffer += bytes;
        emit readyRead();
    }

private:
    bool m_open = false;
    QByteArray m_buffer;
};
