// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/rwservicepanel.h"
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace {
// Marks the controls that change a radio's calibration; the focus-chain test finds them by it.
const char* const ServiceProperty = "kt520_service";
} // namespace

RWServicePanel::RWServicePanel(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("ServiceGroup"));
    setProperty("kt520_fixed", true);
    auto* row = new QHBoxLayout(this);
    m_initialise = new QPushButton(QStringLiteral("初始化"), this);
    m_initialise->setObjectName(QStringLiteral("Button3"));
    m_initialise->setProperty("tag", 0);
    m_debugRows = new QCheckBox(QStringLiteral("调试频"), this);
    m_debugRows->setObjectName(QStringLiteral("CheckBox1"));
    // Usage levels 0 to 3; the radio's own words, the same in every language.
    m_usage = new QComboBox(this);
    m_usage->setObjectName(QStringLiteral("ComboBox1"));
    m_usage->addItems({QStringLiteral("不常发射"), QStringLiteral("较常发射"), QStringLiteral("常常发射"),
                       QStringLiteral("超常发射")});
    m_usage->setCurrentIndex(0);
    m_usageApply = new QPushButton(QStringLiteral("修改"), this);
    m_usageApply->setObjectName(QStringLiteral("Button5"));
    // Enter elsewhere in the dialog never presses a button that writes to a radio.
    for (QPushButton* button : {m_initialise, m_usageApply}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    row->addWidget(m_initialise);
    row->addWidget(m_debugRows);
    row->addWidget(m_usage);
    row->addWidget(m_usageApply);
    row->addStretch(1);
    setProperty(ServiceProperty, true);
    for (QWidget* control : std::initializer_list<QWidget*>{m_initialise, m_debugRows, m_usage, m_usageApply})
        control->setProperty(ServiceProperty, true);
    connect(m_initialise, &QPushButton::clicked, this, [this] {
        if (m_serviceMode) emit initialiseRequested();
    });
    connect(m_usageApply, &QPushButton::clicked, this, [this] {
        if (m_serviceMode) emit usageRequested(m_usage->currentIndex());
    });
    setServiceMode(false);
}

void RWServicePanel::setServiceMode(bool on) {
    m_serviceMode = on;
    setVisible(on);
    setEnabled(on);
    applyFocus();
}

void RWServicePanel::applyFocus() {
    // A hidden control keeps its place in the focus chain and its accessible actions: without
    // focus and disabled it has neither.
    const Qt::FocusPolicy policy = m_serviceMode ? Qt::StrongFocus : Qt::NoFocus;
    for (QWidget* control : std::initializer_list<QWidget*>{m_initialise, m_debugRows, m_usage, m_usageApply})
        control->setFocusPolicy(policy);
    if (!m_serviceMode) m_debugRows->setChecked(false);
}

bool RWServicePanel::debugRows() const {
    return m_serviceMode && m_debugRows->isChecked();
}

void RWServicePanel::setInitialiseMark(bool on) {
    m_initialise->setProperty("tag", on ? 1 : 0);
    m_initialise->setEnabled(!on);
}

bool RWServicePanel::initialiseMarked() const {
    return m_initialise->property("tag").toInt() == 1;
}

void RWServicePanel::setCommandsEnabled(bool on) {
    m_initialise->setEnabled(on && !initialiseMarked());
    m_usageApply->setEnabled(on);
}

int RWServicePanel::usageLevel() const {
    return m_usage->currentIndex();
}

QString RWServicePanel::usageText(int level) const {
    return m_usage->itemText(level);
}
