// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
#include <QByteArray>
#include <QString>
#include <memory>
#include <variant>

// The radio of the program's demo mode: the virtual radio preloaded with a sample codeplug,
// served on a pseudo-terminal of this process and mapped to one COM number for this run only
// (nothing is written to sysini.ini). A newcomer can read, edit and write at once.
class DemoRadio {
public:
    // Serves the sample radio and maps COM `com` to it; the reason when no pseudo-terminal can be
    // had. The mapping lasts as long as the returned object.
    static std::variant<std::unique_ptr<DemoRadio>, QString> start(int com);
    ~DemoRadio();

    int com() const { return m_com; }
    QString devicePath() const { return m_server.devicePath(); }
    VirtualRadio& radio() { return m_radio; }

private:
    explicit DemoRadio(int com);
    int m_com;
    VirtualRadio m_radio;
    PtyServer m_server;
};

// A factory-fresh radio carrying the sample codeplug: channels with names and tones on both
// sides, a few FM presets, a call list and both stamps. Made with the memory map's encoders, so
// it is exactly what a write of the sample document leaves in a radio.
QByteArray demoRadioImage();
