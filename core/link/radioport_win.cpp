// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <windows.h>
// After windows.h, which it needs.
#include <timeapi.h>

#include <setupapi.h>
// In this order, after windows.h: initguid.h makes devguid.h define the class of ports here
// rather than leave it to a library.
#include <initguid.h>

#include <devguid.h>

// Includes windows.h, which comes after Qt's headers.
#include "core/link/ftdiregistry_win.h"

namespace {
// How often the line is looked at while the port is open. A read returns at once with what has
// arrived, so a reply waits at most this long before the link sees it: about one byte's time at
// 9600 baud.
constexpr int PollMs = 1;
// A frame of the radio is at most a few hundred bytes: about 1.04 ms a byte at 9600 baud, with
// room for a slow cable driver.
constexpr DWORD WriteMsPerByte = 3;
constexpr DWORD WriteMs = 1000;
constexpr DWORD ChunkBytes = 4096;

// "COM12" → "\\.\COM12": only the long form reaches ports above COM9.
std::wstring systemPath(const QString& device) {
    const QString prefix = QStringLiteral("\\\\.\\");
    return (device.startsWith(prefix) ? device : prefix + device).toStdWString();
}

// "\\.\COM12" → "COM12": the name the system's lists give the port.
QString shortName(const QString& device) {
    const QString prefix = QStringLiteral("\\\\.\\");
    return (device.startsWith(prefix) ? device.mid(prefix.size()) : device).toUpper();
}

HANDLE openDevice(const QString& device) {
    return CreateFileW(systemPath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

PortDirectory::State stateOfOpenError(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return PortDirectory::State::Missing;
    case ERROR_ACCESS_DENIED: // Windows' answer for a port another program holds
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return PortDirectory::State::InUse;
    default:
        return PortDirectory::State::NotSerial;
    }
}

// A text property of a device; of a list of texts (the hardware ids) the first.
QString deviceText(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[512] = {};
    DWORD type = 0;
    // Two characters short of the buffer: what the system writes always ends in a zero.
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<PBYTE>(text),
                                           DWORD(sizeof text - 2 * sizeof(wchar_t)), nullptr))
        return {};
    return type == REG_SZ || type == REG_MULTI_SZ ? QString::fromWCharArray(text) : QString();
}

// The port name the device goes by ("COM3"), from its registry key.
QString portName(HDEVINFO set, SP_DEVINFO_DATA& device) {
    const HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t name[64] = {};
    DWORD type = 0;
    DWORD size = DWORD(sizeof name - sizeof(wchar_t));
    const LONG status =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<LPBYTE>(name), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? QString::fromWCharArray(name).toUpper() : QString();
}

// The FTDI driver's timer for the port, read as any user may; changing it is the user's own
// step in Device Manager.
AdapterLatency adapterLatencyOf(const QString& device) {
    AdapterLatency latency;
    latency.timerMs = ftdiLatencyTimer(HKEY_LOCAL_MACHINE, FtdiBusKey, shortName(device).toStdWString());
    if (latency.timerMs) latency.note = QStringLiteral("adapter latency timer %1 ms").arg(*latency.timerMs);
    return latency;
}

QString openErrorText(DWORD code) {
    switch (stateOfOpenError(code)) {
    case PortDirectory::State::Missing:
        return QStringLiteral("No such port");
    case PortDirectory::State::InUse:
        return QStringLiteral("Access denied: the port is in use by another program");
    default:
        return qt_error_string(int(code));
    }
}
} // namespace

// The Win32 comm device. Reads return at once with what the driver holds; a timer looks every
// millisecond while the port is open and wakes the link's waits when bytes came. (Overlapped
// reads that wait for the first byte are not dependable on every driver, nor under Wine.) A
// write returns when the driver has taken the frame.
//
// Windows serves timers and timed waits on its clock tick, 15.6 ms unless a program asks for
// a finer one: the poll, the link's waits and the message loop's own waits would each round up
// to that, several seconds over a read of some 600 exchanges. While the port is open the
// program asks for 1 ms, and gives it back on close (the system keeps the finest that any
// program asked for).
class WinLine final : public SerialRadioPort::Line {
public:
    WinLine(SerialRadioPort& owner, const QString& device) : m_owner(owner), m_device(device) {
        m_poll.setTimerType(Qt::PreciseTimer);
        m_poll.setInterval(PollMs);
        QObject::connect(&m_poll, &QTimer::timeout, &owner, [this] {
            const qsizetype before = m_received.size();
            take();
            if (m_received.size() > before) emit m_owner.readyRead();
        });
    }
    ~WinLine() override { close(); }

    bool open() override {
        if (isOpen()) return true;
        m_error.clear();
        const HANDLE handle = openDevice(m_device);
        if (handle == INVALID_HANDLE_VALUE) {
            m_error = openErrorText(GetLastError());
            return false;
        }
        if (!settle(handle)) {
            m_error = QStringLiteral("Not a serial port (%1)").arg(qt_error_string(int(GetLastError())));
            CloseHandle(handle);
            return false;
        }
        m_handle = handle;
        m_received.clear();
        m_fineClock = timeBeginPeriod(1) == TIMERR_NOERROR;
        m_poll.start();
        m_latency = adapterLatencyOf(m_device);
        return true;
    }

