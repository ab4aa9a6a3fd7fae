// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <array>
class QPushButton;
class QTimer;

// The button row below a channel table's grid: "自动添加" (repeating while held), "全部删除",
// "信道上移", "信道下移", "信道删除", and ">>" that widens the view. It says what the user asked
// for; its table window decides what that does.
class ChannelButtonRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 28;
    explicit ChannelButtonRow(QWidget* parent);
    // The window stops a held auto-add: nothing more to add, or a message took the mouse.
    void stopAutoAdd();
    // ">>" becomes "<<" while the view is wide.
    void setWide(bool wide);
    // The first five from the left; the view button at `viewButtonX`, never over them.
    void place(int viewButtonX);

signals:
    // While auto-add is held: once at the press (`first`), then after a second every 200 ms.
    void autoAdd(bool first);
    void deleteAllClicked();
    void moveClicked(int direction); // -1 up, +1 down
    void deleteClicked();
    void widthClicked();

private:
    std::array<QPushButton*, 6> m_buttons{};
    QTimer* m_timer = nullptr;
};
