// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/service/radioinfowindow.h"
#include "core/base/messages.h"
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
        // Wide enough for the status line that names both administrators.
        edit->setMinimumWidth(250);
        auto* label = new QLabel(caption, group);
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

    connect(&session.radioInfo, &RadioInfo::changed, this, &Taddmessage::refresh);
    connect(&session.lang, &Language::applied, this, &Taddmessage::applyTexts);
    refresh();
}

void Taddmessage::refresh() {
    const RadioInfo& info = m_session.radioInfo;
    m_model->setText(info.model);
    m_band->setText(info.band);
    m_administrator->setText(info.administrator);
    m_salesDate->setText(info.salesDate);
    m_factoryDate->setText(info.factoryDate);
    m_user->setText(info.user);
    showAdministrator();
}

void Taddmessage::applyTexts() {
    translateWidgetTree(this, m_session.lang);
    showAdministrator();
}

void Taddmessage::showAdministrator() {
    // The program's own name until a read shows the radio's; when they differ the next write
    // records the program's, and the line says so rather than contradict the field.
    const QString& read = m_session.radioInfo.administrator;
    const QString& ours = m_session.administrator;
    const QString label = m_administratorLabel->text();
    m_status->showMessage(QStringLiteral("  ") +
                          (!m_session.radioInfo.filled() || read == ours
                               ? label + QStringLiteral("：") + ours
                               : m_session.lang.text(Str::AdministratorAsRead).arg(label, read, ours)));
}
