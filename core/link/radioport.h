// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// What the system tells of the adapter's latency timer when the port opens: a USB serial chip
// with one (FTDI) holds short replies until it runs out.
struct AdapterLatency {
    std::optional<int> timerMs; // the timer in ms where the system keeps one
    QString note;               // for the trace: what was asked and answered; empty when nothing
};

// The byte pipe the link talks to: the programming cable on a serial device, or a stand-in
// (the virtual radio in-process). All calls are made on the one user-interface thread.
class RadioPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool open() = 0; // false with errorString() set when the port cannot be had
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Hands all bytes to the line in one operation; false when the port is closed or refuses.
    virtual bool write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;
    virtual QString errorString() const = 0;
    // Where the bytes go, for messages and the trace ("/dev/ttyUSB0", "virtual radio").
    virtual QString deviceName() const = 0;
    // How long `bytes` bytes take on the line to the radio: no answer to them can begin sooner.
    // 0 where there is no line to wait for.
    virtual qint64 lineNanos(int bytes) const {
        (void)bytes;
        return 0;
    }
    // Learnt at the last open; nothing where there is no adapter (a pseudo-terminal, a stand-in).
    virtual AdapterLatency adapterLatency() const { return {}; }

signals:
    void readyRead();
    // The line broke while open (cable pulled, device gone); the port has closed itself.
    void failed(const QString& message);
};

// A serial device at 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control. DTR and
// RTS are left as the driver sets them: the cable powers nothing from them and pseudo-terminals
// refuse the modem lines. The device is a path on Linux ("/dev/ttyUSB0"), a port name on
// Windows ("COM3"); each system has its own implementation of the line.
class SerialRadioPort : public RadioPort {
    Q_OBJECT
public:
    explicit SerialRadioPort(const QString& device, QObject* parent = nullptr);
    ~SerialRadioPort() override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    QString errorString() const override;
    QString deviceName() const override { return m_device; }
    // 10 bits a byte at 9600 baud; nothing on a pseudo-terminal, whose other end has the bytes
    // at once (the virtual radio).
    qint64 lineNanos(int bytes) const override;
    AdapterLatency adapterLatency() const override { return m_line->adapterLatency(); }

    // The system's own serial device under the port: radioport_posix.cpp, radioport_win.cpp.
    class Line {
    public:
        virtual ~Line() = default;
        virtual bool open() = 0;
        virtual void close() = 0;
        virtual bool isOpen() const = 0;
        virtual bool write(const QByteArray& bytes) = 0;
        virtual QByteArray readAll() = 0;
        virtual QString errorString() const = 0;
        // A pseudo-terminal passes bytes at once, whatever the baud rate.
        virtual bool pseudoTerminal() const = 0;
        virtual AdapterLatency adapterLatency() const = 0;
    };

private:
    // The line of this system, reporting through `owner`'s signals.
    static std::unique_ptr<Line> makeLine(SerialRadioPort& owner, const QString& device);

    QString m_device;
    std::unique_ptr<Line> m_line;
};

// What the system tells of the adapter under a serial device, so that the programming cable can
// be told from a modem or a Bluetooth port. Any field may be empty; a pseudo-terminal and the
// in-process stand-in have none.
struct PortAdapter {
    QString description;  // "USB-SERIAL CH340"; Windows' friendly name "USB-SERIAL CH340 (COM3)"
    QString manufacturer; // "wch.cn"
    QString hardwareId;   // "1a86:7523" on Linux, "USB\VID_1A86&PID_7523" on Windows

    // The known fields once each, short, for beside a COM number ("USB-SERIAL CH340, wch.cn,
    // 1a86:7523"); empty when nothing is known.
    QString text() const;
    bool operator==(const PortAdapter&) const = default;
};

// COM numbers 1-16 to devices. In order: an in-process override (the demo's virtual radio),
// key "comN" of section "ports" in sysini.ini, else the system's own: on Linux the n-th serial
// port it lists in natural name order (ttyS2 before ttyS10), on Windows COMn itself.
class PortDirectory {
public:
    static constexpr int FirstCom = 1;
    static constexpr int LastCom = 16;
    using Factory = std::function<std::unique_ptr<RadioPort>()>;

    // `settingsFile` is the path of sysini.ini; a missing file maps by the system list only.
    explicit PortDirectory(const QString& settingsFile = {});

    // The device of COM n; empty when there is none. A stand-in override gives its label.
    QString device(int com) const;
    // A port for COM n, not yet open; null when COM n names no device.
    std::unique_ptr<RadioPort> create(int com) const;
    // True when COM n can be opened exclusively right now; the port is closed again at once.
    bool probe(int com) const;
    // Why COM n can or cannot be opened right now, for listings.
    enum class State { Missing, InUse, NoPermission, NotSerial, Free };
    State state(int com) const;
    static State deviceState(const QString& device);
    // The adapter under each of COM 1-16 (COM1 first), from one look at the system's list.
    QList<PortAdapter> adapters() const;
    // True when key "comN" of section "ports" names the device.
    bool isConfigured(int com) const { return m_configured.contains(com); }

    // The system's serial devices in natural name order (full paths on Linux, "COMn" names on
    // Windows).
    static QStringList systemDevices();
    // The device the system itself gives COM n, from its list of devices; empty when none.
    static QString systemDevice(int com, const QStringList& devices);
    // A device name as the user would type one, for the empty field of a mapping
    // ("/dev/ttyUSB0"; "COM17" on Windows, where adapters often get numbers above 16).
    static QString exampleDevice();
    // What the system tells of the adapter under each of `devices`, in their order; a device is
    // found also through a link to it (/dev/serial/by-id/…).
    static QList<PortAdapter> systemAdapters(const QStringList& devices);
    // Opens `device` exclusively through the serial-port layer and closes it again.
    static bool probeDevice(const QString& device);

    // Process-wide overrides, meant for the demo mode and tests: COM n goes to `device` (with
    // `adapter` told of it), or to a port that `factory` makes (shown as `label`). An empty
    // device/factory removes it.
    static void overrideDevice(int com, const QString& device, const PortAdapter& adapter = {});
    static void overrideFactory(int com, const QString& label, Factory factory);
    static void clearOverrides();
    static bool isOverridden(int com);

private:
    QHash<int, QString> m_configured; // "comN" keys of section "ports"
    QStringList m_system;
};

// Natural order of device names: digit runs compare by value.
bool naturalLess(const QString& a, const QString& b);
