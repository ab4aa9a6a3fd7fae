// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include <QEventLoop>
#include <QHash>
#include <QPointer>
#include <emscripten.h>

// The browser's serial port. The page's script (packaging/web/kt520-web.js, globalThis.kt520Web)
// holds the Web Serial port or the WebSocket and buffers what arrives; the calls below are thin.
// Device names: "webserial:N" is the N-th port this page was granted, "webserial:new" asks the
// browser's own chooser for one, and a ws:// or wss:// address carries the same bytes over a
// WebSocket (the page option ?radio=ws://HOST:PORT).

// clang-format off
EM_JS(void, kt520_js_open, (int id, const char* device), {
    const web = globalThis.kt520Web;
    web.open(id, UTF8ToString(device)).then((opened) => web.notify(id, opened ? 2 : 3));
});
EM_JS(void, kt520_js_close, (int id), { globalThis.kt520Web.close(id); });
EM_JS(int, kt520_js_write, (int id, const char* data, int size), {
    return globalThis.kt520Web.write(id, HEAPU8.slice(data, data + size)) ? 1 : 0;
});
EM_JS(int, kt520_js_available, (int id), { return globalThis.kt520Web.available(id); });
EM_JS(int, kt520_js_take, (int id, char* buffer, int size), {
    const bytes = globalThis.kt520Web.take(id, size);
    HEAPU8.set(bytes, buffer);
    return bytes.length;
});
EM_JS(void, kt520_js_error, (int id, char* buffer, int size), {
    stringToUTF8(globalThis.kt520Web.error(id), buffer, size);
});
EM_JS(void, kt520_js_attach, (), {
    // Arriving bytes and a broken line are told to the program through kt520_port_event.
    globalThis.kt520Web.notify = (id, kind) => _kt520_port_event(id, kind);
});
EM_JS(int, kt520_js_device_count, (), { return globalThis.kt520Web.grantedPorts().length; });
EM_JS(void, kt520_js_device_id, (int index, char* buffer, int size), {
    stringToUTF8(globalThis.kt520Web.grantedPorts()[index] || "", buffer, size);
});
EM_JS(void, kt520_js_radio_address, (char* buffer, int size), {
    stringToUTF8(globalThis.kt520Web.radioAddress(), buffer, size);
});
EM_JS(int, kt520_js_has_serial, (), { return globalThis.kt520Web.hasSerial() ? 1 : 0; });
// clang-format on

namespace {
constexpr int TextSize = 512;

QString jsText(void (*read)(char*, int)) {
    QByteArray buffer(TextSize, '\0');
    read(buffer.data(), TextSize);
    return QString::fromUtf8(buffer.constData());
}

bool isWebSocket(const QString& device) {
    return device.startsWith(QLatin1String("ws://")) || device.startsWith(QLatin1String("wss://"));
}

class WasmLine;
QHash<int, WasmLine*>& lines() {
    static QHash<int, WasmLine*> table;
    return table;
}

class WasmLine final : public SerialRadioPort::Line {
public:
    WasmLine(SerialRadioPort& owner, const QString& device) : m_owner(&owner), m_device(device) {
        static int lastId = 0;
        static const bool attached = (kt520_js_attach(), true);
        (void)attached;
        m_id = ++lastId;
        lines().insert(m_id, this);
    }
    ~WasmLine() override {
        close();
        lines().remove(m_id);
    }

    bool open() override {
        if (m_open) return true;
        m_error.clear();
        // The browser asks for and opens the port in its own time; the program waits in an event
        // loop, as the link's own waits do, so that the page's one suspension is the loop's.
        QEventLoop loop;
        m_opening = &loop;
        m_opened = false;
        kt520_js_open(m_id, m_device.toUtf8().constData());
        loop.exec();
        m_opening = nullptr;
        if (!m_opened) {
            m_error = lastError();
            return false;
        }
        m_open = true;
        return true;
    }
    void close() override {
        if (!m_open) return;
        m_open = false;
        kt520_js_close(m_id);
    }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& bytes) override {
        return m_open && kt520_js_write(m_id, bytes.constData(), int(bytes.size())) != 0;
    }
    QByteArray readAll() override {
        if (!m_open) return {};
        QByteArray bytes(kt520_js_available(m_id), '\0');
        bytes.resize(kt520_js_take(m_id, bytes.data(), int(bytes.size())));
        return bytes;
    }
    QString errorString() const override { return m_error; }
    // Bytes through the WebSocket bridge come as the far end passes them, as through a
    // pseudo-terminal; Web Serial is a real line at 9600 baud.
    bool pseudoTerminal() const override { return isWebSocket(m_device); }
    AdapterLatency adapterLatency() const override { return {}; }

