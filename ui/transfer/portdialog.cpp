// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/portdialog.h"
#include "core/base/appsettings.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include "core/transfer/replydelay.h"
#include "ui/common/messagebox.h"
#include "ui/common/translatewidgets.h"
#include "ui/transfer/portstatus.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int PerRow = 4;
}

Tcommuny::Tcommuny(Session& session, QWidget* parent) : QDialog(parent), m_session(session) {
    setObjectName(QStringLiteral("Tcommuny"));
    setWindowTitle(QStringLiteral("通信端口"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    m_group = new QGroupBox(QStringLiteral("通信端口"), this);
    m_group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(m_group);
    grid->setHorizontalSpacing(12);
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), m_group);
        button->setObjectName(QStringLiteral("com%1").arg(n));
        button->setProperty("kt520_fixed", true);
        auto* device = new QLabel(m_group);
        device->setObjectName(QStringLiteral("device%1").arg(n));
        device->setProperty("kt520_fixed", true);
        device->setEnabled(false); // drawn greyed: it explains the button, it is not a choice
        const int row = (n - 1) / PerRow;
        const int col = (n - 1) % PerRow;
        grid->addWidget(button, row, 2 * col);
        grid->addWidget(device, row, 2 * col + 1);
        connect(button, &QRadioButton::clicked, this, &Tcommuny::comClick);
        m_ports[size_t(n - 1)] = button;
        m_devices[size_t(n - 1)] = device;
    }
    m_none = new QLabel(this);
    m_none->setObjectName(QStringLiteral("NoPortsLabel"));
    m_none->setProperty("kt520_fixed", true);
    m_none->setWordWrap(true);
    m_none->hide();

    m_deviceCaption = new QLabel(this);
    m_deviceCaption->setProperty("kt520_fixed", true);
    m_deviceEdit = new QLineEdit(this);
    m_deviceEdit->setObjectName(QStringLiteral("DeviceEdit"));
    m_deviceEdit->setPlaceholderText(PortDirectory::exampleDevice());
    m_deviceCaption->setBuddy(m_deviceEdit);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(m_deviceCaption);
    deviceRow->addWidget(m_deviceEdit, 1);
    m_adapter = new QLabel(this);
    m_adapter->setObjectName(QStringLiteral("AdapterLabel"));
    m_adapter->setProperty("kt520_fixed", true);
    m_adapter->setEnabled(false);
    m_replyDelay = new QLabel(this);
    m_replyDelay->setObjectName(QStringLiteral("ReplyDelayLabel"));
    m_replyDelay->setProperty("kt520_fixed", true);
    m_replyDelay->setWordWrap(true);
    m_replyDelay->setTextInteractionFlags(Qt::TextSelectableByMouse); // the fix can be copied
    m_replyDelay->hide();

    m_single = new QCheckBox(QStringLiteral("单口"), this);
    m_single->setObjectName(QStringLiteral("CheckBox1"));
    connect(m_single, &QCheckBox::clicked, this, &Tcommuny::singlePortClick);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_single);
    bottom->addStretch();
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    layout->addWidget(m_none);
    layout->addLayout(deviceRow);
    layout->addWidget(m_adapter);
    layout->addWidget(m_replyDelay);
    layout->addLayout(bottom);
    connect(&session.lang, &Language::applied, this, &Tcommuny::applyTexts);
    applyTexts();
}

void Tcommuny::applyTexts() {
    translateWidgetTree(this, m_session.lang);
    m_none->setText(m_session.lang.text(Str::PortNoneFound));
    // The system's port list is slow to walk and the language mostly changes while the dialog is
    // hidden: the devices are looked up when it shows.
    if (isVisible())
        FormShow();
    else
        showChoiceCaption();
}

