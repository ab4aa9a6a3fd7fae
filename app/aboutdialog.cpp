// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutdialog.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("关于"));
    auto* layout = new QVBoxLayout(this);
    // The program's name, what it is, its one version (the build's) and the licence. Copyright
    // holder and support contact have no text to give, so the box has no lines for them.
    m_program = new QLabel(this);
    m_program->setObjectName(QStringLiteral("ProgramLabel"));
    auto* kind = new QLabel(QStringLiteral("对讲机写频软件"), this);
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("VersionLabel"));
    m_licence = new QLabel(this);
    for (QLabel* label : {m_program, kind, m_version, m_licence}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    for (QLabel* label : {m_program, m_version, m_licence})
        label->setProperty("kt520_fixed", true);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setMinimumWidth(320);
}

void TAboutBox::setFacts(const Language& lang) {
    m_program->setText(lang.text(Str::AboutProgram));
    m_version->setText(
        lang.text(Str::AboutVersion).arg(QStringLiteral(KT520_VERSION), QString::fromLatin1(qVersion())));
    m_licence->setText(lang.text(Str::AboutLicence));
    for (QLabel* label : findChildren<QLabel*>())
        label->setVisible(!label->text().trimmed().isEmpty());
    adjustSize();
}
