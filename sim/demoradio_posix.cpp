// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include "sim/demoradio.h"
#include "sim/ptyserver.h"

std::variant<std::unique_ptr<DemoRadio>, QString> DemoRadio::start(int com) {
    std::unique_ptr<DemoRadio> demo(new DemoRadio(com));
    demo->m_radio.setMemory(demoRadioImage());
    auto server = std::make_unique<PtyServer>(demo->m_radio);
    if (auto error = server->start()) return *error;
    demo->m_device = server->devicePath();
    demo->m_server = std::move(server);
    PortDirectory::overrideDevice(com, demo->m_device);
    return demo;
}