    // From the page's script, between the program's own steps: acted on from the event loop.
    void event(int kind) {
        if (kind >= 2) {
            m_opened = kind == 2;
            if (m_opening) m_opening->quit();
            return;
        }
        QPointer<SerialRadioPort> owner = m_owner;
        const int id = m_id;
        QMetaObject::invokeMethod(
            m_owner,
            [owner, id, kind] {
                WasmLine* line = lines().value(id);
                if (!owner || !line || !line->m_open) return;
                if (kind == 0) {
                    emit owner->readyRead();
                    return;
                }
                line->m_error = line->lastError();
                line->close();
                emit owner->failed(line->m_error);
            },
            Qt::QueuedConnection);
    }

private:
    QString lastError() const {
        QByteArray buffer(TextSize, '\0');
        kt520_js_error(m_id, buffer.data(), TextSize);
        return QString::fromUtf8(buffer.constData());
    }

    SerialRadioPort* m_owner;
    QString m_device;
    int m_id = 0;
    bool m_open = false;
    QEventLoop* m_opening = nullptr;
    bool m_opened = false;
    QString m_error;
};
} // namespace

// kind 0: bytes have arrived; 1: the line broke (unplugged, the bridge gone); 2: the port opened;
// 3: it could not be opened.
extern "C" EMSCRIPTEN_KEEPALIVE void kt520_port_event(int id, int kind) {
    if (WasmLine* line = lines().value(id)) line->event(kind);
}

std::unique_ptr<SerialRadioPort::Line> SerialRadioPort::makeLine(SerialRadioPort& owner,
                                                                 const QString& device) {
    return std::make_unique<WasmLine>(owner, device);
}

PortDirectory::State PortDirectory::deviceState(const QString& device) {
    if (isWebSocket(device)) return State::Free;
    if (!kt520_js_has_serial()) return State::Missing;
    if (device == QLatin1String("webserial:new")) return State::Free;
    return systemDevices().contains(device) ? State::Free : State::Missing;
}

QStringList PortDirectory::systemDevices() {
    // The page option names the one radio; otherwise the ports this page was granted, then a
    // place for one more that the browser's chooser gives.
    const QString radio = jsText(kt520_js_radio_address);
    if (!radio.isEmpty()) return {radio};
    QStringList devices;
    if (!kt520_js_has_serial()) return devices;
    const int count = kt520_js_device_count();
    for (int i = 0; i < count; ++i)
        devices << QStringLiteral("webserial:%1").arg(i + 1);
    devices << QStringLiteral("webserial:new");
    return devices;
}

QList<PortAdapter> PortDirectory::systemAdapters(const QStringList& devices) {
    // The browser tells the USB vendor and product of a granted port, nothing else.
    QList<PortAdapter> found;
    for (const QString& device : devices) {
        PortAdapter adapter;
        bool ok = false;
        const int index = device.startsWith(QLatin1String("webserial:")) ? device.mid(10).toInt(&ok) - 1 : -1;
        if (ok && index >= 0 && index < kt520_js_device_count()) {
            QByteArray buffer(TextSize, '\0');
            kt520_js_device_id(index, buffer.data(), TextSize);
            adapter.hardwareId = QString::fromUtf8(buffer.constData());
        }
        found << adapter;
    }
    return found;
}

bool PortDirectory::probeDevice(const QString& device) {
    return deviceState(device) == State::Free;
}

QString PortDirectory::systemDevice(int com, const QStringList& devices) {
    return com >= 1 && com <= devices.size() ? devices.at(com - 1) : QString();
}

QString PortDirectory::exampleDevice() {
    return QStringLiteral("ws://127.0.0.1:8765");
}
