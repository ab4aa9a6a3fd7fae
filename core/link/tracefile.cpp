// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/tracefile.h"
#include "core/link/link.h"
#include <QDateTime>

std::variant<std::unique_ptr<TraceFile>, FileFailure> TraceFile::open(const QString& path) {
    std::unique_ptr<TraceFile> trace(new TraceFile);
    if (auto failure = trace->m_file.open(path)) return *failure;
    return trace;
}

TraceFile::~TraceFile() {
    detach();
}

void TraceFile::attach(Link& link, const QString& portName) {
    detach();
    m_link = &link;
    const QString head =
        QStringLiteral("# %1 %2\n")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), portName);
    m_file.append(head.toUtf8());
    link.setTraceHook([this](const TraceEvent& event) { m_file.append(formatTrace(event).toUtf8() + '\n'); });
}

void TraceFile::detach() {
    if (m_link) {
        m_link->setTraceHook({});
        m_link = nullptr;
    }
}
