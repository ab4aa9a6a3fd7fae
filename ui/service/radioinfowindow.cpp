// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/service/radioinfowindow.h"
#include "core/codeplug/session.h"
#include "ui/common/translatewidgets.h"
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

Taddmessage::Taddmessage(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("Taddmessage"));
    setWindowTitle(QStringLiteral("本机信息"));
    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("本机信息"), this);
    auto* form = new QFormLayout(group);
    auto field = [&](const char* name, const QString& caption, QLabel** labelOut = nullptr) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        // Wide enough for a whole date and time ("2010-05-06  07:08:09") in any font.
        edit->setMinimumWidth(250);
        auto* label = new QLabel(caption, group);
        label->setBuddy(edit); // the field's name, not the group's title
        form->addRow(label, edit);
        if (labelOut) *labelOut = label;
        return edit;
    };
    m_model = field("Edit1", QStringLiteral("机型"));
    m_band = field("Edit2", QStringLiteral("频段"));
    m_administrator = field("Edit3", QStringLiteral("管理员"), &m_administratorLabel);
    QLabel* salesLabel = nullptr;
    m_salesDate = field("Edit4", QStringLiteral("销售日期"), &salesLabel);
    m_factoryDate = field("Edit5", QStringLiteral("出厂日期"));
    m_user = field("Edit9", QStringLiteral("用户"));
    // The sales date is kept for the write procedure but not shown.
    salesLabel->hide();
    m_salesDate->hide();
    outer->addWidget(group);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, [this] {
        if (parentWidget())
            parentWidget()->close();
        else
            close();
    });
    outer->addWidget(ok, 0, Qt::AlignRight);
    m_status = new QStatusBar(this);
    m_status->setSizeGripEnabled(false);
    outer->addWidget(m_status);

    // The model and band fields keep their dashes: nothing ever fills them.
    m_model->setText(RadioInfo::Unfilled);
    m_band->setText(RadioInfo::Unfilled);
    connect(&session.radioInfo, &RadioInfo::changed, this, &Taddmessage::refresh);
    connect(&session.lang, &Language::applied, this, &Taddmessage::applyTexts);
    // The status line names the program's administrator once, in the language of the start.
    connect(&session.lang, &Language::applied, this, &Taddmessage::showAdministrator,
            Qt::SingleShotConnection);
    refresh();
}

void Taddmessage::refresh() {
    const RadioInfo& info = m_session.radioInfo;
    m_administrator->setText(info.administrator);
    m_salesDate->setText(info.salesDate);
    m_factoryDate->setText(info.factoryDate);
    m_user->setText(info.user);
}

void Taddmessage::applyTexts() {
    translateWidgetTree(this, m_session.lang);
}

void Taddmessage::showAdministrator() {
    if (m_administratorShown) return;
    m_administratorShown = true;
    m_status->showMessage(QStringLiteral("  ") + m_administratorLabel->text() + QStringLiteral("：") +
                          m_session.administrator);
}
