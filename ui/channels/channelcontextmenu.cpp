// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/channels/channelcontextmenu.h"
#include "core/base/messages.h"
#include "core/codeplug/channelclipboard.h"
#include "core/codeplug/session.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>
#include <algorithm>

namespace {
// The menu's commands for one grid; the rows they act on are fixed when the menu opens or a
// key is pressed.
class ChannelCommands : public QObject {
public:
    ChannelCommands(ChannelWindow* window, QTableView* grid, Session& session, ChannelTable& table)
        : QObject(grid), m_window(window), m_grid(grid), m_session(session), m_table(table) {
        const auto add = [this](int text, QKeySequence key, void (ChannelCommands::*slot)()) {
            auto* a = new QAction(m_grid);
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetShortcut);
            a->setProperty("kt520_fixed", true);
            a->setData(text);
            connect(a, &QAction::triggered, this, [this, slot] {
                if (!m_fromMenu) m_rows = rowsAt(-1);
                m_fromMenu = false;
                (this->*slot)();
            });
            m_grid->addAction(a);
            m_actions << a;
        };
        add(Str::EditCut, QKeySequence::Cut, &ChannelCommands::cut);
        add(Str::EditCopy, QKeySequence::Copy, &ChannelCommands::copy);
        add(Str::EditPaste, QKeySequence::Paste, &ChannelCommands::paste);
        add(Str::InsertChannel, QKeySequence(Qt::Key_Insert), &ChannelCommands::insert);
        add(Str::DeleteChannel, QKeySequence(), &ChannelCommands::remove);
        m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_grid, &QWidget::customContextMenuRequested, this, &ChannelCommands::showMenu);
    }

private:
    // The selected rows when the row in question is among them, else that row alone (-1: the
    // current row).
    QList<int> rowsAt(int modelRow) const {
        const int row = modelRow >= 0 ? ChannelTableModel::tableRow(modelRow) : m_session.doc.currentRow;
        QList<int> rows;
        for (const QModelIndex& i : m_grid->selectionModel()->selectedIndexes())
            rows << ChannelTableModel::tableRow(i.row());
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        return rows.contains(row) ? rows : QList<int>{row};
    }

    void showMenu(const QPoint& pos) {
        const QModelIndex at = m_grid->indexAt(pos);
        // The clicked cell becomes the current one first, as a key move would make it (the row
        // left is committed); a selection of several rows that holds it stays selected.
        if (at.isValid() && at.column() >= 1) {
            const QModelIndexList selected = m_grid->selectionModel()->selectedIndexes();
            const bool inSelection = std::any_of(selected.begin(), selected.end(),
                                                 [&](const QModelIndex& i) { return i.row() == at.row(); });
            m_grid->selectionModel()->setCurrentIndex(at, inSelection ? QItemSelectionModel::NoUpdate
                                                                      : QItemSelectionModel::ClearAndSelect);
        }
        m_rows = rowsAt(at.isValid() ? at.row() : -1);
        QMenu menu(m_grid);
        for (QAction* a : m_actions) {
            a->setText(m_session.lang.text(a->data().toInt()));
            menu.addAction(a);
            if (a->data().toInt() == Str::EditPaste) menu.addSeparator();
        }
        m_fromMenu = true;
        menu.exec(m_grid->viewport()->mapToGlobal(pos));
        m_fromMenu = false;
    }

    // A pending cell edit belongs to the channel before any command moves it.
    void settle() {
        m_window->commitPendingEdit();
        m_window->hideEditors();
    }

    void copy() {
        settle();
        QApplication::clipboard()->setText(channelsToText(m_table, m_rows));
    }
    void cut() {
        copy();
        for (int row : m_rows)
            m_table.clearRow(row);
    }
    void paste() {
        settle();
        const QList<QStringList> channels = channelsFromText(QApplication::clipboard()->text());
        if (channels.isEmpty() || m_rows.isEmpty()) {
            tell(Str::PasteRefused);
            return;
        }
        pasteChannels(m_table, m_rows.first(), channels);
    }
    void insert() {
        settle();
        if (m_rows.isEmpty() || !insertEmptyChannel(m_table, m_rows.first())) tell(Str::InsertRefused);
    }
    void remove() {
        settle();
        for (int row : m_rows)
            m_table.clearRow(row);
    }

    void tell(int text) {
        m_window->messageBox(m_window, QMessageBox::Warning, m_session.lang.messages.warnCaption,
                             m_session.lang.text(text), QMessageBox::Ok);
    }

    ChannelWindow* m_window;
    QTableView* m_grid;
    Session& m_session;
    ChannelTable& m_table;
    QList<QAction*> m_actions;
    QList<int> m_rows;
    bool m_fromMenu = false;
};

// The column headers: a tooltip on each, and each column at least as wide as its header text in
// the current language (the grid's own widths stay the least).
class HeaderTips : public QObject {
public:
    HeaderTips(QTableView* grid, Session& session)
        : QObject(grid), m_grid(grid), m_header(grid->horizontalHeader()), m_session(session) {
        m_header->viewport()->installEventFilter(this);
        for (int col = 0; col < ChannelTable::Columns; ++col)
            m_least << m_grid->columnWidth(col);
        connect(m_grid->model(), &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o) {
            if (o == Qt::Horizontal) fitColumns();
        });
        fitColumns();
    }

    void fitColumns() {
        const QFontMetrics metrics = m_header->fontMetrics();
        for (int col = 1; col < ChannelTable::Columns; ++col) {
            const QString text = m_grid->model()->headerData(col, Qt::Horizontal).toString();
            const int wanted = std::max(m_least.at(col), metrics.horizontalAdvance(text) + 12);
            if (m_grid->columnWidth(col) != wanted) m_grid->setColumnWidth(col, wanted);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
        auto* help = static_cast<QHelpEvent*>(event);
        const int col = m_header->logicalIndexAt(help->pos());
        if (col < 0 || col >= ChannelTable::Columns)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), m_session.lang.text(Str::TipColChannel + col), m_header);
        return true;
    }

private:
    QTableView* m_grid;
    QHeaderView* m_header;
    Session& m_session;
    QList<int> m_least;
};
} // namespace

void installChannelContextMenu(ChannelWindow* window, QTableView* grid, Session& session,
                               ChannelTable& table) {
    new ChannelCommands(window, grid, session, table);
}

void installChannelHeaderTips(QTableView* grid, Session& session) {
    new HeaderTips(grid, session);
}
