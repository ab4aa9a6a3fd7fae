// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/sysfile.h"
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

int SysFile::openForReading(const QString& path) {
    return ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int SysFile::openForAppending(const QString& path) {
    return ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                    _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

bool SysFile::regularFile(int fd, qint64& size) {
    struct _stat64 info {};
    errno = 0;
    if (::_fstat64(fd, &info) != 0) return false;
    size = info.st_size;
    return (info.st_mode & _S_IFMT) == _S_IFREG;
}

int SysFile::writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const unsigned int piece = unsigned(std::min<qsizetype>(left, 1 << 30));
        const int written = ::_write(fd, data, piece);
        if (written < 0) return errno;
        if (written == 0) return EIO;
        data += written;
        left -= written;
    }
    return 0;
}

int SysFile::truncate(int fd, qint64 size) {
    return ::_chsize_s(fd, size);
}

int SysFile::close(int fd) {
    return ::_close(fd) == 0 ? 0 : errno;
}

int SysFile::writeStandardOutput(const QByteArray& bytes) {
    // A document's CR LF would otherwise become CR CR LF.
    ::_setmode(1, _O_BINARY);
    return writeAll(1, bytes);
}

int SysFile::folderWriteError(const QString&) {
    // A folder's read-only mark means nothing on Windows and its access lists are not worth
    // reading ahead: the save itself says what went wrong.
    return 0;
}

std::optional<FileFailure> SysFile::writeDurably(QSaveFile& file, const QByteArray& bytes) {
    // Qt keeps the file as a Windows handle, not a descriptor. The file is open unbuffered, so
    // each write goes to the system here and is checked; commit() flushes the file buffers
    // (FlushFileBuffers) before the rename, and Windows reports a full disk at the write.
    clearError();
    if (file.write(bytes) != bytes.size()) return FileFailure{lastError(), file.errorString()};
    return std::nullopt;
}

void SysFile::clearError() {
    errno = 0;
    SetLastError(ERROR_SUCCESS);
}

int SysFile::lastError() {
    if (errno != 0) return errno;
    // Qt works on Windows handles; their failures are Windows codes.
    switch (GetLastError()) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    default:
        return 0; // no words of the program's own: the system's text is shown
    }
}

void SysFile::ignoreFileSizeSignal() {
    // Windows has no file-size limit signal: a write past a quota fails like any other.
}
