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
    // Built-in captions; the language tables give each its text (the first gets "7" appended).
    const char16_t* labels[] = {u"KT-520 编程软件 V1.", u"版权所有", u"对讲机写频软件", u"技术支持"};
    for (const char16_t* text : labels) {
        auto* label = new QLabel(QString::fromUtf16(text), this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    m_version = new QLabel(this);
    m_licence = new QLabel(this);
    for (QLabel* label : {m_version, m_licence}) {
        label->setProperty("kt520_fixed", true);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setMinimumWidth(320);
}

void TAboutBox::setFacts(const Language& lang) {
    m_version->setText(
        lang.text(Str::AboutVersion).arg(QStringLiteral(KT520_VERSION), QString::fromLatin1(qVersion())));
    m_licence->setText(lang.text(Str::AboutLicence));
    for (QLabel* label : findChildren<QLabel*>())
        label->setVisible(!label->text().trimmed().isEmpty());
    adjustSize();
}
