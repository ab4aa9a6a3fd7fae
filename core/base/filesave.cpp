// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/filesave.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/sysfile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
// Followed through links, as the save itself follows them.
std::optional<FileFailure> refuseNonRegular(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile()) return std::nullopt;
    return FileFailure{0, QStringLiteral("not a regular file"), true};
}
} // namespace

std::optional<FileFailure> checkSaveTarget(const QString& path) {
    if (auto refused = refuseNonRegular(path)) return refused;
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists()) return systemFailure(ENOENT);
    if (!folder.isDir()) return systemFailure(ENOTDIR);
    // The file is made beside the old one and renamed: the folder must take new files.
    if (const int error = SysFile::folderWriteError(folder.filePath())) return systemFailure(error);
    return std::nullopt;
}

std::optional<FileFailure> saveFile(const QString& path, const QByteArray& bytes) {
    // Every early return leaves the file uncommitted, and QSaveFile removes its temporary file.
    if (auto refused = refuseNonRegular(path)) return refused;
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
    if (failure.notRegularFile) return lang.text(Str::NotARegularFile);
    for (const Reason& r : Reasons)
        if (r.code == failure.code) return lang.text(r.text);
    return failure.systemText.isEmpty() ? qt_error_string(failure.code) : failure.systemText;
}

std::optional<FileFailure> writeToStandardOutput(const QByteArray& bytes) {
    if (const int error = SysFile::writeStandardOutput(bytes)) return systemFailure(error);
    return std::nullopt;
}

QString fileFailureText(const QString& path, const FileFailure& failure, const Language& lang) {
    return lang.text(Str::FileError).arg(QDir::toNativeSeparators(path), failureReason(failure, lang));
}

std::optional<QString> saveUserFile(const QString& path, const QByteArray& bytes, const Language& lang) {
    if (const auto failure = saveFile(path, bytes)) return fileFailureText(path, *failure, lang);
    return std::nullopt;
}

void reportFileSizeLimitAsFailure() {
    SysFile::ignoreFileSizeSignal();
}
