// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int PeerCheckMs = 5;
constexpr qsizetype MaxPending = 64 * 1024; // a host that never reads loses the oldest answers

QString lastError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), strerror(errno));
}
} // namespace

PtyServer::PtyServer(VirtualRadio& radio, QObject* parent) : QObject(parent), m_wire(radio) {
    connect(&m_wire, &SimWire::toHost, this, &PtyServer::send);
    m_peerCheck.setInterval(PeerCheckMs);
    connect(&m_peerCheck, &QTimer::timeout, this, &PtyServer::checkPeer);
}

PtyServer::~PtyServer() {
    delete m_readable;
    delete m_writable;
    if (m_master >= 0) ::close(m_master);
}

std::optional<QString> PtyServer::start() {
    if (m_master >= 0) return std::nullopt;
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return lastError("posix_openpt");
    char name[256] = {};
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        const QString error = lastError("pseudo-terminal");
        ::close(fd);
        return error;
    }
    termios raw{};
    if (tcgetattr(fd, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    m_master = fd;
    m_path = QString::fromLocal8Bit(name);
    m_readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &PtyServer::onReadable);
    m_writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &PtyServer::onWritable);
    // Nobody has the device open yet.
    waitForPeer();
    return std::nullopt;
}

void PtyServer::waitForPeer() {
    m_readable->setEnabled(false);
    m_wire.dropToHost();
    m_pending.clear();
    m_writable->setEnabled(false);
    m_peerCheck.start();
}

void PtyServer::checkPeer() {
    pollfd p{m_master, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0 || (p.revents & POLLHUP)) return;
    m_peerCheck.stop();
    m_readable->setEnabled(true);
    if (p.revents & POLLIN) onReadable();
}

void PtyServer::onReadable() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_wire.fromHost(QByteArray(buffer, n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        // EIO (or end of file): the program on the device side closed it.
        waitForPeer();
        return;
    }
}

void PtyServer::send(const QByteArray& bytes) {
    if (m_master < 0 || m_peerCheck.isActive()) return; // nobody listening: the bytes are lost on the line
    m_pending.append(bytes);
    if (m_pending.size() > MaxPending) m_pending.remove(0, m_pending.size() - MaxPending);
    onWritable();
}

void PtyServer::onWritable() {
    while (!m_pending.isEmpty()) {
        const ssize_t n = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            m_writable->setEnabled(true);
            return;
        }
        m_pending.clear();
        break;
    }
    m_writable->setEnabled(false);
}
