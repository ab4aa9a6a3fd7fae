// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/radioport.h"
#include "core/base/settingsfile.h"
#include "core/link/replytiming.h"
#include <QRegularExpression>
#include <array>

SerialRadioPort::SerialRadioPort(const QString& device, QObject* parent)
    : RadioPort(parent), m_device(device), m_line(makeLine(*this, device)) {}

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
    return m_line->pseudoTerminal() ? 0 : ReplyTiming::lineNanos(bytes);
}

QByteArray SerialRadioPort::readAll() {
    return m_line->readAll();
}

QString SerialRadioPort::errorString() const {
    return m_line->errorString();
}

namespace {
struct Override {
    QString device;
    QString label;
    PortDirectory::Factory factory;
    PortAdapter adapter;
};

QHash<int, Override>& overrides() {
    static QHash<int, Override> table;
    return table;
}

const QString PortsSection = QStringLiteral("ports");

// The longest a field is shown beside a COM number; a longer one ends in "…".
constexpr qsizetype DescriptionChars = 40;
constexpr qsizetype OtherChars = 24;

QString shortened(const QString& text, qsizetype chars) {
    return text.size() <= chars ? text : text.left(chars - 1).trimmed() + QChar(0x2026);
}
} // namespace

QString PortAdapter::text() const {
    // Windows names the port inside its friendly name; the COM number is beside it already.
    static const QRegularExpression comName(QStringLiteral("\\s*\\(COM[0-9]+\\)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    // Windows' "USB\VID_1A86&PID_7523&REV_0264" said the way Linux says it: "1a86:7523".
    static const QRegularExpression usbId(QStringLiteral("VID_([0-9A-F]{4})&PID_([0-9A-F]{4})"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString id = hardwareId.simplified();
    if (const QRegularExpressionMatch m = usbId.match(id); m.hasMatch())
        id = (m.captured(1) + QLatin1Char(':') + m.captured(2)).toLower();
    const std::array<QString, 3> fields{description.simplified().remove(comName), manufacturer.simplified(),
                                        id};
    const std::array<qsizetype, 3> limits{DescriptionChars, OtherChars, OtherChars};
    QStringList shown;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].isEmpty()) continue;
        // What another field says already is left out: a maker named in the description, or
        // a maker known only by its vendor number.
        bool repeated = false;
        for (size_t j = 0; j < fields.size() && !repeated; ++j)
            repeated = j != i && fields[j].contains(fields[i], Qt::CaseInsensitive) &&
                       (fields[j].size() > fields[i].size() || j < i);
        if (!repeated) shown << shortened(fields[i], limits[i]);
    }
    return shown.join(QStringLiteral(", "));
}

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
    return systemDevice(com, m_system);
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

QList<PortAdapter> PortDirectory::adapters() const {
    QStringList devices;
    for (int n = FirstCom; n <= LastCom; ++n)
        devices << (isOverridden(n) ? QString() : device(n));
    QList<PortAdapter> found = systemAdapters(devices);
    for (int n = FirstCom; n <= LastCom; ++n)
        if (const auto it = overrides().constFind(n); it != overrides().constEnd())
            found[n - FirstCom] = it->adapter;
    return found;
}

void PortDirectory::overrideDevice(int com, const QString& device, const PortAdapter& adapter) {
    if (device.isEmpty())
        overrides().remove(com);
    else
        overrides().insert(com, Override{device, device, {}, adapter});
}

void PortDirectory::overrideFactory(int com, const QString& label, Factory factory) {
    if (!factory)
        overrides().remove(com);
    else
        overrides().insert(com, Override{{}, label, std::move(factory), {}});
}

void PortDirectory::clearOverrides() {
    overrides().clear();
}

bool PortDirectory::isOverridden(int com) {
    return overrides().contains(com);
}
