#include "core/link/tracefile.h"
#include "core/link/link.h"
#include <QDateTime>

std::variant<std::unique_ptr<TraceFile>, QString> TraceFile::open(const QString& path) {
    std::unique_ptr<TraceFile> trace(new TraceFile(path));
    if (!trace->m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return trace->m_file.errorString();
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
    m_file.write(head.toUtf8());
    link.setTraceHook([this](const TraceEvent& event) {
        m_file.write(formatTrace(event).toUtf8());
        m_file.write("\n");
    });
}

void TraceFile::detach() {
    if (m_link) {
        m_link->setTraceHook({});
        m_link = nullptr;
    }
    m_file.flush();
}
