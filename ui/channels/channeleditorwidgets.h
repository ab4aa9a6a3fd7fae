// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QComboBox>
#include <QLineEdit>

// The in-place editors of a channel window. Each one filters what the user may type and
// reports the keys that end an edit; the window decides what happens to the cells.

// A line editor that sits over a cell: Enter and Escape end the edit, Up/Down/PageUp/PageDown
// go on to the grid (a dealer keeps typing channel after channel), and typed characters pass
// only when the editor accepts them.
class CellLineEdit : public QLineEdit {
    Q_OBJECT
public:
    CellLineEdit(const QString& name, int maxLength, QWidget* parent);

signals:
    void enterPressed();
    void escapePressed();
    void gridKey(QKeyEvent* event);
    void focusLeft();

protected:
    // Whether a typed character may go in; control shortcuts pass only if `allowShortcuts`.
    virtual bool acceptsChar(QChar c) const = 0;
    virtual bool allowShortcuts() const { return false; }
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Edit1 (frequency in MHz, separator after 3 characters) and Edit3 (CTCSS frequency in Hz,
// separator after 2): digits and one decimal separator, the system's.
class FrequencyEdit : public CellLineEdit {
    Q_OBJECT
public:
    FrequencyEdit(const QString& name, int minBeforeSeparator, QWidget* parent);

protected:
    bool acceptsChar(QChar c) const override;

private:
    int m_minBeforeSeparator;
};

// Edit2, the channel name: at most 7 printable ASCII characters without "|". Pasted or
// composed text loses the characters the radio cannot hold.
class NameEdit : public CellLineEdit {
    Q_OBJECT
public:
    explicit NameEdit(QWidget* parent);

protected:
    bool acceptsChar(QChar c) const override;
    bool allowShortcuts() const override { return true; }
};

// ComboBox1, the tone: an editable list taking at most 5 typed characters: digits, ".", D, N
// and I (small d, n, i become capitals). Backspace on the OFF entry (item 0) first empties it.
class ToneCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ToneCombo(QWidget* parent);

signals:
    void closeRequested();
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// ComboBox2, the compander/scrambler: a fixed list.
class CompanderCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CompanderCombo(QWidget* parent);

signals:
    void closeRequested();
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
