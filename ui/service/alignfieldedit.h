// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
class QLineEdit;
class QToolButton;
struct AlignField;

// One alignment field as the window shows it: its edit ("Edit<number>") and, for the number
// fields, an up-down ("UpDown<number>") bound to it. The edit's key rules are those of the radio
// software: number fields take only digits, Backspace and Enter (the frequency trim any key, for
// its minus sign); the power and deviation fields turn a value above 255 into "255" when the
// key is released.
class AlignFieldEdit : public QWidget {
    Q_OBJECT
public:
    AlignFieldEdit(const AlignField& field, QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_edit; }
    int number() const { return m_number; }
    // The up-down's position; the edit's number when it holds one.
    int position() const { return m_position; }
    void setText(const QString& text);
    void step(int direction); // one click on the up (+1) or down (-1) arrow

signals:
    void edited(int number, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textChanged(const QString& text);

    int m_number;
    bool m_digitsOnly = false;
    bool m_clamp255 = false;
    bool m_hasUpDown = false;
    int m_minimum = 0;
    int m_maximum = 255;
    int m_step = 1;
    int m_position = 0;
    QLineEdit* m_edit;
};
