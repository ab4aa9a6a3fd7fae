// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/channels/channeleditorwidgets.h"
#include "core/base/numbers.h"
#include "core/codeplug/channelediting.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

namespace {
// Pasted or dropped text passes the same test as typed text: digits and one separator, the
// separator not before `minBefore` characters.
class FrequencyValidator : public QValidator {
public:
    FrequencyValidator(int minBefore, QObject* parent) : QValidator(parent), m_minBefore(minBefore) {}
    State validate(QString& input, int&) const override {
        const QChar dp = systemDecimalPoint();
        const int separator = input.indexOf(dp);
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (!(c >= QChar('0') && c <= QChar('9')) && i != separator) return Invalid;
        }
        return separator >= 0 && separator < m_minBefore ? Invalid : Acceptable;
    }

private:
    int m_minBefore;
};

// A name keeps only what the radio can show; other characters are dropped as they arrive.
class NameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        int removedBeforeCaret = 0;
        for (int i = 0; i < input.size() && i < pos; ++i)
            if (!nameCharAccepted(input.at(i))) ++removedBeforeCaret;
        input = nameFiltered(input);
        pos = std::max(0, pos - removedBeforeCaret);
        return Acceptable;
    }
};

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool hasShortcutModifier(const QKeyEvent* e) {
    return e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// The one character a key types, or nothing for keys that type no printable character.
std::optional<QChar> typedChar(const QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() != 1 || !t.at(0).isPrint() || hasShortcutModifier(e)) return std::nullopt;
    return t.at(0);
}
} // namespace

CellLineEdit::CellLineEdit(const QString& name, int maxLength, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setMaxLength(maxLength);
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setDragEnabled(false);
    setAcceptDrops(false);
    hide();
}

void CellLineEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isEnter(key)) {
        emit enterPressed();
        return;
    }
    switch (key) {
    case Qt::Key_Escape:
        emit escapePressed();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        emit gridKey(event);
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (const auto c = typedChar(event)) {
        if (acceptsChar(*c)) QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->text().isEmpty() || allowShortcuts()) QLineEdit::keyPressEvent(event);
}

void CellLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit focusLeft();
}

FrequencyEdit::FrequencyEdit(const QString& name, int minBeforeSeparator, QWidget* parent)
    : CellLineEdit(name, 9, parent), m_minBeforeSeparator(minBeforeSeparator) {
    setValidator(new FrequencyValidator(minBeforeSeparator, this));
}

bool FrequencyEdit::acceptsChar(QChar c) const {
    return frequencyCharAccepted(text(), c, systemDecimalPoint(), m_minBeforeSeparator);
}

NameEdit::NameEdit(QWidget* parent) : CellLineEdit(QStringLiteral("Edit2"), 7, parent) {
    setValidator(new NameValidator(this));
}

bool NameEdit::acceptsChar(QChar c) const {
    return nameCharAccepted(c);
}

ToneCombo::ToneCombo(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboBox1"));
    setEditable(true);
    setFrame(false);
    setInsertPolicy(QComboBox::NoInsert);
    // No completion: a partly typed tone must stay as typed ("8" is not "82.5").
    setCompleter(nullptr);
    lineEdit()->setMaxLength(5);
    lineEdit()->setAlignment(Qt::AlignCenter);
    lineEdit()->setDragEnabled(false);
    lineEdit()->setAcceptDrops(false);
    hide();
}

void ToneCombo::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isEnter(key) || key == Qt::Key_Escape) {
        emit closeRequested();
        return;
    }
    if (key == Qt::Key_Backspace) {
        if (count() > 0 && currentText() == itemText(0))
            lineEdit()->clear();
        else
            QComboBox::keyPressEvent(event);
        return;
    }
    if (const auto c = typedChar(event)) {
        if (const auto tone = toneChar(*c)) {
            QKeyEvent mapped(QEvent::KeyPress, key, event->modifiers() & ~Qt::ShiftModifier, QString(*tone));
            QComboBox::keyPressEvent(&mapped);
        }
        return;
    }
    if (event->text().isEmpty()) QComboBox::keyPressEvent(event); // list keys: Up, Down, Page keys, F4
}

void ToneCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit focusLeft();
}

CompanderCombo::CompanderCombo(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboBox2"));
    setFrame(false);
    hide();
}

void CompanderCombo::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event->key()) || event->key() == Qt::Key_Escape) {
        emit closeRequested();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CompanderCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit focusLeft();
}
