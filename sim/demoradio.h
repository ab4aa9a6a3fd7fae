// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "sim/virtualradio.h"
#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <variant>

// The radio of the program's demo mode: the virtual radio preloaded with a sample codeplug,
// mapped to one COM number for this run only (nothing is written to sysini.ini). A newcomer can
// read, edit and write at once. On Linux it is served on a pseudo-terminal of this process, so
// that the program opens it as it opens a cable; Windows has no pseudo-terminals, and the COM
// number leads to the virtual radio in-process.
class DemoRadio {
public:
    // Serves the sample radio and maps COM `com` to it; the reason when it cannot be served.
    // The mapping lasts as long as the returned object.
    static std::variant<std::unique_ptr<DemoRadio>, QString> start(int com);
    ~DemoRadio();

    int com() const { return m_com; }
    // The device the COM number leads to ("virtual radio" in-process).
    QString devicePath() const { return m_device; }
    VirtualRadio& radio() { return m_radio; }

private:
    explicit DemoRadio(int com);
    int m_com;
    VirtualRadio m_radio;
    std::unique_ptr<QObject> m_server; // the pseudo-terminal's server, where there is one
    QString m_device;
};

// A factory-fresh radio carrying the sample codeplug: channels with names and tones on both
// sides, a few FM presets, a call list and both stamps. Made with the memory map's encoders, so
// it is exactly what a write of the sample document leaves in a radio.
QByteArray demoRadioImage();
