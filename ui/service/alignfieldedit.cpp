// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/service/alignfieldedit.h"
#include "core/codeplug/alignmentdata.h"
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Fields whose typed value above 255 becomes "255" on key release.
bool clampsAt255(int n) {
    return (n >= 401 && n <= 405) || (n >= 407 && n <= 411) || n == 415 || (n >= 416 && n <= 423);
}

QToolButton* arrow(QWidget* parent, Qt::ArrowType type, const QString& name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    return b;
}
} // namespace

AlignFieldEdit::AlignFieldEdit(const AlignField& field, QWidget* parent)
    : QWidget(parent), m_number(field.number) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit%1").arg(field.number));
    m_edit->setMaximumWidth(field.form == AlignForm::Hex8 ? 90 : 56);
    row->addWidget(m_edit);
    m_hasUpDown = field.form == AlignForm::Decimal || field.form == AlignForm::Signed ||
                  field.form == AlignForm::Millis;
    m_digitsOnly = field.form == AlignForm::Decimal || field.form == AlignForm::Millis;
    m_clamp255 = clampsAt255(field.number);
    if (field.form == AlignForm::Signed) {
        m_minimum = -127;
        m_maximum = 127;
    }
    if (field.form == AlignForm::Decimal) m_maximum = field.maximum;
    if (field.form == AlignForm::Millis) {
        m_minimum = 50;
        m_maximum = 500;
        m_step = 10;
    }
    if (m_hasUpDown) {
        auto* upDown = new QWidget(this);
        upDown->setObjectName(QStringLiteral("UpDown%1").arg(field.number));
        auto* arrows = new QVBoxLayout(upDown);
        arrows->setContentsMargins(0, 0, 0, 0);
        arrows->setSpacing(0);
        QToolButton* up = arrow(upDown, Qt::UpArrow, QStringLiteral("UpDown%1Up").arg(field.number));
        QToolButton* down = arrow(upDown, Qt::DownArrow, QStringLiteral("UpDown%1Down").arg(field.number));
        arrows->addWidget(up);
        arrows->addWidget(down);
        connect(up, &QToolButton::clicked, this, [this] { step(+1); });
        connect(down, &QToolButton::clicked, this, [this] { step(-1); });
        row->addWidget(upDown);
    }
    row->addStretch(1);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textChanged, this, &AlignFieldEdit::textChanged);
}

void AlignFieldEdit::setText(const QString& text) {
    if (m_edit->text() != text) m_edit->setText(text);
}

void AlignFieldEdit::textChanged(const QString& text) {
    // The up-down follows a typed number (within its range, as an up-down keeps its position).
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!text.isEmpty() && ok) m_position = std::clamp(value, m_minimum, m_maximum);
    emit edited(m_number, text);
}

void AlignFieldEdit::step(int direction) {
    m_position = std::clamp(m_position + direction * m_step, m_minimum, m_maximum);
    m_edit->setText(QString::number(m_position));
}

bool AlignFieldEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress && m_digitsOnly) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool control =
            key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Keys that type nothing (arrows, Delete, Tab) keep their meaning; typed characters must be digits.
        if (!control && !text.isEmpty() && text.at(0).isPrint()) {
            for (const QChar c : text)
                if (c < QChar('0') || c > QChar('9')) return true;
        }
    }
    if (watched == m_edit && event->type() == QEvent::KeyRelease && m_clamp255) {
        bool ok = false;
        if (m_edit->text().toInt(&ok) > 255 && ok) m_edit->setText(QStringLiteral("255"));
    }
    return QWidget::eventFilter(watched, event);
}
