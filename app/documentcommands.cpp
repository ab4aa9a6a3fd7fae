// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/documentcommands.h"
#include "app/csvdialogs.h"
#include "app/documentdialog.h"
#include "core/base/messages.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "ui/common/filechooser.h"
#include "ui/common/messagebox.h"
#include "ui/print/documentprint.h"
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#ifndef __EMSCRIPTEN__
#include <QPrintDialog>
#include <QPrinter>
#endif

DocumentCommands::DocumentCommands(Session& session, Host host, QObject* parent)
    : QObject(parent), askSavePath([this](const QString& current) {
          return chooseSavePath(m_host.window, m_session, current);
      }),
      m_session(session), m_host(std::move(host)) {}

bool DocumentCommands::maySetAside() {
    // No editor stays open under the question, to write into whatever the answer leaves.
    m_host.finishEditing();
    if (!m_session.history.isModified()) return true;
    switch (m_host.unsavedAnswer ? m_host.unsavedAnswer() : UnsavedAnswer::Cancel) {
    case UnsavedAnswer::Save:
        return save();
    case UnsavedAnswer::Discard:
        return true;
    case UnsavedAnswer::Cancel:
        break;
    }
    return false;
}

void DocumentCommands::newDocument() {
    m_host.finishEditing();
    if (m_session.history.isModified()) {
        // The question about the unsaved changes is the only one: New can be undone.
        if (!maySetAside()) return;
    } else {
        const auto answer = showMessageBox(
            m_host.window, QMessageBox::Warning, m_session.lang.messages.newCaption,
            m_session.lang.messages.newQuestion, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) return;
    }
    {
        HistoryScope step(m_session.history, m_session.lang.text(Str::StepNew));
        m_host.captionChanged(::newDocument(m_session));
        m_session.history.setPath({});
    }
    m_session.history.setClean();
    m_host.reportOutcome(m_session.lang.text(Str::StatusNewDocument));
}

void DocumentCommands::open() {
    if (!maySetAside()) return;
    QString opened;
    const auto caption = openDocumentDialog(m_host.window, m_session, {}, &opened);
    m_host.finishEditing();
    if (caption) {
        m_host.captionChanged(*caption);
        m_host.reportOutcome(m_session.lang.text(Str::StatusOpened).arg(QDir::toNativeSeparators(opened)));
    }
}

bool DocumentCommands::save() {
    m_host.finishEditing();
    const QString path = askSavePath(m_session.history.path());
    if (path.isEmpty() || !saveDocumentToFile(m_host.window, m_session, path)) return false;
    m_session.history.setPath(path);
    m_session.history.setClean();
    m_host.reportOutcome(m_session.lang.text(Str::StatusSaved).arg(QDir::toNativeSeparators(path)));
    return true;
}

void DocumentCommands::openPath(const QString& path) {
    if (!maySetAside()) return;
    if (auto caption = openDocumentFile(m_host.window, m_session, path)) {
        m_host.captionChanged(*caption);
        m_host.reportOutcome(m_session.lang.text(Str::StatusOpened).arg(QDir::toNativeSeparators(path)));
    }
}

void DocumentCommands::openDropped(const QString& path, Side side) {
    m_host.finishEditing();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        m_host.reportOutcome(importCsvFile(m_host.window, m_session, path, side));
    else if (suffix == u"qv19")
        openPath(path);
}

void DocumentCommands::importCsv() {
    m_host.reportOutcome(importCsvDialog(m_host.window, m_session, m_host.finishEditing));
}

void DocumentCommands::exportCsv() {
    m_host.reportOutcome(exportCsvDialog(m_host.window, m_session, m_host.finishEditing));
}

void DocumentCommands::print() {
#ifdef __EMSCRIPTEN__
    // A page offers no printers of its own: the document becomes a PDF the browser can print.
    exportPdf();
#else
    m_host.finishEditing();
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_host.window);
    if (dialog.exec() != QDialog::Accepted) return;
    printDocument(m_session, {QFileInfo(m_session.history.path()).fileName()}, printer);
#endif
}

void DocumentCommands::exportPdf() {
    m_host.finishEditing();
    // The document's own name, as a PDF, is proposed.
    const QString document = m_session.history.path();
    const QString proposed = document.isEmpty()
                                 ? QString()
                                 : QFileInfo(document).dir().filePath(QFileInfo(document).completeBaseName() +
                                                                      QStringLiteral(".pdf"));
    const QString path =
        FileChooser::toSave(m_host.window, {m_session.lang.text(Str::PdfMenu), QStringLiteral("PDF (*.pdf)"),
                                            QStringLiteral("pdf"), proposed});
    if (path.isEmpty()) return;
    // Letter where the system's locale measures in inches, A4 elsewhere.
    const Paper paper =
        QLocale().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
    const PdfResult result = writeDocumentPdf(m_session, {QFileInfo(document).fileName()}, path, paper);
    if (!result.error.isEmpty()) {
        showWarning(m_host.window, m_session.lang.text(Str::WarnCaption), result.error);
        return;
    }
    FileChooser::saved(path);
    m_host.reportOutcome(m_session.lang.text(Str::StatusExported).arg(QDir::toNativeSeparators(path)));
}
