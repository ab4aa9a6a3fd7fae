// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/bindwidgets.h"
#include "core/codeplug/controlstore.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTableWidget>

ControlBinder::ControlBinder(QWidget* root, ControlStore& store) : QObject(root), m_store(store) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && store.has(name) && !m_widgets.contains(name)) connectWidget(name, w);
    }
    connect(&store, &ControlStore::controlChanged, this, &ControlBinder::refresh);
    refreshAll();
}

void ControlBinder::refreshAll() {
    for (auto it = m_widgets.constBegin(); it != m_widgets.constEnd(); ++it)
        refresh(it.key());
}

void ControlBinder::connectWidget(const QString& name, QWidget* w) {
    m_widgets.insert(name, w);
    ControlStore* store = &m_store;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::activated, this, [this, store, name](int index) {
            if (!m_updating) store->setIndex(name, index);
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::toggled, this, [this, store, name](bool on) {
            if (!m_updating) store->setChecked(name, on);
        });
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        connect(spin, &QSpinBox::valueChanged, this, [this, store, name](int value) {
            if (!m_updating) store->setPosition(name, value);
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this, [this, store, name](const QString& text) {
            if (!m_updating) store->setText(name, text);
        });
    }
}

void ControlBinder::refresh(const QString& name) {
    QWidget* w = m_widgets.value(name);
    if (!w) return;
    const ControlState& s = m_store.state(name);
    const bool wasUpdating = m_updating;
    m_updating = true;
    const QSignalBlocker block(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        if (shown != s.items) {
            combo->clear();
            combo->addItems(s.items);
        }
        combo->setCurrentIndex(s.index);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->isCheckable()) button->setChecked(s.checked);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        spin->setRange(s.minimum, s.maximum);
        spin->setSingleStep(std::max(1, s.step));
        spin->setValue(s.position);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setMaxLength(s.maxLength > 0 ? s.maxLength : 32767);
        if (edit->text() != s.text) edit->setText(s.text);
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
        const int rows = std::min(table->rowCount(), int(s.cells.size()));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < std::min(table->columnCount(), int(s.cells.at(r).size())); ++c) {
                QTableWidgetItem* item = table->item(r, c);
                if (!item) {
                    item = new QTableWidgetItem;
                    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    item->setTextAlignment(Qt::AlignCenter);
                    table->setItem(r, c, item);
                }
                if (item->text() != s.cells.at(r).at(c)) item->setText(s.cells.at(r).at(c));
            }
    }
    // A control the window keeps hidden is disabled too: a screen reader could still press or tick
    // it, and a disabled one offers nothing.
    w->setEnabled(s.enabled && s.visible);
    if (w->isHidden() == s.visible) w->setHidden(!s.visible);
    m_updating = wasUpdating;
}

UpDownButtons::UpDownButtons(QWidget* parent) : QSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // The number is shown by the edit beside the arrows.
    lineEdit()->hide();
    setFocusPolicy(Qt::ClickFocus);
}

QSize UpDownButtons::sizeHint() const {
    QStyleOptionSpinBox opt;
    initStyleOption(&opt);
    const int arrows = style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, this).width();
    const int frame = style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, &opt, this);
    return {std::max(14, arrows) + frame, QSpinBox::sizeHint().height()};
}

void UpDownButtons::resizeEvent(QResizeEvent* event) {
    QSpinBox::resizeEvent(event);
    lineEdit()->hide();
}

QValidator::State KeyRuleValidator::validate(QString& input, int&) const {
    const auto filtered = filterText(m_rule, input);
    if (!filtered) return Invalid;
    input = *filtered;
    return Acceptable;
}
