// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/channels/channelgridwidgets.h"
#include "core/codeplug/channeltable.h"
#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

namespace {
// Pixel widths of the table columns 0-18; column 0 is the row-label header.
constexpr int ColumnWidths[ChannelTable::Columns] = {30, 70, 69, 70, 70, 61, 59, 57, 56, 54,
                                                     57, 42, 51, 49, 64, 54, 49, 61, 80};

bool isNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}
} // namespace

ChannelTableModel::ChannelTableModel(ChannelTable& table, QColor vfoBackground, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_vfoBackground(vfoBackground) {
    connect(&table, &ChannelTable::cellChanged, this, &ChannelTableModel::onCellChanged);
    connect(&table, &ChannelTable::tableReset, this, &ChannelTableModel::onTableReset);
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ChannelTable::LastRow;
}

int ChannelTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ChannelTable::Columns;
}

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = tableRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return m_table.cell(index.column(), row);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (row < ChannelTable::FirstChannelRow && index.column() > 0) return m_vfoBackground;
        return {};
    default:
        return {};
    }
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return orientation == Qt::Horizontal ? m_table.cell(section, 0) : m_table.cell(0, tableRow(section));
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.column() == 0) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ChannelTableModel::onCellChanged(int col, int row) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    if (col == 0) emit headerDataChanged(Qt::Vertical, modelRow(row), modelRow(row));
    const QModelIndex i = index(modelRow(row), col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

void ChannelTableModel::onTableReset() {
    emit headerDataChanged(Qt::Horizontal, 0, ChannelTable::Columns - 1);
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    emit dataChanged(index(0, 0), index(rowCount() - 1, ChannelTable::Columns - 1));
}

void ChannelCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::AlignCenter;
    option->features &= ~QStyleOptionViewItem::WrapText;
    option->textElideMode = Qt::ElideNone;
    option->state &= ~QStyle::State_HasFocus; // the highlight alone marks the current cell
}

void ChannelCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    painter->save();
    painter->setClipRect(option.rect);
    QStyledItemDelegate::paint(painter, option, index);
    painter->restore();
}

ChannelGrid::ChannelGrid(ChannelTableModel* model, QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("StringGrid1"));
    setModel(model);
    setItemDelegate(new ChannelCellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* h = horizontalHeader();
    h->setSectionResizeMode(QHeaderView::Fixed);
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setFixedHeight(RowHeight);
    h->setDefaultAlignment(Qt::AlignCenter);
    for (int c = 0; c < ChannelTable::Columns; ++c)
        setColumnWidth(c, ColumnWidths[c]);
    setColumnHidden(0, true);

    QHeaderView* v = verticalHeader();
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setDefaultSectionSize(RowHeight);
    v->setMinimumSectionSize(RowHeight);
    v->setHighlightSections(false);
    // A click on a row label makes that row current in the current column, with the keyboard on
    // the grid, so that Delete acts on the row the user pointed at.
    v->setSectionsClickable(true);
    connect(v, &QHeaderView::sectionPressed, this, [this](int section) {
        selectCell(currentCell().x(), ChannelTableModel::tableRow(section));
        setFocus(Qt::MouseFocusReason);
    });
    v->setFixedWidth(LabelWidth);
    v->setDefaultAlignment(Qt::AlignCenter);

    // The corner above the row labels shows the header of column 0.
    setCornerButtonEnabled(false);
    if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
    connect(model, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o, int first, int) {
        if (o == Qt::Horizontal && first == 0)
            if (auto* corner = findChild<QAbstractButton*>()) corner->update();
    });
    connect(h, &QHeaderView::sectionResized, this, &ChannelGrid::viewChanged);
    setCurrentCellQuietly(1, 1, false);
}

QModelIndex ChannelGrid::cellIndex(int col, int row) const {
    return model()->index(ChannelTableModel::modelRow(row), col);
}

QRect ChannelGrid::cellRect(int col, int row) const {
    return visualRect(cellIndex(col, row));
}

QPoint ChannelGrid::currentCell() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? QPoint(i.column(), ChannelTableModel::tableRow(i.row())) : QPoint(1, 1);
}

void ChannelGrid::setCurrentCellQuietly(int col, int row, bool scroll) {
    const QModelIndex i = cellIndex(col, row);
    if (!i.isValid() || col < 1) return;
    m_quiet = true;
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    m_quiet = false;
    if (scroll) scrollTo(i);
}

void ChannelGrid::selectCell(int col, int row) {
    const QModelIndex i = cellIndex(col, row);
    if (i.isValid() && col >= 1) selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_quiet || !current.isValid()) return;
    scrollTo(current);
    emit cellMoved(current.column(), ChannelTableModel::tableRow(current.row()), m_mousePress);
}

void ChannelGrid::pressCell(QMouseEvent* event) {
    const QModelIndex i = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !i.isValid() || i.column() < 1) {
        event->accept();
        return;
    }
    m_mousePress = true;
    QTableView::mousePressEvent(event);
    m_mousePress = false;
    if (currentIndex() == i) emit cellClicked(i.column(), ChannelTableModel::tableRow(i.row()));
}

void ChannelGrid::mousePressEvent(QMouseEvent* event) {
    pressCell(event);
}

// A fast second click is a click of its own: every click steps a value once.
void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    pressCell(event);
}

// Dragging does not move the current cell: only a press does.
void ChannelGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ChannelGrid::keyPressEvent(QKeyEvent* event) {
    event->ignore();
    emit keyTyped(event);
    if (event->isAccepted()) return;
    if (isNavigationKey(event->key())) {
        emit navigating();
        QTableView::keyPressEvent(event);
        return;
    }
    // Other typed text does nothing on the grid (no search by first letter).
    if (!event->text().isEmpty() && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGrid::wheelEvent(QWheelEvent* event) {
    emit wheelTurned();
    QTableView::wheelEvent(event);
}

void ChannelGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    emit scrolled();
}

void ChannelGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    emit drawn();
}

bool ChannelGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        if (auto* corner = qobject_cast<QAbstractButton*>(watched)) {
            paintCorner(corner);
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void ChannelGrid::paintCorner(QWidget* corner) {
    QPainter painter(corner);
    QStyleOptionHeader opt;
    opt.initFrom(corner);
    // The corner takes no clicks, yet its text reads like every other header.
    opt.state |= QStyle::State_Enabled;
    opt.palette.setCurrentColorGroup(QPalette::Active);
    opt.rect = corner->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.text = model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
    opt.textAlignment = Qt::AlignCenter;
    style()->drawControl(QStyle::CE_Header, &opt, &painter, corner);
}
