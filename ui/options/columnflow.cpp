// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/columnflow.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <vector>

namespace {
int blockHeight(QLayoutItem* item, int width) {
    return item->hasHeightForWidth() ? std::max(item->heightForWidth(width), item->minimumSize().height())
                                     : item->sizeHint().height();
}

// Where each column starts in `heights`, for at most `columns` columns in order, the tallest as
// short as possible (the blocks are few: a table over every split is quick).
std::vector<int> columnStarts(const std::vector<int>& heights, int columns, int spacing) {
    const int n = int(heights.size());
    if (n == 0) return {0};
    columns = std::clamp(columns, 1, n);
    auto run = [&](int from, int to) { // height of blocks [from, to) in one column
        int h = 0;
        for (int i = from; i < to; ++i)
            h += heights[size_t(i)] + (i > from ? spacing : 0);
        return h;
    };
    constexpr int Unset = std::numeric_limits<int>::max();
    // best[c][i]: the tallest column when the first i blocks fill c columns; from[c][i]: where the
    // last of those columns starts.
    std::vector<std::vector<int>> best(size_t(columns) + 1, std::vector<int>(size_t(n) + 1, Unset));
    std::vector<std::vector<int>> from(size_t(columns) + 1, std::vector<int>(size_t(n) + 1, 0));
    best[0][0] = 0;
    for (int c = 1; c <= columns; ++c)
        for (int i = 0; i <= n; ++i)
            for (int j = 0; j < i; ++j) { // no column stays empty
                if (best[size_t(c - 1)][size_t(j)] == Unset) continue;
                const int tallest = std::max(best[size_t(c - 1)][size_t(j)], run(j, i));
                if (tallest < best[size_t(c)][size_t(i)]) {
                    best[size_t(c)][size_t(i)] = tallest;
                    from[size_t(c)][size_t(i)] = j;
                }
            }
    std::vector<int> starts;
    for (int c = columns, i = n; c > 0; --c) {
        i = from[size_t(c)][size_t(i)];
        starts.insert(starts.begin(), i);
    }
    return starts;
}
} // namespace

ColumnFlowLayout::ColumnFlowLayout(QWidget* parent, int preferredColumns)
    : QLayout(parent), m_preferredColumns(std::max(preferredColumns, 1)) {
    setSpacing(8);
}

ColumnFlowLayout::~ColumnFlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void ColumnFlowLayout::addItem(QLayoutItem* item) {
    m_items << item;
}

QLayoutItem* ColumnFlowLayout::itemAt(int index) const {
    return m_items.value(index);
}

QLayoutItem* ColumnFlowLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int ColumnFlowLayout::count() const {
    return int(m_items.size());
}

QList<QLayoutItem*> ColumnFlowLayout::shownItems() const {
    QList<QLayoutItem*> shown;
    for (QLayoutItem* item : m_items)
        if (!item->isEmpty()) shown << item;
    return shown;
}

int ColumnFlowLayout::columnWidth(const QList<QLayoutItem*>& items) const {
    int width = 0;
    for (QLayoutItem* item : items)
        width = std::max({width, item->sizeHint().width(), item->minimumSize().width()});
    return width;
}

int ColumnFlowLayout::columnsFor(int width) const {
    const QList<QLayoutItem*> items = shownItems();
    const QMargins m = contentsMargins();
    const int column = columnWidth(items) + spacing();
    const int fit = column > 0 ? (width - m.left() - m.right() + spacing()) / column : 1;
    return std::clamp(fit, 1, std::max(int(items.size()), 1));
}

int ColumnFlowLayout::arrange(const QRect& rect, bool apply) const {
    const QList<QLayoutItem*> items = shownItems();
    const QMargins m = contentsMargins();
    const int width = columnWidth(items);
    std::vector<int> heights;
    for (QLayoutItem* item : items)
        heights.push_back(blockHeight(item, width));
    const std::vector<int> starts = columnStarts(heights, columnsFor(rect.width()), spacing());
    int tallest = 0;
    for (size_t c = 0; c < starts.size(); ++c) {
        const int end = c + 1 < starts.size() ? starts[c + 1] : int(items.size());
        const int x = rect.x() + m.left() + int(c) * (width + spacing());
        int y = rect.y() + m.top();
        for (int i = starts[c]; i < end; ++i) {
            if (apply) items[i]->setGeometry(QRect(x, y, width, heights[size_t(i)]));
            y += heights[size_t(i)] + spacing();
        }
        if (end > starts[c]) tallest = std::max(tallest, y - spacing() - rect.y() - m.top());
    }
    return tallest + m.top() + m.bottom();
}

int ColumnFlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

void ColumnFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

QSize ColumnFlowLayout::sizeHint() const {
    // The preferred number of columns side by side.
    const QList<QLayoutItem*> items = shownItems();
    const QMargins m = contentsMargins();
    const int columns = std::clamp(m_preferredColumns, 1, std::max(int(items.size()), 1));
    const int width = columns * columnWidth(items) + (columns - 1) * spacing() + m.left() + m.right();
    return {width, heightForWidth(width)};
}

QSize ColumnFlowLayout::minimumSize() const {
    // One column; the height comes from heightForWidth at the width given.
    const QList<QLayoutItem*> items = shownItems();
    const QMargins m = contentsMargins();
    int height = 0;
    for (QLayoutItem* item : items)
        height = std::max(height, item->minimumSize().height());
    return {columnWidth(items) + m.left() + m.right(), height + m.top() + m.bottom()};
}

namespace {
// An item view whose current cell the page follows.
const char* const Followed = "kt520_page_follows";
} // namespace

FlowPageScroll::FlowPageScroll(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // Always there, so that the width the columns flow into does not change as the bar comes
    // and goes (a scroll area sizes content that depends on its width before its bars).
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWidget(content);
    // The page's fields take the keyboard, not the page; and the page scrolls to whichever of
    // them has it, or to the current cell of a list, so the focus never sits out of sight.
    setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || !widget()->isAncestorOf(now)) return;
        if (auto* view = qobject_cast<QAbstractItemView*>(now); view && !view->property(Followed).toBool()) {
            view->setProperty(Followed, true);
            connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    [this, view] { reveal(view); });
        }
        reveal(now);
    });
}

void FlowPageScroll::reveal(QWidget* w) {
    if (!w->hasFocus()) return;
    QRect r(w->mapTo(widget(), QPoint(0, 0)), w->size());
    if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->currentIndex().isValid()) {
        const QRect cell = view->visualRect(view->currentIndex());
        const QRect shown =
            QRect(view->viewport()->mapTo(widget(), cell.topLeft()), cell.size()).intersected(r);
        if (!shown.isEmpty()) r = shown; // else the list scrolls its own rows to the cell
    }
    ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 4, r.height() / 2 + 4);
}

QSize FlowPageScroll::sizeHint() const {
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
}
