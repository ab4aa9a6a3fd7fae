#include "app/documentdialog.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/session.h"
#include "ui/common/messagebox.h"
#include <QFileDialog>
#include <QFileInfo>

namespace {
const QString Filter = QStringLiteral("QOVRAN  文件 (*.qv19)");
const QString Suffix = QStringLiteral("qv19");

void warn(QWidget* parent, const Session& s, const QString& text, const QString& details = {}) {
    showWarning(parent, s.lang.text(Str::WarnCaption), text, details);
}

// The file dialog of the command; empty when the user cancels.
QString askFileName(QWidget* parent, const Session& s, QFileDialog::AcceptMode mode) {
    const bool saving = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(parent, s.lang.caption(saving ? QStringLiteral("保存") : QStringLiteral("打开")));
    dialog.setAcceptMode(mode);
    dialog.setNameFilter(Filter);
    if (saving) {
        // A name typed without extension is saved as .qv19, where the open dialog's filter finds
        // it; QFileDialog asks before it replaces an existing file.
        dialog.setDefaultSuffix(Suffix);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

std::optional<QString> saveDocumentAsDialog(QWidget* parent, Session& session) {
    const QString path = askFileName(parent, session, QFileDialog::AcceptSave);
    if (path.isEmpty() || !saveDocumentToFile(parent, session, path)) return std::nullopt;
    return path;
}

bool saveDocumentToFile(QWidget* parent, Session& session, const QString& path) {
    if (auto error = writeDocumentFile(path, session)) {
        warn(parent, session, *error);
        return false;
    }
    return true;
}

std::optional<QString> openDocumentDialog(QWidget* parent, Session& session,
                                          std::function<void()> commitPendingEdit, QString* openedPath) {
    if (commitPendingEdit) commitPendingEdit();
    const QString path = askFileName(parent, session, QFileDialog::AcceptOpen);
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
    if (!result.accepted()) return std::nullopt;
    session.history.setClean();
    if (!result.notApplied.isEmpty()) {
        QList<int> lines;
        QStringList details;
        for (const LineProblem& p : result.notApplied) {
            lines << p.line;
            details << QStringLiteral("%1: %2").arg(QString::number(p.line), p.reason);
        }
        warn(parent, session, session.lang.text(Str::LinesNotApplied).arg(lineRanges(lines)),
             details.join(QChar('\n')));
    }
    return result.caption;
}
