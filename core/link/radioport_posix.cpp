// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/lowlatency.h"
#include "core/link/radioport.h"
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace {
// The adapter's latency timer as its driver shows it (ftdi_sio); none for other devices.
std::optional<int> sysfsLatencyTimer(const QString& device) {
    const QString tty = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (tty.isEmpty()) return std::nullopt;
    QFile file(QStringLiteral("/sys/bus/usb-serial/devices/%1/latency_timer").arg(tty));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    bool ok = false;
    const int ms = file.readLine(16).trimmed().toInt(&ok);
    return ok ? std::optional<int>(ms) : std::nullopt;
}

// Asks the driver for low latency on the open device `fd`; what it answered.
LowLatency::Decision askLowLatency(int fd, const QString& device) {
    LowLatency::Answers answers;
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) != 0)
        answers.getError = errno;
    else
        answers.flagWasSet = (info.flags & ASYNC_LOW_LATENCY) != 0;
    if (LowLatency::shouldAsk(answers.getError, answers.flagWasSet)) {
        info.flags |= ASYNC_LOW_LATENCY;
        if (::ioctl(fd, TIOCSSERIAL, &info) != 0) answers.setError = errno;
    }
    answers.timerMs = sysfsLatencyTimer(device);
    return LowLatency::decide(answers);
}

// The flag as it was before the port opened.
void clearLowLatency(int fd) {
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) != 0) return;
    info.flags &= ~ASYNC_LOW_LATENCY;
    (void)::ioctl(fd, TIOCSSERIAL, &info);
}
} // namespace

// The line through the serial-port layer, which takes the device's lock and exclusive use.
class PosixLine final : public SerialRadioPort::Line {
public:
    PosixLine(SerialRadioPort& owner, const QString& device) : m_owner(owner), m_device(device) {
        // A name beginning with "/" is taken by the serial-port layer as the device path itself.
        m_port.setPortName(device);
        m_pseudoTerminal = QFileInfo(device).canonicalFilePath().startsWith(QLatin1String("/dev/pts/"));
        QObject::connect(&m_port, &QSerialPort::readyRead, &owner, &RadioPort::readyRead);
        QObject::connect(&m_port, &QSerialPort::errorOccurred, &owner,
                         [this](QSerialPort::SerialPortError e) { onError(e); });
    }

    bool open() override {
        if (m_port.isOpen()) return true;
        m_error.clear();
        if (!m_port.open(QIODevice::ReadWrite)) {
            m_error = m_port.errorString();
            return false;
        }
        const bool settled =
            m_port.setBaudRate(QSerialPort::Baud9600) && m_port.setDataBits(QSerialPort::Data8) &&
            m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
            m_port.setFlowControl(QSerialPort::NoFlowControl);
        if (!settled) {
            m_error = m_port.errorString();
            m_port.close();
            return false;
        }
        const LowLatency::Decision decision = askLowLatency(int(m_port.handle()), m_device);
        m_restoreLowLatency = decision.restore;
        m_latency = decision.latency;
        return true;
    }

    void close() override {
        if (!m_port.isOpen()) return;
        if (std::exchange(m_restoreLowLatency, false)) clearLowLatency(int(m_port.handle()));
        m_port.close();
    }
    bool isOpen() const override { return m_port.isOpen(); }

    bool write(const QByteArray& bytes) override {
        if (!m_port.isOpen()) return false;
        if (m_port.write(bytes) != bytes.size()) return false;
        // Push the frame out now rather than on the next event-loop pass.
        m_port.flush();
        return true;
    }

    QByteArray readAll() override { return m_port.isOpen() ? m_port.readAll() : QByteArray(); }
    QString errorString() const override { return m_error; }
    bool pseudoTerminal() const override { return m_pseudoTerminal; }
    AdapterLatency adapterLatency() const override { return m_latency; }

private:
    void onError(QSerialPort::SerialPortError error) {
        switch (error) {
        case QSerialPort::ReadError:
        case QSerialPort::WriteError:
        case QSerialPort::ResourceError:
            // A vanished device (or a pseudo-terminal whose other end closed) keeps raising the
            // error many thousand times a second until the port is closed.
            if (!m_port.isOpen()) return;
            m_error = m_port.errorString();
            close();
            emit m_owner.failed(m_error);
            return;
        default:
            return; // open errors are reported by open(); nothing else can happen here
        }
    }

    SerialRadioPort& m_owner;
    QString m_device;
    QSerialPort m_port;
    QString m_error;
    bool m_pseudoTerminal = false;
    bool m_restoreLowLatency = false;
    AdapterLatency m_latency;
};

std::unique_ptr<SerialRadioPort::Line> SerialRadioPort::makeLine(SerialRadioPort& owner,
                                                                 const QString& device) {
    return std::make_unique<PosixLine>(owner, device);
}

PortDirectory::State PortDirectory::deviceState(const QString& device) {
    // The serial-port layer reports a lock held by another program and a device the user may
    // not open as the same error; the file's permissions tell them apart.
    const QByteArray path = QFile::encodeName(device);
    if (::access(path.constData(), F_OK) != 0) return State::Missing;
    if (::access(path.constData(), R_OK | W_OK) != 0) return State::NoPermission;
    QSerialPort port;
    port.setPortName(device);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return State::Free;
    }
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return State::Missing;
    case QSerialPort::PermissionError:
        return State::InUse;
    default:
        return State::NotSerial;
    }
}

QStringList PortDirectory::systemDevices() {
    QStringList devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        devices.append(info.systemLocation());
    std::sort(devices.begin(), devices.end(), naturalLess);
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

QList<PortAdapter> PortDirectory::systemAdapters(const QStringList& devices) {
    // Compared as the files they resolve to: a COM number may name a link to the device.
    QHash<QString, PortAdapter> byPath;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        PortAdapter adapter{info.description(), info.manufacturer(), {}};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            adapter.hardwareId = QStringLiteral("%1:%2")
                                     .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                                     .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        const QString path = QFileInfo(info.systemLocation()).canonicalFilePath();
        if (!path.isEmpty()) byPath.insert(path, adapter);
    }
    QList<PortAdapter> found;
    for (const QString& device : devices) {
        const QString path = device.isEmpty() ? QString() : QFileInfo(device).canonicalFilePath();
        found << (path.isEmpty() ? PortAdapter{} : byPath.value(path));
    }
    return found;
}

bool PortDirectory::probeDevice(const QString& device) {
    QSerialPort port;
    port.setPortName(device);
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

QString PortDirectory::systemDevice(int com, const QStringList& devices) {
    return com >= 1 && com <= devices.size() ? devices.at(com - 1) : QString();
}

QString PortDirectory::exampleDevice() {
    return QStringLiteral("/dev/ttyUSB0");
}