void Tcommuny::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tcommuny::FormShow() {
    const PortDirectory directory(m_session.files.settingsToRead());
    const QList<PortAdapter> adapters = directory.adapters();
    const int chosen = m_session.portNumber;
    bool anyDevice = false;
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        QLabel* label = m_devices[size_t(n - 1)];
        const QString device = directory.device(n);
        const PortDirectory::State state = directory.state(n);
        // A number without a device says only that; a device that cannot be opened says why.
        const QString shown = device.isEmpty() ? m_session.lang.text(Str::PortNoDevice)
                              : PortDirectory::isOverridden(n)
                                  ? QStringLiteral("%1 %2").arg(m_session.lang.text(Str::DemoPort), device)
                                  : device;
        const QString why = state == PortDirectory::State::Free || device.isEmpty()
                                ? QString()
                                : portStateText(m_session.lang, state);
        label->setText(why.isEmpty() ? shown : shown + QLatin1Char('\n') + why);
        // The adapter's name would widen four columns past a small screen: it is told on
        // pointing at the port, to a screen reader, and under the field for the chosen one.
        const QString adapter = adapters.at(n - PortDirectory::FirstCom).text();
        m_adapterTexts[size_t(n - 1)] = adapter;
        QString about = why.isEmpty() ? device : device + QStringLiteral(": ") + why;
        if (!adapter.isEmpty()) about += QLatin1Char('\n') + adapter;
        label->setToolTip(about);
        // All sixteen stay in their places; the exclusive open of this showing decides which
        // can be chosen.
        QRadioButton* button = m_ports[size_t(n - 1)];
        button->setEnabled(state == PortDirectory::State::Free);
        button->setToolTip(about);
        button->setAccessibleDescription(about);
        anyDevice = anyDevice || !device.isEmpty();
    }
    m_none->setVisible(!anyDevice);
    if (chosen >= PortDirectory::FirstCom && chosen <= PortDirectory::LastCom)
        m_ports[size_t(chosen - 1)]->setChecked(true);
    m_single->setChecked(m_session.singlePortMode);
    showDeviceOfChoice(directory);
    adjustSize();
}

void Tcommuny::showChoiceCaption() {
    const int chosen = m_session.portNumber;
    const bool valid = chosen >= PortDirectory::FirstCom && chosen <= PortDirectory::LastCom;
    m_deviceCaption->setText((valid ? QStringLiteral("COM%1 ").arg(chosen) : QString()) +
                             m_session.lang.text(Str::PortDeviceField));
}

void Tcommuny::showDeviceOfChoice(const PortDirectory& directory) {
    showChoiceCaption();
    const int chosen = m_session.portNumber;
    const bool valid = chosen >= PortDirectory::FirstCom && chosen <= PortDirectory::LastCom;
    m_shownDevice = valid && !PortDirectory::isOverridden(chosen) ? directory.device(chosen) : QString();
    m_deviceEdit->setText(m_shownDevice);
    m_deviceEdit->setEnabled(valid && !PortDirectory::isOverridden(chosen));
    const QString adapter = valid ? m_adapterTexts[size_t(chosen - 1)] : QString();
    m_adapter->setText(adapter);
    m_adapter->setVisible(!adapter.isEmpty());
    // The demo's virtual radio is no cable: nothing is told of it.
    const auto delay = m_shownDevice.isEmpty() ? std::nullopt : ReplyDelayStore().recall(m_shownDevice);
    const QString slow = delay ? lastTransferText(*delay, m_session.lang) : QString();
    m_replyDelay->setText(slow);
    m_replyDelay->setVisible(!slow.isEmpty());
}

void Tcommuny::comClick() {
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        if (m_ports[size_t(n - 1)]->isChecked()) {
            if (n != m_session.portNumber) {
                m_session.portNumber = n;
                showDeviceOfChoice(PortDirectory(m_session.files.settingsToRead()));
            }
            return;
        }
    }
}

void Tcommuny::singlePortClick() {
    m_session.singlePortMode = m_single->isChecked();
}

bool Tcommuny::storeTypedDevice() {
    const QString typed = m_deviceEdit->text().trimmed();
    if (!m_deviceEdit->isEnabled() || typed == m_shownDevice) return true;
    // An empty field gives the number back to the system's list of ports.
    if (auto error = m_session.files.prepareSettings()) {
        showWarning(this, m_session.lang.messages.warnCaption, *error);
        return false;
    }
    IniFile ini = IniFile::load(m_session.files.settingsFile);
    ini.setText(QStringLiteral("ports"), QStringLiteral("com%1").arg(m_session.portNumber), typed);
    if (auto error = ini.save(m_session.files.settingsFile)) {
        showWarning(this, m_session.lang.messages.warnCaption, *error);
        return false;
    }
    m_shownDevice = typed;
    return true;
}

void Tcommuny::accept() {
    if (!storeTypedDevice()) return;
    QDialog::accept();
}
