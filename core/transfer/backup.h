// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/transfer.h"
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class IniFile;
class Language;
class Link;
class Session;

// The radio's memory as a read saw it: every byte at its address, 0xFF where nothing was read.
class RadioImage {
public:
    static constexpr int Size = 0x2000;
    RadioImage() : m_bytes(Size, char(0xFF)) {}
    void store(quint16 address, const QByteArray& data);
    const QByteArray& bytes() const { return m_bytes; }
    bool isEmpty() const { return m_stored == 0; }

private:
    QByteArray m_bytes;
    int m_stored = 0;
};

// One backup in the folder: the document and the radio's bytes under one name.
struct BackupEntry {
    QString baseName; // "2026-12-07_21-30-05_Qovran" or "...-partial", maybe with "-2"
    QString documentPath;
    QString imagePath; // empty when the image is missing
    QDateTime taken;
    qint64 size = 0; // both files together
    bool partial = false;
};

// The folder of automatic backups: every read leaves the document exactly as Save would write
// it and the raw image, named by date, time and administrator; the oldest go once there are
// more than `keep`.
class BackupStore {
public:
    static constexpr int DefaultKeep = 200;

    explicit BackupStore(QString folder, int keep = DefaultKeep, std::function<QDateTime()> now = {});
    // $XDG_DATA_HOME/kt520/backups (~/.local/share/kt520/backups).
    static QString defaultFolder();
    // The count to keep: key "keep" of section "backups" in sysini.ini, at least 1.
    static int keepSetting(const IniFile& settings);

    const QString& folder() const { return m_folder; }
    // Saves both files and prunes; the document's path, or a failure message in `lang`.
    struct Saved {
        QString documentPath;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };
    Saved save(const QByteArray& document, const RadioImage& image, const QString& administrator,
               bool partial, const Language& lang) const;
    // Newest first.
    QList<BackupEntry> list() const;
    // Removes the oldest backups beyond the count to keep.
    void prune() const;

private:
    QString m_folder;
    int m_keep;
    std::function<QDateTime()> m_now;
};

// How the listings show a backup: "2026-12-07 21:30:05", with "(partial)" in the user's language
// for a failed read's; and the channels its document holds (0 when it cannot be read).
QString backupTitle(const BackupEntry& entry, const Language& lang);
int backupChannels(const BackupEntry& entry);

// The store the program uses: the default folder, the count to keep from the session's sysini.ini.
BackupStore backupStoreFor(const Session& session);

// A read that keeps a backup, the same in the window and on the command line: the result of
// readRadio, and the backup's document path or why it could not be kept. A failed read that
// brought at least one block keeps a partial backup; one that brought nothing keeps none.
struct BackedUpRead {
    TransferResult result;
    QString backupPath;
    QString backupError; // the user's warning: the read itself stands
};
BackedUpRead readRadioWithBackup(Session& session, Link& link, const TransferOptions& options,
                                 const BackupStore& store);

// A session of its own started like `like`: the same settings file, language and administrator,
// the document as start-up leaves it. For a read or a document kept beside the one in use.
std::unique_ptr<Session> sessionLike(const Session& like);

// The read before a write ("Back up the radio first"): into a session of its own, started like
// `like` with its language and the password of its document (the radio answers only to that),
// so that the document to be written stays as it is.
BackedUpRead backUpRadio(const Session& like, Link& link, const BackupStore& store);

// Channel rows in use in a document's bytes (both tables, VFO rows included).
int channelsInUse(const QByteArray& document);
