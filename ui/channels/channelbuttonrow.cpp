// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/channels/channelbuttonrow.h"
#include <QPushButton>
#include <QTimer>

namespace {
// Auto-add waits a second before repeating, then adds a channel every 200 ms.
constexpr int FirstRepeatMs = 1000;
constexpr int RepeatMs = 200;
constexpr int Pitch = 110; // from one button's left edge to the next one's
constexpr int Left = 8;

struct ButtonSpec {
    const char* name;
    const char* caption;
};
constexpr ButtonSpec Buttons[] = {{"Button1", "自动添加"}, {"Button2", "全部删除"}, {"Button3", "信道上移"},
                                  {"Button4", "信道下移"}, {"Button5", "信道删除"}, {"Button6", ">>"}};
} // namespace

ChannelButtonRow::ChannelButtonRow(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        auto* b = new QPushButton(QString::fromUtf8(Buttons[i].caption), this);
        b->setObjectName(QString::fromLatin1(Buttons[i].name));
        // A click on a button leaves the keyboard with the grid (or the open editor).
        b->setFocusPolicy(Qt::TabFocus);
        m_buttons[i] = b;
    }
    // ">>" and "<<" are the same in every language and change with the view.
    m_buttons[5]->setProperty("kt520_fixed", true);
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timer->setInterval(RepeatMs);
        emit autoAdd(false);
    });
    connect(m_buttons[0], &QPushButton::pressed, this, [this] {
        m_timer->start(FirstRepeatMs);
        emit autoAdd(true);
    });
    connect(m_buttons[0], &QPushButton::released, m_timer, &QTimer::stop);
    connect(m_buttons[1], &QPushButton::clicked, this, &ChannelButtonRow::deleteAllClicked);
    connect(m_buttons[2], &QPushButton::clicked, this, [this] { emit moveClicked(-1); });
    connect(m_buttons[3], &QPushButton::clicked, this, [this] { emit moveClicked(+1); });
    connect(m_buttons[4], &QPushButton::clicked, this, &ChannelButtonRow::deleteClicked);
    connect(m_buttons[5], &QPushButton::clicked, this, &ChannelButtonRow::widthClicked);
}

void ChannelButtonRow::stopAutoAdd() {
    m_timer->stop();
}

void ChannelButtonRow::setWide(bool wide) {
    m_buttons[5]->setText(wide ? QStringLiteral("<<") : QStringLiteral(">>"));
}

void ChannelButtonRow::place(int viewButtonX) {
    for (int i = 0; i < 5; ++i)
        m_buttons[i]->setGeometry(Left + i * Pitch, 0, 100, Height);
    m_buttons[5]->setGeometry(std::max(viewButtonX, Left + 5 * Pitch), 0, 64, Height);
}
