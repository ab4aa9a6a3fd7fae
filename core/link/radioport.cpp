// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include "core/base/settingsfile.h"
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>
#include <unistd.h>

SerialRadioPort::SerialRadioPort(const QString& device, QObject* parent)
    : RadioPort(parent), m_device(device), m_port(new QSerialPort(this)) {
    // A name beginning with "/" is taken by the serial-port layer as the device path itself.
    m_port->setPortName(device);
    m_pseudoTerminal = QFileInfo(device).canonicalFilePath().startsWith(QLatin1String("/dev/pts/"));
    connect(m_port, &QSerialPort::readyRead, this, &RadioPort::readyRead);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onError(e); });
}

SerialRadioPort::~SerialRadioPort() {
    m_port->close();
}

bool SerialRadioPort::open() {
    if (m_port->isOpen()) return true;
    m_error.clear();
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_error = m_port->errorString();
        return false;
    }
    const bool settled =
        m_port->setBaudRate(QSerialPort::Baud9600) && m_port->setDataBits(QSerialPort::Data8) &&
        m_port->setParity(QSerialPort::NoParity) && m_port->setStopBits(QSerialPort::OneStop) &&
        m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!settled) {
        m_error = m_port->errorString();
        m_port->close();
        return false;
    }
    return true;
}

void SerialRadioPort::close() {
    if (m_port->isOpen()) m_port->close();
}

bool SerialRadioPort::isOpen() const {
    return m_port->isOpen();
}

bool SerialRadioPort::write(const QByteArray& bytes) {
    if (!m_port->isOpen()) return false;
    if (m_port->write(bytes) != bytes.size()) return false;
    // Push the frame out now rather than on the next event-loop pass.
    m_port->flush();
    return true;
}

qint64 SerialRadioPort::lineNanos(int bytes) const {
    constexpr qint64 BitsPerByte = 10; // start, 8 data, stop
    constexpr qint64 Baud = 9600;
    return m_pseudoTerminal ? 0 : bytes * BitsPerByte * 1'000'000'000 / Baud;
}

QByteArray SerialRadioPort::readAll() {
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

QString SerialRadioPort::errorString() const {
    return m_error;
}

void SerialRadioPort::onError(int error) {
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        // A vanished device (or a pseudo-terminal whose other end closed) keeps raising the
        // error many thousand times a second until the port is closed.
        if (!m_port->isOpen()) return;
        m_error = m_port->errorString();
        m_port->close();
        emit failed(m_error);
        return;
    default:
        return; // open errors are reported by open(); nothing else can happen here
    }
}

namespace {
struct Override {
    QString device;
    QString label;
    PortDirectory::Factory factory;
};

QHash<int, Override>& overrides() {
    static QHash<int, Override> table;
    return table;
}

const QString PortsSection = QStringLiteral("ports");
} // namespace

bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ie = i, je = j;
            while (ie < a.size() && a[ie].isDigit())
                ++ie;
            while (je < b.size() && b[je].isDigit())
                ++je;
            // Compare digit runs by value without converting: strip leading zeros, then length, then text.
            QStringView da = QStringView(a).mid(i, ie - i), db = QStringView(b).mid(j, je - j);
            while (da.size() > 1 && da.front() == u'0')
                da = da.mid(1);
            while (db.size() > 1 && db.front() == u'0')
                db = db.mid(1);
            if (da.size() != db.size()) return da.size() < db.size();
            if (const int c = da.compare(db); c != 0) return c < 0;
            i = ie;
            j = je;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
    return a < b;
}

PortDirectory::PortDirectory(const QString& settingsFile) : m_system(systemDevices()) {
    if (settingsFile.isEmpty()) return;
    const IniFile ini = IniFile::load(settingsFile);
    for (int n = FirstCom; n <= LastCom; ++n) {
        const QString key = QStringLiteral("com%1").arg(n);
        const QString value = ini.text(PortsSection, key).trimmed();
        if (!value.isEmpty()) m_configured.insert(n, value);
    }
}

QString PortDirectory::device(int com) const {
    if (com < FirstCom || com > LastCom) return {};
    if (const auto it = overrides().constFind(com); it != overrides().constEnd())
        return it->factory ? it->label : it->device;
    if (const auto it = m_configured.constFind(com); it != m_configured.constEnd()) return *it;
    return com <= m_system.size() ? m_system.at(com - 1) : QString();
}

std::unique_ptr<RadioPort> PortDirectory::create(int com) const {
    if (const auto it = overrides().constFind(com); it != overrides().constEnd() && it->factory)
        return it->factory();
    const QString dev = device(com);
    if (dev.isEmpty()) return nullptr;
    return std::make_unique<SerialRadioPort>(dev);
}

bool PortDirectory::probe(int com) const {
    if (const auto it = overrides().constFind(com); it != overrides().constEnd() && it->factory)
        return true; // an in-process stand-in is always there
    const QString dev = device(com);
    return !dev.isEmpty() && probeDevice(dev);
}

PortDirectory::State PortDirectory::state(int com) const {
    if (const auto it = overrides().constFind(com); it != overrides().constEnd() && it->factory)
        return State::Free;
    const QString dev = device(com);
    return dev.isEmpty() ? State::Missing : deviceState(dev);
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

bool PortDirectory::probeDevice(const QString& device) {
    QSerialPort port;
    port.setPortName(device);
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

void PortDirectory::overrideDevice(int com, const QString& device) {
    if (device.isEmpty())
        overrides().remove(com);
    else
        overrides().insert(com, Override{device, device, {}});
}

void PortDirectory::overrideFactory(int com, const QString& label, Factory factory) {
    if (!factory)
        overrides().remove(com);
    else
        overrides().insert(com, Override{{}, label, std::move(factory)});
}

void PortDirectory::clearOverrides() {
    overrides().clear();
}

bool PortDirectory::isOverridden(int com) {
    return overrides().contains(com);
}
