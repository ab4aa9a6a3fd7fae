// SPDX-License-Identifier: GPL-3.0-or-later
// What a channel table window does for its button row (auto-add, delete all, move up and down,
// delete, the wider view), with the window geometry the row sits in.
#include "core/base/messages.h"
#include "core/codeplug/channelediting.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "ui/channels/channelbuttonrow.h"
#include "ui/channels/channeleditorwidgets.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QMdiSubWindow>

namespace {
// Geometry of the two views: narrow shows the first columns, wide shows all of them.
constexpr int NarrowGrid = 753;
constexpr int WideGrid = 1146;
constexpr int NarrowWindow = 778;
constexpr int WideWindow = 1170;
constexpr int WidenWindowBelow = 1143;
constexpr int NarrowButton6X = 686;
constexpr int WideButton6X = 1079;
constexpr int ButtonRow = 40;
constexpr int WindowHeight = 480;
} // namespace

QSize ChannelWindow::sizeHint() const {
    return {NarrowWindow, WindowHeight};
}

void ChannelWindow::buildButtons() {
    m_buttons = new ChannelButtonRow(this);
    connect(m_buttons, &ChannelButtonRow::autoAdd, this, [this](bool first) {
        m_suppressToggle = true;
        autoAddStep(first);
    });
    connect(m_buttons, &ChannelButtonRow::deleteAllClicked, this, &ChannelWindow::deleteAll);
    connect(m_buttons, &ChannelButtonRow::moveClicked, this, &ChannelWindow::moveChannel);
    connect(m_buttons, &ChannelButtonRow::deleteClicked, this, &ChannelWindow::deleteChannel);
    connect(m_buttons, &ChannelButtonRow::widthClicked, this, &ChannelWindow::toggleWidth);
}

void ChannelWindow::layoutChildren() {
    const int buttonsTop = height() - ButtonRow + 6;
    // A window made narrower than its view (a small screen) narrows the grid, which scrolls, and
    // keeps ">>" at the grid's right edge.
    const int gridWidth = std::min(m_gridWidth, std::max(width() - (WideWindow - WideGrid), 0));
    m_grid->setGeometry(0, 0, gridWidth, std::max(3 * ChannelGrid::RowHeight, height() - ButtonRow));
    const int button6X = m_gridWidth == NarrowGrid ? NarrowButton6X : WideButton6X;
    m_buttons->setGeometry(0, buttonsTop, width(), ChannelButtonRow::Height);
    m_buttons->place(button6X - (m_gridWidth - gridWidth));
    placeEditors();
}

// ---- Buttons ----

void ChannelWindow::autoAddStep(bool mouseDown) {
    Codeplug& doc = m_session.doc;
    const auto band = bandLimits(doc.main.currentItem(MainCtl::Band1));
    if (!band) {
        m_buttons->stopAutoAdd(); // a band that holds no frequency gives nothing to add
        return;
    }
    const QString stepName = Ctl::ComboBox10;
    const int increment =
        stepIncrement(doc.func.currentItem(stepName))
            .value_or(stepIncrementAt(doc.func.index(stepName)).value_or(*stepIncrementAt(5)));
    doc.currentRow = std::max(doc.currentRow, 1);
    const int col = doc.currentCol;
    int row = doc.currentRow;
    if (mouseDown && !m_table.rowInUse(row)) {
        m_table.setCell(Col::RxFreq, row, QString::number(band->lower));
        m_table.sendcell(Col::RxFreq, row);
        m_table.newChannelDefaults(row, doc.words);
        m_grid->selectCell(col, row);
    } else if (mouseDown && m_table.cell(Col::RxTone, row).isEmpty()) {
        commitRow(col, row); // a row just typed is completed, not followed
        return;
    } else if (row < ChannelTable::LastRow) {
        const QString rx = m_table.cell(Col::RxFreq, row);
        const auto next = nextAutoAddFrequency(rx, increment, band->lower, band->upper);
        if (!next) {
            m_buttons->stopAutoAdd();
            if (!rx.isEmpty()) warnNumber(rx);
            return;
        }
        ++row;
        m_table.setCell(Col::RxFreq, row, *next);
        m_table.sendcell(Col::RxFreq, row);
        m_table.newChannelDefaults(row, doc.words);
        doc.currentRow = row;
        m_grid->selectCell(col, row);
    }
    if (isFrequencyColumn(doc.currentCol)) m_edit1->setText(m_table.cell(doc.currentCol, doc.currentRow));
}

void ChannelWindow::deleteAll() {
    // No editor stays open under the question, to write into the table whatever the answer.
    commitPendingEdit();
    hideEditors();
    const auto answer = ask(
        QMessageBox::Warning, m_session.lang.text(Str::DeleteAllCaption),
        m_session.lang.text(Str::DeleteAllQuestion).arg(historySideName(m_table.side() == Side::A ? 0 : 1)),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
    m_table.clearAll();
}

void ChannelWindow::moveChannel(int direction) {
    Codeplug& doc = m_session.doc;
    const int col = doc.currentCol;
    const int row = doc.currentRow;
    if (!commitRow(col, row)) return;
    // Channel 1 never moves into the VFO rows and VFO rows never move.
    const bool allowed = direction < 0 ? row > ChannelTable::FirstChannelRow
                                       : row >= ChannelTable::FirstChannelRow && row < ChannelTable::LastRow;
    if (allowed && !m_table.cell(col, row).isEmpty()) {
        m_table.swapRows(row, row + direction);
        doc.currentRow = row + direction;
    }
    followCurrentCell();
}

void ChannelWindow::followCurrentCell() {
    const Codeplug& doc = m_session.doc;
    const int col = doc.currentCol;
    const int row = doc.currentRow;
    // Editors of the other channel close; the frequency editor travels with the channel, and
    // so does the highlight, so that the keys act on the channel the user sees selected.
    for (EditorId id : {Name, Ctcss, Tone, Compander})
        if (m_editors[id].row != row) closeEditor(id);
    if (isFrequencyColumn(col)) {
        m_edit1->setText(m_table.cell(col, row));
        if (editorOpen(Freq)) {
            m_editors[Freq].col = col;
            m_editors[Freq].row = row;
        }
    }
    m_grid->setCurrentCellQuietly(col, row, true);
    placeEditors();
}

void ChannelWindow::deleteChannel() {
    const int row = m_session.doc.currentRow;
    if (row < 1) return;
    // Editors close first: a CTCSS editor that loses the keyboard writes its value.
    hideEditors();
    m_table.clearRow(row);
}

void ChannelWindow::setWindowWidth(int width) {
    if (QMdiSubWindow* frame = m_activation->frame())
        frame->resize(width + frame->width() - this->width(), frame->height());
    else
        resize(width, height());
}

void ChannelWindow::toggleWidth() {
    if (m_gridWidth == NarrowGrid) {
        m_gridWidth = WideGrid;
        if (width() < WidenWindowBelow) setWindowWidth(WideWindow);
        closeEditor(Name);
        m_buttons->setWide(true);
    } else {
        m_gridWidth = NarrowGrid;
        setWindowWidth(NarrowWindow);
        m_buttons->setWide(false);
    }
    layoutChildren();
}
