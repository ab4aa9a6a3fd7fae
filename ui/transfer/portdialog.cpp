#include "ui/transfer/portdialog.h"
#include "core/base/appsettings.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
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

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), this);
        button->setObjectName(QStringLiteral("com%1").arg(n));
        auto* device = new QLabel(this);
        device->setObjectName(QStringLiteral("device%1").arg(n));
        device->setEnabled(false); // drawn greyed: it explains the button, it is not a choice
        const int row = (n - 1) / PerRow;
        const int col = (n - 1) % PerRow;
        grid->addWidget(button, row, 2 * col);
        grid->addWidget(device, row, 2 * col + 1);
        connect(button, &QRadioButton::clicked, this, &Tcommuny::comClick);
        m_ports[size_t(n - 1)] = button;
        m_devices[size_t(n - 1)] = device;
    }

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
    layout->addLayout(grid);
    layout->addLayout(bottom);
}

void Tcommuny::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tcommuny::FormShow() {
    const PortDirectory directory(m_session.files.settingsToRead());
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        QLabel* label = m_devices[size_t(n - 1)];
        const QString device = directory.device(n);
        label->setText(PortDirectory::isOverridden(n)
                           ? QStringLiteral("%1 %2").arg(m_session.lang.text(Str::DemoPort), device)
                           : device);
        label->setToolTip(device);
        m_ports[size_t(n - 1)]->setEnabled(directory.probe(n));
    }
    if (m_session.portNumber >= PortDirectory::FirstCom && m_session.portNumber <= PortDirectory::LastCom)
        m_ports[size_t(m_session.portNumber - 1)]->setChecked(true);
    m_single->setChecked(m_session.singlePortMode);
}

void Tcommuny::comClick() {
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n) {
        if (m_ports[size_t(n - 1)]->isChecked()) {
            m_session.portNumber = n;
            return;
        }
    }
}

void Tcommuny::singlePortClick() {
    m_session.singlePortMode = m_single->isChecked();
}
