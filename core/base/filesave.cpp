// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/filesave.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
FileFailure systemFailure(int code) {
    return {code, qt_error_string(code)};
}

// Writes every byte to `fd`, going on after a partial write; 0 on success, else the error
// number. A write cut short by a full disk returns fewer bytes first and fails on the next.
int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return EIO;
        data += written;
        left -= written;
    }
    return 0;
}

// Qt reports its own failures as text; the error number the system set on the way is kept
// where there is one, so that the reason can be given in the user's language.
FileFailure failureOf(const QFileDevice& file, int code) {
    return {code, file.errorString()};
}

struct Reason {
    int code;
    int text;
};
constexpr Reason Reasons[] = {
    {ENOSPC, Str::NoSpace},      {EDQUOT, Str::QuotaExceeded}, {EFBIG, Str::FileTooLarge},
    {EACCES, Str::NoPermission}, {EPERM, Str::NoPermission},   {EROFS, Str::ReadOnlyDisk},
    {ENOENT, Str::NoSuchFolder}, {ENOTDIR, Str::NoSuchFolder}, {EIO, Str::DiskIoError},
};
} // namespace

std::optional<FileFailure> saveFile(const QString& path, const QByteArray& bytes) {
    // Every early return leaves the file uncommitted, and QSaveFile removes its temporary file.
    QSaveFile file(path);
    // Unbuffered: the bytes go to the system in the writes below, where each one is checked,
    // not in a flush at commit whose failure would go unseen.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failureOf(file, errno);
    if (const int error = writeAll(file.handle(), bytes)) return systemFailure(error);
    // A file system that allocates late reports a full disk only here. Some files (devices,
    // pipes) cannot be synced, which is no failure.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) return systemFailure(errno);
    errno = 0;
    if (!file.commit()) return failureOf(file, errno);
    return std::nullopt;
}

AppendFile::~AppendFile() {
    close();
}

std::optional<FileFailure> AppendFile::open(const QString& path) {
    close();
    m_failure.reset();
    m_path = path;
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (m_fd < 0) return systemFailure(errno);
    return std::nullopt;
}

bool AppendFile::append(const QByteArray& bytes) {
    if (m_fd < 0 || m_failure) return false;
    struct stat before {};
    if (::fstat(m_fd, &before) != 0) {
        m_failure = systemFailure(errno);
        return false;
    }
    if (const int error = writeAll(m_fd, bytes)) {
        m_failure = systemFailure(error);
        // A piece written in part would spoil the line it belongs to. Should even the cut fail,
        // the failure already noted says what the user needs to know.
        while (::ftruncate(m_fd, before.st_size) != 0 && errno == EINTR) {
        }
        return false;
    }
    return true;
}

void AppendFile::close() {
    if (m_fd < 0) return;
    if (::close(m_fd) != 0 && !m_failure) m_failure = systemFailure(errno);
    m_fd = -1;
}

QString failureReason(const FileFailure& failure, const Language& lang) {
    for (const Reason& r : Reasons)
        if (r.code == failure.code) return lang.text(r.text);
    return failure.systemText.isEmpty() ? qt_error_string(failure.code) : failure.systemText;
}

void reportFileSizeLimitAsFailure() {
    std::signal(SIGXFSZ, SIG_IGN);
}
