// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's read and write commands, from the port's probe to the dialog's close, and the
// service mode that adds the service commands.
#include "app/childlayout.h"
#include "app/commandstatus.h"
#include "app/desktophabits.h"
#include "app/mainwindow.h"
#include "app/opentransfer.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "ui/channels/channelwindow.h"
#include "ui/service/testform.h"
#include "ui/transfer/portstatus.h"
#include "ui/transfer/rwform.h"
#include <QMdiArea>

void TMainForm::readCommand() {
    transferCommand(TransferMode::Read);
}
void TMainForm::writeCommand() {
    transferCommand(TransferMode::Write);
}

TMainForm::~TMainForm() {
    // A program ended with the dialog open closes the read's step while the window is whole.
    transferDialogClosed();
}

void TMainForm::transferCommand(TransferMode mode) {
    // The alignment window's exchange holds the link until it ends; an open dialog is one command.
    if (m_test->exchangeRunning() || m_rw->isVisible()) return;
    commitTableA();
    m_channelA->hideEditors();
    if (mode == TransferMode::Read && !maySetDocumentAside()) return;
    // A port that another program holds, or that is missing, is reported before the dialog opens.
    if (auto problem = portOpenProblem(m_session, m_session.portNumber)) {
        showWarning(this, m_session.lang.messages.warnCaption, *problem);
        return;
    }
    // The document then equals the radio: a read is one undo step, and both leave it unmodified.
    // The dialog returns at once; transferDialogClosed() finishes the command.
    m_transfer = std::make_unique<OpenTransfer>(mode, m_session.history, m_session.lang.text(Str::StepRead));
    if (mode == TransferMode::Read)
        m_rw->openFor(mode, withoutMnemonic(m_readMenu->text()), m_readTool->text());
    else
        m_rw->openFor(mode, withoutMnemonic(m_writeMenu->text()), m_portTool->text());
}

void TMainForm::transferEnded(bool ok) {
    if (!m_transfer) return;
    m_transfer->ok = ok;
    // The title and the status line tell the outcome at once, with the dialog still open.
    const bool read = m_transfer->mode == TransferMode::Read;
    if (ok) setWindowTitle(documentTitle(m_caption, read ? QString() : m_session.history.path(), false));
    showOutcome(transferOutcome(m_session, m_transfer->mode, ok, m_rw->link().cancelled()));
}

void TMainForm::transferDialogClosed() {
    if (!m_transfer) return;
    const std::unique_ptr<OpenTransfer> done = std::move(m_transfer);
    // Within the read's step, so that undo gives the file back with the document.
    if (done->ok && done->mode == TransferMode::Read) m_session.history.setPath({});
    done->step.reset();
    if (done->ok) m_session.history.setClean();
    updateTitle();
    // The keyboard comes back to the main window: a browser's page does not hand it back by
    // itself when the dialog closes.
    activateWindow();
}

void TMainForm::setServiceMode(bool on) {
    m_alignmentTool->setVisible(on);
    m_alignmentTool->setEnabled(on);
    // The alignment window's controls change the radio's calibration: out of reach until then.
    QMdiSubWindow* alignment = frameOf(m_test);
    alignment->setEnabled(on);
    if (on && alignment->parentWidget() == m_serviceParking.get()) {
        m_mdi->addSubWindow(alignment);
        alignment->hide(); // until its tool button shows it
    } else if (!on && alignment->parentWidget() != m_serviceParking.get()) {
        m_mdi->removeSubWindow(alignment);
        alignment->setParent(m_serviceParking.get());
    }
    m_rw->setServiceMode(on);
}
