// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/backup.h"
#include "core/base/appsettings.h"
#include "core/base/filesave.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include "core/link/link.h"
#include "core/transfer/readprocedure.h"
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
const QString DocumentSuffix = QStringLiteral(".qv19");
const QString ImageSuffix = QStringLiteral(".bin");
const QString StampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

// Several ports may finish their reads in the same second: the name is chosen and the folder
// pruned by one of them at a time.
QMutex& folderMutex() {
    static QMutex mutex;
    return mutex;
}

// "2026-12-07_21-30-05_Qovran", "-partial", then "-2" ... for a name already taken.
const QRegularExpression& backupName() {
    static const QRegularExpression re(
        QStringLiteral(R"(^(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)_.*?(-partial)?(-\d+)?\.(qv19|bin)$)"));
    return re;
}

// The backup a matched file name belongs to: the name without its extension, the same for the
// document and the image.
QString backupBase(const QRegularExpressionMatch& m) {
    return m.captured(0).chopped(m.captured(4).size() + 1);
}

// The administrator's name as part of a file name: no separators or control characters.
QString fileNamePart(const QString& name) {
    QString part;
    for (const QChar c : name)
        part +=
            (c == QChar('/') || c == QChar('\\') || c.category() == QChar::Other_Control) ? QChar('_') : c;
    return part.isEmpty() ? QStringLiteral("_") : part;
}
// mkpath gives no reason: the nearest part of the path that exists tells it.
FileFailure folderFailure(const QString& folder) {
    QFileInfo info(folder);
    while (!info.exists() && info.absoluteFilePath() != info.absolutePath())
        info = QFileInfo(info.absolutePath());
    const int code = info.exists() && !info.isDir() ? ENOTDIR : EACCES;
    return {code, QString::fromLocal8Bit(std::strerror(code))};
}
} // namespace

void RadioImage::store(quint16 address, const QByteArray& data) {
    const int count = std::min(int(data.size()), Size - int(address));
    if (count <= 0) return;
    m_bytes.replace(address, count, data.left(count));
    m_stored += count;
}

BackupStore::BackupStore(QString folder, int keep, std::function<QDateTime()> now)
    : m_folder(std::move(folder)), m_keep(std::max(1, keep)), m_now(std::move(now)) {}

QString BackupStore::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kt520/backups");
}

int BackupStore::keepSetting(const IniFile& settings) {
    return std::max(1, settings.integer(QStringLiteral("backups"), QStringLiteral("keep"), DefaultKeep));
}

BackupStore::Saved BackupStore::save(const QByteArray& document, const RadioImage& image,
                                     const QString& administrator, bool partial, const Language& lang) const {
    const QMutexLocker lock(&folderMutex());
    const QDateTime now = m_now ? m_now() : QDateTime::currentDateTime();
    const QString stem = now.toString(StampFormat) + QChar('_') + fileNamePart(administrator) +
                         (partial ? PartialBackupMark : QString());
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        const FileFailure why = folderFailure(m_folder);
        return {{},
                lang.text(Str::BackupFailed)
                    .arg(lang.text(Str::FileError).arg(m_folder, failureReason(why, lang)))};
    }
    QString base = stem;
    for (int n = 2; dir.exists(base + DocumentSuffix) || dir.exists(base + ImageSuffix); ++n)
        base = stem + QChar('-') + QString::number(n);
    const QString documentPath = dir.filePath(base + DocumentSuffix);
    const QString imagePath = dir.filePath(base + ImageSuffix);
    for (const auto& [path, bytes] :
         {std::pair{documentPath, document}, std::pair{imagePath, image.bytes()}}) {
        if (const auto failure = saveFile(path, bytes)) {
            QFile::remove(documentPath); // half a backup is no backup
            return {{},
                    lang.text(Str::BackupFailed)
                        .arg(lang.text(Str::FileError).arg(path, failureReason(*failure, lang)))};
        }
    }
    prune();
    return {documentPath, {}};
}

