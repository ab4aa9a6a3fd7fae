// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/filesave.h"
#include <QByteArray>
#include <QString>
#include <optional>

class QSaveFile;

// The file calls below Qt that the save and read routines need, where Linux and Windows differ.
// Descriptors are the C library's, in binary mode; a failure leaves the error number in errno.
namespace SysFile {
// For reading, without waiting for a writer should the path name a pipe; -1 on failure.
int openForReading(const QString& path);
// For appending, made when missing; -1 on failure.
int openForAppending(const QString& path);
// Whether `fd` is a regular file, and its size; false with errno 0 when it is something else.
bool regularFile(int fd, qint64& size);
// Writes every byte, going on after a partial write; 0 on success, else the error number. A
// write cut short by a full disk returns fewer bytes first and fails on the next.
int writeAll(int fd, const QByteArray& bytes);
// Cuts the file back to `size` bytes; 0 or the error number.
int truncate(int fd, qint64 size);
// 0 or the error number.
int close(int fd);
// Writes every byte to the process's standard output as it is (no line-end translation); 0 or
// the error number.
int writeStandardOutput(const QByteArray& bytes);
// Whether new files may be made in the folder: 0, or why not (no permission, a read-only
// disk). 0 where the system cannot tell beforehand.
int folderWriteError(const QString& folder);
// Writes `bytes` to the open temporary file of a save, every write checked, and has the system
// put them on the disk before the file takes the old one's place.
std::optional<FileFailure> writeDurably(QSaveFile& file, const QByteArray& bytes);
// Forgets the last failure, before a call through Qt whose failure is to be named.
void clearError();
// The error number of the last failure (Windows' own codes translated where the program has
// words for them); 0 when none is known.
int lastError();
// See reportFileSizeLimitAsFailure().
void ignoreFileSizeSignal();
} // namespace SysFile
