// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/documentdialog.h"
#include "core/base/messages.h"
#include "core/base/recentfiles.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/session.h"
#include "ui/common/filechooser.h"
#include "ui/common/messagebox.h"
#include <QDir>
#include <QFileInfo>

namespace {
const QString Suffix = QStringLiteral("qv19");
// The same in every language, as documents from other installations are announced.
const QString DocumentFilter = QStringLiteral("QOVRAN  文件 (*.qv19)");

void warn(QWidget* parent, const Session& s, const QString& text, const QString& details = {}) {
    showWarning(parent, s.lang.text(Str::WarnCaption), text, details);
}

// A document opened or saved goes first in File > Recent files. A settings file that cannot be
// written was reported at start-up; the list then simply stays as it was.
void rememberDocument(const Session& s, const QString& path) {
    (void)RecentFiles::remember(s.files, path);
}

// The file dialog of the command, opened on `current` when there is one; empty when the user
// cancels.
QString askFileName(QWidget* parent, const Session& s, bool saving, const QString& current = {}) {
    FileChoice choice;
    choice.caption = s.lang.caption(saving ? QStringLiteral("保存") : QStringLiteral("打开"));
    choice.filter = DocumentFilter;
    // A name typed without extension is saved as .qv19, where the open dialog's filter finds it.
    // Replacing another file is asked about by the caller, not by the dialog.
    choice.suffix = Suffix;
    choice.confirmOverwrite = false;
    // The dialog starts on the document's own file, else in the folder used last.
    if (!current.isEmpty() && QFileInfo(current).dir().exists())
        choice.start = current;
    else if (const QString folder = RecentFiles::loadFolder(s.files);
             !folder.isEmpty() && QDir(folder).exists())
        choice.start = folder;
    return saving ? FileChooser::toSave(parent, choice) : FileChooser::toOpen(parent, choice);
}
} // namespace

bool replacesAnotherFile(const QString& chosen, const QString& current) {
    const QFileInfo file(chosen);
    if (!file.exists()) return false;
    if (current.isEmpty()) return true;
    const QFileInfo own(current);
    return file.canonicalFilePath() != own.canonicalFilePath();
}

QString chooseSavePath(QWidget* parent, const Session& session, const QString& current) {
    for (;;) {
        const QString path = askFileName(parent, session, true, current);
        if (path.isEmpty() || !replacesAnotherFile(path, current)) return path;
        const auto answer =
            showMessageBox(parent, QMessageBox::Warning, session.lang.text(Str::WarnCaption),
                           session.lang.text(Str::OverwriteQuestion).arg(QDir::toNativeSeparators(path)),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) return path;
    }
}

bool saveDocumentToFile(QWidget* parent, Session& session, const QString& path) {
    if (auto error = writeDocumentFile(path, session)) {
        warn(parent, session, *error);
        return false;
    }
    rememberDocument(session, path);
    FileChooser::saved(path);
    return true;
}

std::optional<QString> openDocumentDialog(QWidget* parent, Session& session,
                                          std::function<void()> commitPendingEdit, QString* openedPath) {
    if (commitPendingEdit) commitPendingEdit();
    const QString path = askFileName(parent, session, false);
    if (path.isEmpty()) return std::nullopt;
    auto caption = openDocumentFile(parent, session, path);
    if (caption && openedPath) *openedPath = path;
    return caption;
}

std::optional<QString> openDocumentFile(QWidget* parent, Session& session, const QString& path) {
    const FileRead read = readDocumentFile(path, session);
    if (!read.bytes) {
        warn(parent, session, read.error);
        return std::nullopt;
    }
    OpenResult result;
    {
        // The whole document in one undo step that also gives back the previous file name.
        HistoryScope step(session.history, session.lang.text(Str::StepOpen).arg(QFileInfo(path).fileName()));
        result = openDocument(session, *read.bytes);
        if (result.accepted()) session.history.setPath(path);
    }
    QList<int> lines;
    QStringList details;
    for (const LineProblem& p : result.notApplied) {
        lines << p.line;
        details << QStringLiteral("%1: %2").arg(QString::number(p.line), p.reason);
    }
    switch (result.refusal) {
    case OpenResult::Refusal::NotADocument:
        warn(parent, session, session.lang.text(Str::DocNotADocument).arg(QDir::toNativeSeparators(path)));
        return std::nullopt;
    case OpenResult::Refusal::Incomplete:
        warn(parent, session,
             result.misfit.value_or(session.lang.text(Str::DocIncomplete).arg(lineRanges(lines))));
        return std::nullopt;
    case OpenResult::Refusal::UnknownModel:
        return std::nullopt;
    case OpenResult::Refusal::None:
        break;
    }
    session.history.setClean();
    if (!lines.isEmpty())
        warn(parent, session, session.lang.text(Str::LinesNotApplied).arg(lineRanges(lines)),
             details.join(QChar('\n')));
    rememberDocument(session, path);
    return result.caption;
}
