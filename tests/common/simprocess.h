// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "tests/common/runprocess.h"
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// kt520-sim as the user runs it, dumping its memory to `dump` after every end frame; killed
// when the test is done with it. Needs KT520_SIM_EXE.
class SimProcess {
public:
    SimProcess(const QString& dump, const QStringList& extra, int guardMs)
        : m_dump(dump), m_guardMs(guardMs) {
        QFile::remove(m_dump);
        startProgram(m_process, QStringLiteral(KT520_SIM_EXE),
                     QStringList{QStringLiteral("--dump"), m_dump} + extra);
        if (m_process.waitForReadyRead(guardMs))
            m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimProcess() {
        m_process.kill();
        m_process.waitForFinished(m_guardMs);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    QString device() const { return m_device; }
    QByteArray dump() const {
        QFile f(m_dump);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QProcess m_process;
    QString m_dump;
    QString m_device;
    int m_guardMs;
};
