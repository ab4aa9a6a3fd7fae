// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLayout>
#include <QList>
#include <QScrollArea>

// Blocks (group boxes, runs of fields) set in columns of one width, as many columns as the
// width holds, up to a preferred count. The blocks keep their order, top to bottom and then
// left to right, and are dealt out so that the tallest column is as short as it can be. A
// narrow window gets fewer, taller columns and scrolls only up and down.
class ColumnFlowLayout : public QLayout {
public:
    explicit ColumnFlowLayout(QWidget* parent, int preferredColumns);
    ~ColumnFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

    // How many columns a width holds (at least one).
    int columnsFor(int width) const;

private:
    QList<QLayoutItem*> shownItems() const;
    int columnWidth(const QList<QLayoutItem*>& items) const;
    // Lays the blocks out in `rect` (moving them when `apply`), returns the height used.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
    int m_preferredColumns;
};

// A page that scrolls up and down when the window is lower than its blocks. It asks for the
// room of its content at the preferred column count (a scroll area alone asks for a fixed size).
class FlowPageScroll : public QScrollArea {
    Q_OBJECT
public:
    explicit FlowPageScroll(QWidget* content, QWidget* parent = nullptr);
    QSize sizeHint() const override;

private:
    void reveal(QWidget* focused);
};
