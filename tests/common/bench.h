// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/appsettings.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/memmap/memorymap.h"
#include "sim/simwire.h"
#include "sim/virtualradio.h"
#include "tests/common/startedsession.h"
#include <memory>

// The virtual radio on an in-process port, with a short repeat bound so that fault runs end
// quickly.
struct Bench {
    VirtualRadio radio;
    Link link;

    Bench() {
        link.setPort(std::make_unique<SimPort>(radio));
        link.setRepeatBoundMs(1500);
        if (!link.openPort()) qFatal("virtual radio port refused to open");
    }
    SimPort& port() { return *static_cast<SimPort*>(link.port()); }

    void put(quint16 address, const char* hex) {
        const QByteArray bytes = QByteArray::fromHex(hex);
        QByteArray memory = radio.memory();
        memory.replace(address, bytes.size(), bytes);
        radio.setMemory(memory);
    }
    QString hexAt(quint16 address, int size) const { return Frame::toHex(radio.memory().mid(address, size)); }

    // Frames the radio received with this command byte and, for reads and writes, address.
    int framesTo(quint8 command, int address = -1) const {
        int n = 0;
        for (const QByteArray& f : radio.frames()) {
            if (quint8(f[0]) != command) continue;
            if (address >= 0 && (f.size() < 4 || (quint8(f[2]) << 8 | quint8(f[3])) != address)) continue;
            ++n;
        }
        return n;
    }
    bool endedWithEndFrame() const {
        return !radio.frames().isEmpty() && Frame::toHex(radio.frames().last()) == QStringLiteral("64016F0A");
    }
};

inline QString point(const char* text) {
    return QString::fromLatin1(text).replace(QChar('.'), systemDecimalPoint());
}
