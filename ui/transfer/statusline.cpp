// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/statusline.h"
#include <QPainter>
#include <QResizeEvent>

namespace {
constexpr int Margin = 3; // around the text, as the status bar keeps around its items
constexpr int TextFlags = Qt::AlignLeading | Qt::AlignVCenter | Qt::TextWordWrap;
} // namespace

WrappingStatusBar::WrappingStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    // A new message may need more or fewer lines: the dialog's layout asks again.
    connect(this, &QStatusBar::messageChanged, this, [this] {
        updateGeometry();
        update();
    });
}

QRect WrappingStatusBar::textArea(int width) const {
    return QRect(0, 0, width, 0).adjusted(Margin, Margin, -Margin, 0);
}

int WrappingStatusBar::heightFor(int width) const {
    const int single = fontMetrics().height() + 2 * Margin;
    if (currentMessage().isEmpty()) return single;
    const QRect area = textArea(width);
    const QRect needed = fontMetrics().boundingRect(QRect(area.topLeft(), QSize(area.width(), 1 << 20)),
                                                    TextFlags, currentMessage());
    return std::max(single, needed.height() + 2 * Margin);
}

QSize WrappingStatusBar::sizeHint() const {
    // The width comes from the rest of the dialog; the height from the text at that width.
    return {QStatusBar::minimumSizeHint().width(), heightFor(width())};
}

QSize WrappingStatusBar::minimumSizeHint() const {
    return sizeHint();
}

void WrappingStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    // The first real width can wrap the text differently from the width guessed before it.
    if (event->size().width() != event->oldSize().width() && heightFor(width()) != height()) updateGeometry();
}

void WrappingStatusBar::paintEvent(QPaintEvent*) {
    // The status bar would draw its message on one line and cut it at the edge.
    QPainter p(this);
    p.setPen(palette().windowText().color());
    p.drawText(rect().adjusted(Margin, Margin, -Margin, -Margin), TextFlags, currentMessage());
}