QList<BackupEntry> BackupStore::list() const {
    QMap<QString, BackupEntry> byBase;
    const QDir dir(m_folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) {
        const QRegularExpressionMatch m = backupName().match(info.fileName());
        if (!m.hasMatch()) continue;
        const QString base = backupBase(m);
        BackupEntry& entry = byBase[base];
        entry.baseName = base;
        entry.taken = QDateTime::fromString(m.captured(1), StampFormat);
        entry.partial = !m.captured(2).isEmpty();
        entry.size += info.size();
        (m.captured(4) == QStringLiteral("bin") ? entry.imagePath : entry.documentPath) = info.filePath();
    }
    QList<BackupEntry> entries = byBase.values();
    std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.taken != b.taken ? a.taken > b.taken : a.baseName > b.baseName;
    });
    return entries;
}

void BackupStore::prune() const {
    // Every read prunes, and the folder may hold hundreds of backups: names only, no sizes or
    // parsed dates. A backup's name begins with its fixed-width time stamp, so the names sort
    // as the backups were taken, the same order as the listing's.
    const QDir dir(m_folder);
    QMap<QString, QStringList> filesByBase;
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = backupName().match(name);
        if (m.hasMatch()) filesByBase[backupBase(m)] << dir.filePath(name);
    }
    qsizetype surplus = filesByBase.size() - m_keep;
    for (auto it = filesByBase.cbegin(); surplus > 0; ++it, --surplus)
        for (const QString& path : *it)
            QFile::remove(path);
}

QString backupTitle(const BackupEntry& entry, const Language& lang) {
    const QString date = entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return entry.partial ? date + QStringLiteral(" (") + lang.text(Str::BackupPartial) + QChar(')') : date;
}

int backupChannels(const BackupEntry& entry) {
    QFile file(entry.documentPath);
    return file.open(QIODevice::ReadOnly) ? channelsInUse(file.read(1 << 20)) : 0;
}

BackupStore backupStoreFor(const Session& session) {
    return BackupStore(BackupStore::defaultFolder(),
                       BackupStore::keepSetting(IniFile::load(session.files.settingsToRead())));
}

BackedUpRead readRadioWithBackup(Session& session, Link& link, const TransferOptions& options,
                                 const BackupStore& store) {
    BackedUpRead read;
    RadioImage image;
    link.setBlockHook([&image](Link::BlockEvent event, quint16 address, const QByteArray& data) {
        if (event == Link::BlockEvent::Read) image.store(address, data);
    });
    read.result = readRadio(session, link, options);
    link.setBlockHook({});
    if (image.isEmpty()) return read; // nothing came from the radio: nothing to bring back
    const BackupStore::Saved saved =
        store.save(saveDocument(session), image, session.administrator, !read.result.ok(), session.lang);
    read.backupPath = saved.documentPath;
    read.backupError = saved.error;
    return read;
}

std::unique_ptr<Session> sessionLike(const Session& like) {
    auto session = std::make_unique<Session>();
    session->files = like.files;
    session->administrator = like.administrator;
    session->singlePortMode = like.singlePortMode;
    session->portNumber = like.portNumber;
    startUp(*session, AppSettings::read(IniFile::load(like.files.settingsToRead())));
    if (session->lang.index != like.lang.index) {
        session->lang.index = like.lang.index;
        applyLanguage(*session, Language::baseName(like.lang.index));
    }
    return session;
}

BackedUpRead backUpRadio(const Session& like, Link& link, const BackupStore& store) {
    const std::unique_ptr<Session> scratch = sessionLike(like);
    scratch->doc.func.setText(Ctl::Edit22, like.doc.func.text(Ctl::Edit22));
    return readRadioWithBackup(*scratch, link, TransferOptions{}, store);
}

int channelsInUse(const QByteArray& document) {
    const QList<QByteArray> lines = document.split('\n');
    int used = 0;
    const int last = std::min(int(lines.size()), DocumentFormat::LineCount);
    for (int n = DocumentFormat::FirstChannelLineA; n <= last; ++n) {
        QString line = QString::fromLatin1(lines[n - 1]);
        if (line.endsWith(QChar('\r'))) line.chop(1);
        const auto cells = parseChannelLine(line);
        if (cells && !cells->isEmpty() && !cells->first().trimmed().isEmpty()) ++used;
    }
    return used;
}
