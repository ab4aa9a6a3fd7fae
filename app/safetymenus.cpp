// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/safetymenus.h"
#include "app/backupsdialog.h"
#include "app/comparedialog.h"
#include "app/desktophabits.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/link/link.h"
#include "core/link/radioport.h"
#include "core/transfer/backup.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/common/filechooser.h"
#include "ui/common/messagebox.h"
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

namespace {
// The action before which new ones go: the first separator, or none (the end).
QAction* firstSeparator(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (a->isSeparator()) return a;
    return nullptr;
}
} // namespace

SafetyMenus::SafetyMenus(Host host, Session& session, QMenu* file, QMenu* program)
    : QObject(host.window), m_host(std::move(host)), m_session(session), m_backups(new QAction(this)),
      m_compareFile(new QAction(this)), m_compareRadio(new QAction(this)) {
    // Before the separator that precedes Exit.
    const QList<QAction*> fileActions = file->actions();
    QAction* beforeExit = fileActions.size() >= 2 ? fileActions[fileActions.size() - 2] : nullptr;
    file->insertAction(beforeExit, m_backups);
    // After Read and Write.
    QAction* afterTransfers = firstSeparator(program);
    program->insertAction(afterTransfers, m_compareFile);
    program->insertAction(afterTransfers, m_compareRadio);
    m_backups->setObjectName(QStringLiteral("RadioBackups"));
    m_compareFile->setObjectName(QStringLiteral("CompareWithFile"));
    m_compareRadio->setObjectName(QStringLiteral("CompareWithRadio"));
    for (QAction* a : {m_backups, m_compareFile, m_compareRadio})
        a->setProperty("kt520_fixed", true);
    connect(m_backups, &QAction::triggered, this, &SafetyMenus::showBackups);
    connect(m_compareFile, &QAction::triggered, this, &SafetyMenus::compareWithFile);
    connect(m_compareRadio, &QAction::triggered, this, &SafetyMenus::compareWithRadio);
    applyTexts();
}

void SafetyMenus::applyTexts() {
    m_backups->setText(m_session.lang.text(Str::BackupsMenu));
    m_compareFile->setText(m_session.lang.text(Str::CompareFileMenu));
    m_compareRadio->setText(m_session.lang.text(Str::CompareRadioMenu));
}

void SafetyMenus::warn(const QString& text) {
    showWarning(m_host.window, m_session.lang.text(Str::WarnCaption), text);
}

void SafetyMenus::showBackups() {
    BackupsDialog dialog(
        m_session, backupStoreFor(m_session), [this](const QString& path) { openBackup(path); },
        m_host.window);
    dialog.exec();
}

void SafetyMenus::openBackup(const QString& path) {
    // As any other document: unsaved changes are asked about first, and the open is one undo step.
    m_host.openFile(path);
}

void SafetyMenus::compareWithFile() {
    m_host.finishEditing();
    const QString path = FileChooser::toOpen(
        m_host.window, {withoutMnemonic(m_compareFile->text()), QStringLiteral("*.qv19"), {}, {}});
    if (path.isEmpty()) return;
    const std::unique_ptr<Session> other = sessionLike(m_session);
    const FileRead read = readDocumentFile(path, *other);
    if (!read.bytes) return warn(read.error);
    if (!openDocument(*other, *read.bytes).accepted()) return;
    showDifferences(QFileInfo(path).fileName(), *other);
}

void SafetyMenus::compareWithRadio() {
    m_host.finishEditing();
    // The radio's side starts as this document: its password opens the radio, and what a read
    // does not bring stays equal.
    const std::unique_ptr<Session> radio = sessionLike(m_session);
    (void)openDocument(*radio, saveDocument(m_session));
    Link link;
    link.setSinglePortMode(m_session.singlePortMode);
    link.setPort(PortDirectory(m_session.files.settingsToRead()).create(m_session.portNumber));
    if (!link.port() || !link.openPort()) return warn(m_session.lang.text(Str::PortOpenFailed));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_host.window->setEnabled(false);
    const BackedUpRead read = readRadioWithBackup(*radio, link, TransferOptions{}, backupStoreFor(m_session));
    m_host.window->setEnabled(true);
    QApplication::restoreOverrideCursor();
    link.closePort();
    if (!read.result.ok()) return warn(transferMessage(read.result, m_session.lang));
    if (!read.backupError.isEmpty()) warn(read.backupError);
    showDifferences(link.port() ? link.port()->deviceName() : QString(), *radio);
}

void SafetyMenus::showDifferences(const QString& other, const Session& otherSession) {
    CompareDialog dialog(
        m_session, other, compareDocuments(m_session, otherSession),
        [this](const DocumentDifference& d) { showPlace(d); }, m_host.window);
    dialog.exec();
}

void SafetyMenus::showPlace(const DocumentDifference& d) {
    if (d.part != DocumentDifference::Part::Table) {
        m_host.bringForward(m_host.options);
        return;
    }
    QWidget* table = d.side == Side::A ? m_host.tableA : m_host.tableB;
    m_host.bringForward(table);
    if (auto* grid = table->findChild<ChannelGrid*>()) grid->selectCell(d.column, d.row);
}