    void close() override {
        if (!isOpen()) return;
        m_poll.stop();
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        if (std::exchange(m_fineClock, false)) timeEndPeriod(1);
    }

    bool isOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }

    bool write(const QByteArray& bytes) override {
        if (!isOpen()) return false;
        DWORD sent = 0;
        if (!WriteFile(m_handle, bytes.constData(), DWORD(bytes.size()), &sent, nullptr)) {
            fail(GetLastError());
            return false;
        }
        if (sent != DWORD(bytes.size())) {
            fail(ERROR_WRITE_FAULT); // the write timed out: the line is stuck
            return false;
        }
        return true;
    }

    QByteArray readAll() override {
        take();
        return std::exchange(m_received, QByteArray());
    }

    QString errorString() const override { return m_error; }
    // Windows has none; a Wine COM port mapped to one is timed as a cable.
    bool pseudoTerminal() const override { return false; }
    AdapterLatency adapterLatency() const override { return m_latency; }

private:
    static bool settle(HANDLE handle) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb)) return false;
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        // No flow control; otherwise the modem lines stay as the driver has them.
        if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE) dcb.fDtrControl = DTR_CONTROL_ENABLE;
        if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_TOGGLE)
            dcb.fRtsControl = RTS_CONTROL_ENABLE;
        if (!SetCommState(handle, &dcb)) return false;
        // A read returns at once with what has arrived, none at all included.
        COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, WriteMsPerByte, WriteMs};
        if (!SetCommTimeouts(handle, &timeouts)) return false;
        PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        return true;
    }

    // Takes what the driver holds.
    void take() {
        while (isOpen()) {
            DWORD got = 0;
            if (!ReadFile(m_handle, m_chunk, ChunkBytes, &got, nullptr)) return fail(GetLastError());
            m_received.append(m_chunk, qsizetype(got));
            if (got < ChunkBytes) return;
        }
    }

    // The line broke (cable pulled, adapter gone): close, and say so once.
    void fail(DWORD code) {
        if (!isOpen()) return;
        m_error = qt_error_string(int(code));
        close();
        emit m_owner.failed(m_error);
    }

    SerialRadioPort& m_owner;
    QString m_device;
    QString m_error;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_fineClock = false; // 1 ms asked for, to be given back
    QTimer m_poll;
    AdapterLatency m_latency;
    char m_chunk[ChunkBytes];
    QByteArray m_received;
};

std::unique_ptr<SerialRadioPort::Line> SerialRadioPort::makeLine(SerialRadioPort& owner,
                                                                 const QString& device) {
    return std::make_unique<WinLine>(owner, device);
}

PortDirectory::State PortDirectory::deviceState(const QString& device) {
    const HANDLE handle = openDevice(device);
    if (handle == INVALID_HANDLE_VALUE) return stateOfOpenError(GetLastError());
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    const bool serial = GetCommState(handle, &dcb);
    CloseHandle(handle);
    return serial ? State::Free : State::NotSerial;
}

QStringList PortDirectory::systemDevices() {
    // The serial ports the system has made, from its device names ("COM3" …). A port that a
    // Wine prefix maps to a Linux device may be missing here; COMn is still tried by name.
    QStringList devices;
    std::vector<wchar_t> names(1 << 16);
    const DWORD length = QueryDosDeviceW(nullptr, names.data(), DWORD(names.size()));
    static const QRegularExpression comName(QStringLiteral("^COM[1-9][0-9]*$"));
    for (DWORD i = 0; i < length && names[i] != 0;) {
        const QString name = QString::fromWCharArray(&names[i]);
        if (comName.match(name.toUpper()).hasMatch()) devices << name.toUpper();
        i += DWORD(name.size()) + 1;
    }
    std::sort(devices.begin(), devices.end(), naturalLess);
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

QList<PortAdapter> PortDirectory::systemAdapters(const QStringList& devices) {
    QHash<QString, PortAdapter> byName;
    const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set != INVALID_HANDLE_VALUE) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
            const QString name = portName(set, device);
            if (name.isEmpty()) continue;
            byName.insert(name, PortAdapter{deviceText(set, device, SPDRP_FRIENDLYNAME),
                                            deviceText(set, device, SPDRP_MFG),
                                            deviceText(set, device, SPDRP_HARDWAREID)});
        }
        SetupDiDestroyDeviceInfoList(set);
    }
    QList<PortAdapter> found;
    for (const QString& device : devices)
        found << byName.value(shortName(device));
    return found;
}

QString PortDirectory::systemDevice(int com, const QStringList& devices) {
    (void)devices;
    return QStringLiteral("COM%1").arg(com);
}

bool PortDirectory::probeDevice(const QString& device) {
    const HANDLE handle = openDevice(device);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

QString PortDirectory::exampleDevice() {
    return QStringLiteral("COM17");
}
