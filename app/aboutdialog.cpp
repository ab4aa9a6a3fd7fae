#include "app/aboutdialog.h"
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
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setMinimumWidth(320);
}
