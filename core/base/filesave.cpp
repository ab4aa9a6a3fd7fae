// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/filesave.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/sysfile.h"
#include <QFile>
#include <QSaveFile>
#include <cerrno>

namespace {
FileFailure systemFailure(int code) {
    return {code, qt_error_string(code)};
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
    {ENOSPC, Str::NoSpace},       {EFBIG, Str::FileTooLarge}, {EACCES, Str::NoPermission},
    {EPERM, Str::NoPermission},   {EROFS, Str::ReadOnlyDisk}, {ENOENT, Str::NoSuchFolder},
    {ENOTDIR, Str::NoSuchFolder}, {EIO, Str::DiskIoError},
#ifdef EDQUOT // no disk quotas in the Windows C library
    {EDQUOT, Str::QuotaExceeded},
#endif
};
} // namespace

std::optional<FileFailure> saveFile(const QString& path, const QByteArray& bytes) {
    // Every early return leaves the file uncommitted, and QSaveFile removes its temporary file.
    QSaveFile file(path);
    SysFile::clearError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failureOf(file, SysFile::lastError());
    if (auto failure = SysFile::writeDurably(file, bytes)) return failure;
    SysFile::clearError();
    if (!file.commit()) return failureOf(file, SysFile::lastError());
    return std::nullopt;
}

AppendFile::~AppendFile() {
    close();
}

std::optional<FileFailure> AppendFile::open(const QString& path) {
    close();
    m_failure.reset();
    m_path = path;
    m_fd = SysFile::openForAppending(path);
    if (m_fd < 0) return systemFailure(errno);
    return std::nullopt;
}

bool AppendFile::append(const QByteArray& bytes) {
    if (m_fd < 0 || m_failure) return false;
    qint64 before = 0;
    if (!SysFile::regularFile(m_fd, before) && errno != 0) {
        m_failure = systemFailure(errno);
        return false;
    }
    if (const int error = SysFile::writeAll(m_fd, bytes)) {
        m_failure = systemFailure(error);
        // A piece written in part would spoil the line it belongs to. Should even the cut fail,
        // the failure already noted says what the user needs to know.
        SysFile::truncate(m_fd, before);
        return false;
    }
    return true;
}

void AppendFile::close() {
    if (m_fd < 0) return;
    if (const int error = SysFile::close(m_fd); error != 0 && !m_failure) m_failure = systemFailure(error);
    m_fd = -1;
}

QString failureReason(const FileFailure& failure, const Language& lang) {
    for (const Reason& r : Reasons)
        if (r.code == failure.code) return lang.text(r.text);
    return failure.systemText.isEmpty() ? qt_error_string(failure.code) : failure.systemText;
}

void reportFileSizeLimitAsFailure() {
    SysFile::ignoreFileSizeSignal();
}
