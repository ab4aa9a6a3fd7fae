// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/keyrules.h"
#include <QHash>
#include <QObject>
#include <QSpinBox>
#include <QValidator>
class ControlStore;
class QWidget;

// Connects the widgets of a window to the control states of a store, both ways. A widget takes
// part when its objectName is a control name of the store:
//   QComboBox    <-> selected position, items, enabled
//   QCheckBox    <-> check state, enabled
//   QLineEdit    <-> text, maximum length, enabled
//   QSpinBox     <-> up-down position, range and step
//   QTableWidget  -> grid cells (the rows the widget has; editing goes through the window)
//   any widget    -> enabled and hidden state
// Changes the user makes go into the store; every store change, wherever it comes from, is
// shown at once. The binder belongs to `root`.
class ControlBinder : public QObject {
    Q_OBJECT
public:
    ControlBinder(QWidget* root, ControlStore& store);
    QWidget* widget(const QString& name) const { return m_widgets.value(name); }
    void refreshAll();

private:
    void connectWidget(const QString& name, QWidget* w);
    void refresh(const QString& name);

    ControlStore& m_store;
    QHash<QString, QWidget*> m_widgets;
    bool m_updating = false;
};

// The arrow pair of an up-down control: the edit beside it shows the value in its own form
// ("1.5" for tenths of a second), so the spin box shows no number of its own.
class UpDownButtons : public QSpinBox {
    Q_OBJECT
public:
    explicit UpDownButtons(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// Takes typed and pasted text only when every character may stand in the field (DTMF codes
// also raise a-d to A-D), so a wrong key is simply dropped.
class KeyRuleValidator : public QValidator {
    Q_OBJECT
public:
    KeyRuleValidator(KeyRule rule, QObject* parent) : QValidator(parent), m_rule(rule) {}
    State validate(QString& input, int& pos) const override;

private:
    KeyRule m_rule;
};
