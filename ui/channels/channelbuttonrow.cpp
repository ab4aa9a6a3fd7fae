// SPDX-License-Identifier: GPL-3.0-or-later
// The button row below a channel table's grid: auto-add, delete all, move up and down, delete,
// and the ">>" button that widens the view; with the window geometry the row sits in.
#include "core/base/messages.h"
#include "core/codeplug/channelediting.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "ui/channels/channeleditorwidgets.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

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

// Auto-add waits a second before repeating, then adds a channel every 200 ms.
constexpr int FirstRepeatMs = 1000;
constexpr int RepeatMs = 200;

struct ButtonSpec {
    const char* name;
    const char* caption;
};
constexpr ButtonSpec Buttons[] = {{"Button1", "自动添加"}, {"Button2", "全部删除"}, {"Button3", "信道上移"},
                                  {"Button4", "信道下移"}, {"Button5", "信道删除"}, {"Button6", ">>"}};
} // namespace

QSize ChannelWindow::sizeHint() const {
    return {NarrowWindow, WindowHeight};
}

void ChannelWindow::buildButtons() {
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        auto* b = new QPushButton(QString::fromUtf8(Buttons[i].caption), this);
        b->setObjectName(QString::fromLatin1(Buttons[i].name));
        // A click on a button leaves the keyboard with the grid (or the open editor).
        b->setFocusPolicy(Qt::TabFocus);
        m_buttons[i] = b;
    }
    // ">>" and "<<" are the same in every language and change with the view.
    m_buttons[5]->setProperty("kt520_fixed", true);
    connect(m_buttons[0], &QPushButton::pressed, this, &ChannelWindow::autoAddPressed);
    connect(m_buttons[0], &QPushButton::released, m_timer, &QTimer::stop);
    connect(m_buttons[1], &QPushButton::clicked, this, &ChannelWindow::deleteAll);
    connect(m_buttons[2], &QPushButton::clicked, this, [this] { moveChannel(-1); });
    connect(m_buttons[3], &QPushButton::clicked, this, [this] { moveChannel(+1); });
    connect(m_buttons[4], &QPushButton::clicked, this, &ChannelWindow::deleteChannel);
    connect(m_buttons[5], &QPushButton::clicked, this, &ChannelWindow::toggleWidth);
}

void ChannelWindow::layoutChildren() {
    const int buttonsTop = height() - ButtonRow + 6;
    // A window made narrower than its view (a small screen) narrows the grid, which scrolls, and
    // keeps ">>" at the grid's right edge.
    const int gridWidth = std::min(m_gridWidth, std::max(width() - (WideWindow - WideGrid), 0));
    m_grid->setGeometry(0, 0, gridWidth, std::max(3 * ChannelGrid::RowHeight, height() - ButtonRow));
    for (int i = 0; i < 5; ++i)
        m_buttons[i]->setGeometry(8 + i * 110, buttonsTop, 100, 28);
    const int button6X = m_gridWidth == NarrowGrid ? NarrowButton6X : WideButton6X;
    // Never over the other buttons, even in a window the user made narrower still.
    m_buttons[5]->setGeometry(std::max(button6X - (m_gridWidth - gridWidth), 8 + 5 * 110), buttonsTop, 64,
                              28);
    placeEditors();
}

// ---- Buttons ----

void ChannelWindow::autoAddPressed() {
    m_suppressToggle = true;
    m_timer->start(FirstRepeatMs);
    autoAddStep(true);
}

void ChannelWindow::autoAddTick() {
    m_timer->setInterval(RepeatMs);
    m_suppressToggle = true;
    autoAddStep(false);
}

void ChannelWindow::autoAddStep(bool mouseDown) {
    Codeplug& doc = m_session.doc;
    const auto band = bandLimits(doc.main.currentItem(MainCtl::Band1));
    if (!band) {
        m_timer->stop(); // a band that holds no frequency gives nothing to add
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
            m_timer->stop();
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
        m_buttons[5]->setText(QStringLiteral("<<"));
    } else {
        m_gridWidth = NarrowGrid;
        setWindowWidth(NarrowWindow);
        m_buttons[5]->setText(QStringLiteral(">>"));
    }
    layoutChildren();
}
