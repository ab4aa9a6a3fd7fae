// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

class Language;

// Why a file could not be written: the system's error number (0 when it gave none) and the
// system's own description of it.
struct FileFailure {
    int code = 0;
    QString systemText;
    // The path names something that is not a regular file (a pipe, a device, a socket, a
    // folder): nothing was written to it, nor put in its place.
    bool notRegularFile = false;
};

// Replaces the file at `path` with `bytes`, or leaves the old file byte for byte as it was.
// The bytes go to a temporary file beside it, and only when every write and the sync to disk
// have succeeded does that file take the old one's place. Every file the program writes whole
// goes through here: on a full disk a buffered write can fail unnoticed until the rename, which
// would put an empty or cut file in place of a good one. A path that names anything but a
// regular file (or a link to one) is refused untouched: the rename would put a file in place of
// a pipe or a device.
std::optional<FileFailure> saveFile(const QString& path, const QByteArray& bytes);

// Why a save to `path` would fail before anything is written: a folder that is missing or may
// not be written, or a path that names something other than a regular file. Lets a command
// that takes long to make its bytes (a read of the radio) refuse before it starts.
std::optional<FileFailure> checkSaveTarget(const QString& path);

// A file that grows while the program runs (the trace of a transfer). Every write is checked;
// after the first failure nothing more is written and the file is cut back to where that write
// began, so it keeps what it held and ends with the last whole piece.
class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens or creates the file for appending.
    std::optional<FileFailure> open(const QString& path);
    // False once a write has failed (this one or an earlier one).
    bool append(const QByteArray& bytes);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }
    const std::optional<FileFailure>& failure() const { return m_failure; }

private:
    int m_fd = -1;
    QString m_path;
    std::optional<FileFailure> m_failure;
};

// The reason in the user's language: the program's own words for the failures a user can act on
// (no space left, quota, file too large, no permission, read-only, missing folder, input/output
// error), the system's text for any other.
QString failureReason(const FileFailure& failure, const Language& lang);

// Bytes for the process's standard output, with the failure's reason when they cannot go.
std::optional<FileFailure> writeToStandardOutput(const QByteArray& bytes);

// "Cannot read or write "PATH": reason" in the user's language.
QString fileFailureText(const QString& path, const FileFailure& failure, const Language& lang);
// saveFile() for a file the user named: the message for the user when it fails.
std::optional<QString> saveUserFile(const QString& path, const QByteArray& bytes, const Language& lang);

// A write past the user's file-size limit (ulimit -f) makes the system end the program with
// SIGXFSZ, losing whatever was open. Ignored, the write fails with EFBIG instead, and the save
// says "File too large" like any other failure. Called first thing by every program.
void reportFileSizeLimitAsFailure();
