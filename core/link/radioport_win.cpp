// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include <QRegularExpression>
#include <QTimer>
#include <QWinEventNotifier>
#include <algorithm>
#include <windows.h>

namespace {
// A read waits up to this long for its first byte, then is asked again: the link's own waits
// decide how long the radio may take, the port only hands on what arrives.
constexpr DWORD ReadWaitMs = 500;
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

HANDLE openDevice(const QString& device) {
    return CreateFileW(systemPath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED, nullptr);
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

// The Win32 comm device, overlapped: a read is always waiting on the line, and the event it
// signals wakes the event loop (and so the link's waits) as soon as bytes arrive. A write goes
// out while the program waits for the answer; the next write or the close waits for it to end.
class SerialRadioPort::Line {
public:
    Line(SerialRadioPort& owner, const QString& device) : m_owner(owner), m_device(device) {}
    ~Line() { close(); }

    bool open() {
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
        m_readOv = {};
        m_writeOv = {};
        m_readOv.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_writeOv.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_notifier = std::make_unique<QWinEventNotifier>(m_readOv.hEvent);
        QObject::connect(m_notifier.get(), &QWinEventNotifier::activated, &m_owner,
                         [this] { onSignalled(); });
        m_received.clear();
        startRead();
        return isOpen();
    }

    void close() {
        if (!isOpen()) return;
        // Closing may come from the notifier's own signal (a broken line): it goes later.
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
        CancelIoEx(m_handle, nullptr);
        DWORD done = 0;
        if (m_reading) GetOverlappedResult(m_handle, &m_readOv, &done, TRUE);
        if (m_writing) GetOverlappedResult(m_handle, &m_writeOv, &done, TRUE);
        m_reading = m_writing = false;
        CloseHandle(m_handle);
        CloseHandle(m_readOv.hEvent);
        CloseHandle(m_writeOv.hEvent);
        m_handle = INVALID_HANDLE_VALUE;
    }

    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    bool write(const QByteArray& bytes) {
        if (!isOpen() || !finishWrite()) return false;
        m_writeBuffer = bytes;
        if (WriteFile(m_handle, m_writeBuffer.constData(), DWORD(m_writeBuffer.size()), nullptr,
                      &m_writeOv)) {
            m_writing = true; // done already; finishWrite() checks the count
            return finishWrite();
        }
        if (GetLastError() != ERROR_IO_PENDING) {
            fail(GetLastError());
            return false;
        }
        m_writing = true;
        return true;
    }

    QByteArray readAll() {
        harvest();
        return std::exchange(m_received, QByteArray());
    }

    QString errorString() const { return m_error; }

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
        // A read returns as soon as any byte is there, or after ReadWaitMs with none.
        COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, ReadWaitMs, WriteMsPerByte, WriteMs};
        if (!SetCommTimeouts(handle, &timeouts)) return false;
        PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        return true;
    }

    // Keeps one read waiting on the line, taking those that finish at once.
    void startRead() {
        while (isOpen() && !m_reading) {
            if (!ReadFile(m_handle, m_chunk, ChunkBytes, nullptr, &m_readOv)) {
                if (GetLastError() != ERROR_IO_PENDING) return fail(GetLastError());
                m_reading = true;
                return;
            }
            DWORD got = 0;
            if (!GetOverlappedResult(m_handle, &m_readOv, &got, FALSE)) return fail(GetLastError());
            m_received.append(m_chunk, qsizetype(got));
            if (got == 0) {
                // A driver that does not wait for the first byte: look again shortly.
                QTimer::singleShot(1, &m_owner, [this] { startRead(); });
                return;
            }
        }
    }

    // Takes the waiting read's bytes when it has finished, and sets the next one going.
    void harvest() {
        if (!isOpen() || !m_reading) return;
        DWORD got = 0;
        if (!GetOverlappedResult(m_handle, &m_readOv, &got, FALSE)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE) return;
            m_reading = false;
            return fail(GetLastError());
        }
        m_reading = false;
        m_received.append(m_chunk, qsizetype(got));
        startRead();
    }

    void onSignalled() {
        const qsizetype before = m_received.size();
        harvest();
        if (m_received.size() > before) emit m_owner.readyRead();
    }

    bool finishWrite() {
        if (!m_writing) return true;
        m_writing = false;
        DWORD sent = 0;
        if (!GetOverlappedResult(m_handle, &m_writeOv, &sent, TRUE)) {
            fail(GetLastError());
            return false;
        }
        if (sent != DWORD(m_writeBuffer.size())) {
            fail(ERROR_WRITE_FAULT);
            return false;
        }
        return true;
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
    OVERLAPPED m_readOv{};
    OVERLAPPED m_writeOv{};
    bool m_reading = false;
    bool m_writing = false;
    char m_chunk[ChunkBytes];
    QByteArray m_received;
    QByteArray m_writeBuffer;
    std::unique_ptr<QWinEventNotifier> m_notifier;
};

SerialRadioPort::SerialRadioPort(const QString& device, QObject* parent)
    : RadioPort(parent), m_device(device), m_line(std::make_unique<Line>(*this, device)) {}

SerialRadioPort::~SerialRadioPort() {
    m_line->close();
}

bool SerialRadioPort::open() {
    return m_line->open();
}

void SerialRadioPort::close() {
    m_line->close();
}

bool SerialRadioPort::isOpen() const {
    return m_line->isOpen();
}

bool SerialRadioPort::write(const QByteArray& bytes) {
    return m_line->write(bytes);
}

qint64 SerialRadioPort::lineNanos(int bytes) const {
    constexpr qint64 BitsPerByte = 10; // start, 8 data, stop
    constexpr qint64 Baud = 9600;
    return bytes * BitsPerByte * 1'000'000'000 / Baud;
}

QByteArray SerialRadioPort::readAll() {
    return m_line->readAll();
}

QString SerialRadioPort::errorString() const {
    return m_line->errorString();
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
