// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include "sim/demoradio.h"
#include "sim/simwire.h"

std::variant<std::unique_ptr<DemoRadio>, QString> DemoRadio::start(int com) {
    std::unique_ptr<DemoRadio> demo(new DemoRadio(com));
    demo->m_radio.setMemory(demoRadioImage());
    demo->m_device = QStringLiteral("virtual radio");
    VirtualRadio* radio = &demo->m_radio;
    PortDirectory::overrideFactory(com, demo->m_device,
                                   [radio] { return std::make_unique<SimPort>(*radio); });
    return demo;
}
