// SPDX-License-Identifier: GPL-3.0-or-later
// The read/write dialog's service commands: initialise, transmit-usage adjustment and the
// service group that kt520 --service shows.
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/initialise.h"
#include "core/transfer/usageadjust.h"
#include "ui/common/messagebox.h"
#include "ui/transfer/rwform.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

void TRWForm::connectServiceControls() {
    connect(m_initialise, &QPushButton::clicked, this, &TRWForm::Button3Click);
    connect(m_usageApply, &QPushButton::clicked, this, &TRWForm::Button5Click);
}

void TRWForm::setServiceMode(bool on) {
    if (on && !m_serviceGroup) {
        m_serviceGroup = new QGroupBox(this);
        m_serviceGroup->setObjectName(QStringLiteral("ServiceGroup"));
        m_serviceGroup->setProperty("kt520_fixed", true);
        auto* row = new QHBoxLayout(m_serviceGroup);
        row->addWidget(m_initialise);
        row->addWidget(m_debugRows);
        row->addWidget(m_servicePanel);
        row->addStretch(1);
        // Above the status bar, below the buttons.
        if (auto* outer = qobject_cast<QVBoxLayout*>(layout()))
            outer->insertWidget(outer->count() - 1, m_serviceGroup);
        auto title = [this] { m_serviceGroup->setTitle(m_session.lang.text(Str::ServiceGroup)); };
        connect(&m_session.lang, &Language::applied, m_serviceGroup, title);
        title();
    }
    if (!m_serviceGroup) return;
    m_serviceGroup->setVisible(on);
    m_initialise->setVisible(on);
    m_debugRows->setVisible(on);
    m_servicePanel->setVisible(on);
}

void TRWForm::warnAlignment(const QString& text) {
    const QString caption = m_session.lang.text(Str::AlignCaption);
    if (m_message)
        m_message(caption, text);
    else
        showWarning(this, caption, text);
}

bool TRWForm::confirm(const QString& question) {
    const QString caption = m_session.lang.text(Str::WarnCaption);
    const auto answer =
        m_ask ? m_ask(this, QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No)
              : showMessageBox(this, QMessageBox::Question, caption, question,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void TRWForm::Button3Click() {
    if (m_running) return;
    const bool writing = m_mode == TransferMode::Write;
    if (!confirm(m_session.lang.text(writing ? Str::InitialiseWriteQuestion : Str::InitialiseReadQuestion)))
        return;
    m_initialise->setProperty("tag", 1);
    m_initialise->setEnabled(false);
    m_start->setEnabled(false);
    m_running = true;
    const Initialisation run = beginInitialise(m_session, m_link, m_mode, transferOptions(), m_preparation);
    m_running = false;
    if (run.proceed()) {
        m_alignmentNote = run.note(m_session.lang);
        Button1Click();
        m_alignmentNote.clear();
    } else {
        m_start->setEnabled(true);
        if (run.refusal)
            warn(transferMessage(*run.refusal, m_session.lang));
        else
            warnAlignment(alignMessage(*run.alignment, m_session.lang));
        (void)m_link.openPort();
    }
    m_initialise->setEnabled(true);
    m_initialise->setProperty("tag", 0);
}

void TRWForm::Button5Click() {
    if (m_running) return;
    if (!confirm(m_session.lang.text(Str::UsageQuestion).arg(m_usage->currentText()))) return;
    m_running = true;
    m_start->setEnabled(false);
    m_usageApply->setEnabled(false);
    const UsageResult result = adjustUsage(m_session, m_link, m_usage->currentIndex(), [this](int value) {
        m_progress->setValue(std::min(value, m_progress->maximum()));
    });
    m_usageApply->setEnabled(true);
    m_start->setEnabled(true);
    m_running = false;
    if (!result.ok) warn(result.message);
}
