// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutdialog.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    // The language switch gives the caption "..." and the first label its minor version digit.
    setWindowTitle(QStringLiteral("关于"));
    auto* layout = new QVBoxLayout(this);
    const QString labels[] = {QStringLiteral("KT-520 编程软件 V1."), QStringLiteral("版权所有"),
                              QStringLiteral("对讲机写频软件"), QStringLiteral("技术支持")};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(labels[i], this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    // One more line after the four: the build's version, Qt's and the licence.
    m_facts = new QLabel(this);
    m_facts->setObjectName(QStringLiteral("VersionLabel"));
    m_facts->setProperty("kt520_fixed", true);
    m_facts->setAlignment(Qt::AlignCenter);
    m_facts->setWordWrap(true);
    layout->addWidget(m_facts);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setMinimumWidth(360);
}

void TAboutBox::setFacts(const Language& lang) {
    const QString version =
        lang.text(Str::AboutVersion).arg(QStringLiteral(KT520_VERSION), QString::fromLatin1(qVersion()));
    const QString licence = lang.text(Str::AboutLicence);
    m_facts->setText(licence.isEmpty() ? version : version + QLatin1Char('\n') + licence);
    adjustSize();
}
