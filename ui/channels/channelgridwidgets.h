// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>
#include <QTableView>
class ChannelTable;

// Shows a channel table to a view. Model rows are the table rows 1-102 (row 0 holds the
// column headers and becomes the horizontal header); model columns are the table columns, and
// column 0, the fixed row labels, becomes the vertical header.
class ChannelTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ChannelTableModel(ChannelTable& table, QColor vfoBackground, QObject* parent = nullptr);

    static int tableRow(int modelRow) { return modelRow + 1; }
    static int modelRow(int tableRow) { return tableRow - 1; }
    ChannelTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void onCellChanged(int col, int row);
    void onTableReset();

    ChannelTable& m_table;
    QColor m_vfoBackground;
};

// Every cell on one line, centred both ways, clipped to the cell.
class ChannelCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// The grid StringGrid1. It reports what the user does and leaves the decisions to its window:
// a move of the current cell (by key, wheel or program), a mouse press on a cell, typed keys.
class ChannelGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 20;
    static constexpr int LabelWidth = 30;

    explicit ChannelGrid(ChannelTableModel* model, QWidget* parent = nullptr);

    QModelIndex cellIndex(int col, int row) const;
    // Where the cell (table column, table row) lies in viewport coordinates.
    QRect cellRect(int col, int row) const;
    // The highlighted cell as table column and row; (1, 1) while there is none.
    QPoint currentCell() const;
    // Moves the highlight without reporting a move (no commit, no click); `scroll` brings it
    // into view.
    void setCurrentCellQuietly(int col, int row, bool scroll);
    // Moves the highlight as a program move: reported by cellMoved like a key move.
    void selectCell(int col, int row);

signals:
    // The highlighted cell moved; byMouse when a mouse press moved it (cellClicked follows).
    void cellMoved(int col, int row, bool byMouse);
    void cellClicked(int col, int row);
    // A key arrives on the grid; the window accepts the event when it has handled the key.
    void keyTyped(QKeyEvent* event);
    // A key is about to move the highlight.
    void navigating();
    void wheelTurned();
    // The columns changed width: an editor over a cell takes the cell's new size.
    void viewChanged();
    // The cells scrolled. The viewport carries its children along; an in-place editor is not
    // meant to follow, so its window puts it back.
    void scrolled();
    // The cells were drawn (after any scroll, edit or move of the current cell).
    void drawn();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressCell(QMouseEvent* event);
    void paintCorner(QWidget* corner);

    bool m_quiet = false;
    bool m_mousePress = false;
};
