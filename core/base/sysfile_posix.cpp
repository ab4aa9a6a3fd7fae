// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/sysfile.h"
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int SysFile::openForReading(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

int SysFile::openForAppending(const QString& path) {
    // A pipe nobody reads would hold the open for ever; without waiting it fails at once (ENXIO).
    // A trace to a pipe that is read, or to the terminal, then writes as any file does.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool SysFile::regularFile(int fd, qint64& size) {
    struct stat info {};
    errno = 0;
    if (::fstat(fd, &info) != 0) return false;
    size = info.st_size;
    return S_ISREG(info.st_mode);
}

int SysFile::writeAll(int fd, const QByteArray& bytes) {
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

int SysFile::truncate(int fd, qint64 size) {
    while (::ftruncate(fd, off_t(size)) != 0)
        if (errno != EINTR) return errno;
    return 0;
}

int SysFile::close(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
}

int SysFile::writeStandardOutput(const QByteArray& bytes) {
    return writeAll(STDOUT_FILENO, bytes);
}

int SysFile::folderWriteError(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0 ? 0 : errno;
}

std::optional<FileFailure> SysFile::writeDurably(QSaveFile& file, const QByteArray& bytes) {
    // The file is open unbuffered: the bytes go to the system here, where each write is
    // checked, not in a flush at commit whose failure would go unseen.
    if (const int error = writeAll(file.handle(), bytes)) return FileFailure{error, qt_error_string(error)};
    // A file system that allocates late reports a full disk only here. Some files (devices,
    // pipes) cannot be synced, which is no failure.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) return FileFailure{errno, qt_error_string(errno)};
    return std::nullopt;
}

void SysFile::clearError() {
    errno = 0;
}

int SysFile::lastError() {
    return errno;
}

void SysFile::ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
