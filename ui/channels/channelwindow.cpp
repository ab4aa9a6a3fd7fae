// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/channels/channelwindow.h"
#include "core/base/messages.h"
#include "core/codeplug/channelediting.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "ui/channels/channelbuttonrow.h"
#include "ui/channels/channelcontextmenu.h"
#include "ui/channels/channeleditorwidgets.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/common/translatewidgets.h"
#include <QApplication>
#include <QKeyEvent>

namespace {
// Tone list positions above this one ("250.3", "254.1" and every DCS code) and position 0 (OFF)
// leave no place for a CTCSS frequency of the channel's own.
constexpr int LastToneKeepingCtcss = 56;

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A CTCSS frequency belongs beside a CTCSS transmit tone or none: a tone text that starts with a
// digit, not a DCS code and not an OFF word.
bool ctcssAllowed(const QString& txTone) {
    return txTone.isEmpty() || txTone.at(0) <= QChar('9');
}

} // namespace

ChannelWindow::ChannelWindow(Session& session, Side side, QWidget* parent)
    : QWidget(parent), messageBox([](QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                     const QString& text, QMessageBox::StandardButtons buttons) {
          // A question is answered No by Enter as by Escape: nothing is lost by a slip.
          return showMessageBox(parent, icon, caption, text, buttons,
                                buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::NoButton);
      }),
      m_session(session), m_table(session.doc.table(side)) {
    setWindowTitle(side == Side::A ? QStringLiteral("信道编辑 A") : QStringLiteral("信道编辑 B"));
    m_model =
        new ChannelTableModel(m_table, side == Side::A ? QColor(166, 202, 240) : QColor(192, 220, 192), this);
    m_grid = new ChannelGrid(m_model, this);
    m_activation = new ActivationWatch(this);
    connect(m_activation, &ActivationWatch::activated, this, &ChannelWindow::activated);
    connect(m_activation, &ActivationWatch::deactivated, this, &ChannelWindow::deactivated);
    buildEditors();
    buildButtons();

    connect(m_grid, &ChannelGrid::cellMoved, this, &ChannelWindow::onCellMoved);
    connect(m_grid, &ChannelGrid::cellClicked, this, [this](int col, int row) { clickCell(col, row, true); });
    connect(m_grid, &ChannelGrid::keyTyped, this, &ChannelWindow::onGridKey);
    connect(m_grid, &ChannelGrid::navigating, this, [this] { m_suppressToggle = true; });
    connect(m_grid, &ChannelGrid::wheelTurned, this, [this] {
        if (m_session.doc.currentCol > Col::TxTone) m_suppressToggle = true;
    });
    connect(m_grid, &ChannelGrid::viewChanged, this, &ChannelWindow::placeEditors);
    connect(m_grid, &ChannelGrid::scrolled, this, &ChannelWindow::holdEditorsInPlace);
    // Queued: an editor is not hidden while the grid is still painting.
    connect(m_grid, &ChannelGrid::drawn, this, &ChannelWindow::hideEditorsOffCurrentCell,
            Qt::QueuedConnection);
    connect(&session.lang, &Language::applied, this, &ChannelWindow::applyLanguageTexts);
    applyLanguageTexts();
    installChannelContextMenu(this, m_grid, session, m_table);
    installChannelHeaderTips(m_grid, session);
    resize(sizeHint());
}

ChannelWindow::~ChannelWindow() {
    // The editors outlive this object's members while QWidget deletes them: nothing they
    // report on the way out may reach the window.
    for (QObject* c : findChildren<QObject*>())
        disconnect(c, nullptr, this, nullptr);
}

void ChannelWindow::buildEditors() {
    QWidget* viewport = m_grid->viewport();
    m_edit1 = new FrequencyEdit(QStringLiteral("Edit1"), 3, viewport);
    m_edit2 = new NameEdit(viewport);
    m_edit3 = new FrequencyEdit(QStringLiteral("Edit3"), 2, viewport);
    m_tone = new ToneCombo(viewport);
    m_compander = new CompanderCombo(viewport);
    m_editors[Freq].widget = m_edit1;
    m_editors[Name].widget = m_edit2;
    m_editors[Ctcss].widget = m_edit3;
    m_editors[Tone].widget = m_tone;
    m_editors[Compander].widget = m_compander;

    // Each line editor writes its whole text into its cell as the user types.
    const std::pair<CellLineEdit*, EditorId> lineEditors[] = {
        {m_edit1, Freq}, {m_edit2, Name}, {m_edit3, Ctcss}};
    for (auto [edit, id] : lineEditors) {
        connect(edit, &QLineEdit::textEdited, this, [this, id = id](const QString& text) {
            const Editor& e = m_editors[id];
            m_table.setCell(e.col, e.row, text);
        });
        connect(edit, &CellLineEdit::escapePressed, this, [this, id = id] { leaveEditorToGrid(id); });
        connect(edit, &CellLineEdit::gridKey, this, [this](QKeyEvent* event) {
            m_grid->setFocus(Qt::OtherFocusReason);
            QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(m_grid, &copy);
        });
    }
    connect(m_edit1, &CellLineEdit::enterPressed, this, &ChannelWindow::onFrequencyEnter);
    connect(m_edit2, &CellLineEdit::enterPressed, this, [this] { leaveEditorToGrid(Name); });
    connect(m_edit3, &CellLineEdit::enterPressed, this, [this] { leaveEditorToGrid(Ctcss); });
    connect(m_edit3, &CellLineEdit::focusLeft, this, &ChannelWindow::onCtcssLeft);

    connect(m_tone, &QComboBox::editTextChanged, this, &ChannelWindow::onToneEdited);
    connect(m_tone, &ToneCombo::focusLeft, this, &ChannelWindow::onToneLeft);
    connect(m_tone, &ToneCombo::closeRequested, this, [this] { leaveEditorToGrid(Tone); });
    connect(m_compander, &QComboBox::activated, this, &ChannelWindow::onCompanderChosen);
    connect(m_compander, &CompanderCombo::focusLeft, this, [this] { closeEditor(Compander); });
    connect(m_compander, &CompanderCombo::closeRequested, this, [this] { leaveEditorToGrid(Compander); });
}

void ChannelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void ChannelWindow::applyLanguageTexts() {
    const ValueWords& w = m_session.doc.words;
    m_tones = toneList(w);
    m_loading = true;
    // The tone list changes only its OFF entry; the selection stays where it is.
    if (m_tone->count() != m_tones.size()) {
        m_tone->clear();
        m_tone->addItems(m_tones);
    } else {
        m_tone->setItemText(0, w.off);
    }
    const int keep = m_compander->currentIndex();
    m_compander->clear();
    m_compander->addItems(companderList(w));
    m_compander->setCurrentIndex(keep);
    m_loading = false;
    if (m_session.lang.loaded) translateWidgetTree(this, m_session.lang);
}

// ---- Grid ----

void ChannelWindow::onCellMoved(int col, int row, bool byMouse) {
    // The row being left is committed before anything happens at the new cell.
    commitRow(m_session.doc.currentCol, m_session.doc.currentRow);
    if (!byMouse) clickCell(col, row, false);
}

void ChannelWindow::clickCell(int col, int row, bool byMouse) {
    Codeplug& doc = m_session.doc;
    hideEditors();
    doc.currentCol = col;
    doc.currentRow = row;
    if (col < 1 || row < 1) return;
    if (col == Col::RxFreq) {
        openEditor(Freq, col, row);
        return;
    }
    if (!m_table.rowInUse(row)) return;
    switch (col) {
    case Col::TxFreq:
        openEditor(Freq, col, row);
        return;
    case Col::RxTone:
    case Col::TxTone:
        openEditor(Tone, col, row);
        // Typed text goes into the tone at once: "88.5" or "D0" right after the click.
        if (byMouse) m_tone->setFocus(Qt::MouseFocusReason);
        return;
    case Col::Compander:
        openEditor(Compander, col, row);
        return;
    case Col::Name:
        if (row >= ChannelTable::FirstChannelRow) {
            openEditor(Name, col, row);
            if (byMouse) m_edit2->setFocus(Qt::MouseFocusReason);
        }
        return;
    case Col::CtcssFreq:
        if (ctcssAllowed(m_table.cell(Col::TxTone, row))) {
            openEditor(Ctcss, col, row);
            if (byMouse) m_edit3->setFocus(Qt::MouseFocusReason);
        }
        return;
    default:
        break;
    }
    // Only a real mouse click steps a value. A move by keys, wheel or auto-add sets the
    // suppression flag, and the first click after it only clears the flag.
    if (!byMouse) return;
    if (const auto next = steppedValue(col, m_table.cell(col, row), doc.words)) {
        if (m_suppressToggle)
            m_suppressToggle = false;
        else
            m_table.setCell(col, row, *next);
    }
}

bool ChannelWindow::typingAllowed() const {
    const Codeplug& doc = m_session.doc;
    return doc.currentCol == Col::RxFreq ||
           (doc.currentCol == Col::TxFreq && m_table.rowInUse(doc.currentRow));
}

void ChannelWindow::onGridKey(QKeyEvent* event) {
    const Codeplug& doc = m_session.doc;
    const int col = doc.currentCol;
    const int row = doc.currentRow;
    if (row < 1) return;
    const int key = event->key();
    if (key == Qt::Key_Delete) {
        hideEditors();
        m_table.clearRow(row);
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace) {
        // A whole normalised frequency ("438.50000") goes at once, ready for a new one.
        if (isFrequencyColumn(col) && m_table.cell(col, row).size() == 9) {
            m_table.setCell(col, row, {});
            m_edit1->clear();
        }
        event->accept();
        return;
    }
    if (isEnterKey(key)) {
        event->accept();
        if (!typingAllowed()) {
            // Other editors open at the current cell take the keyboard on Enter as well.
            for (EditorId id : {Name, Ctcss, Tone, Compander})
                if (editorOpen(id) && m_editors[id].col == col && m_editors[id].row == row)
                    m_editors[id].widget->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (!m_table.rowInUse(row)) {
            hideEditors();
            m_table.clearRow(row);
            return;
        }
        if (!editorOpen(Freq) || m_editors[Freq].col != col || m_editors[Freq].row != row)
            openEditor(Freq, col, row);
        m_edit1->setFocus(Qt::OtherFocusReason);
        m_edit1->end(false);
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text.at(0) >= QChar('0') && text.at(0) <= QChar('9') &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (typingAllowed()) startFrequency(text);
        event->accept();
    }
}

bool ChannelWindow::commitRow(int col, int row) {
    if (row < 1 || row > ChannelTable::LastRow) return true;
    const QString typed[] = {m_table.cell(Col::RxFreq, row), m_table.cell(Col::TxFreq, row)};
    if (m_table.sendallcell(col, row, m_session.doc.words)) {
        // The clamp into 100-550 MHz stays, but is not silent.
        const QString band = m_session.doc.main.currentItem(MainCtl::Band1);
        for (int i = 0; i < 2; ++i) {
            const QString stored = m_table.cell(i == 0 ? Col::RxFreq : Col::TxFreq, row);
            if (stored == typed[i]) continue;
            const QString note = clampedFrequencyNote(typed[i], stored, band, m_session.lang);
            if (!note.isEmpty()) {
                emit statusMessage(note);
                break;
            }
        }
        return true;
    }
    const QString here = m_table.cell(col, row);
    const bool hereFails = isFrequencyColumn(col) && !here.isEmpty() && !parseDecimal(here);
    warnNumber(hereFails ? here : m_table.cell(Col::RxFreq, row));
    return false;
}

// ---- Editors ----

bool ChannelWindow::editorOpen(EditorId id) const {
    return !m_editors[id].widget->isHidden();
}

bool ChannelWindow::frequencyEditorVisible() const {
    return editorOpen(Freq);
}

bool ChannelWindow::editorHasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    for (const Editor& e : m_editors)
        if (focus && (focus == e.widget || e.widget->isAncestorOf(focus))) return true;
    return false;
}

void ChannelWindow::openEditor(EditorId id, int col, int row) {
    Editor& e = m_editors[id];
    e.col = col;
    e.row = row;
    // A screen reader names the editor after the cell it edits: column header and channel.
    e.widget->setAccessibleName(m_model->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString() +
                                QChar(' ') + m_table.cell(Col::Label, row));
    const QString text = m_table.cell(col, row);
    m_loading = true;
    switch (id) {
    case Freq:
        m_edit1->setText(text);
        break;
    case Name:
        m_edit2->setText(text);
        break;
    case Ctcss:
        m_edit3->setText(text);
        break;
    case Tone: {
        m_toneTyped = false;
        // A cell that holds no list entry is shown as it is, not as the last tone used.
        const int i = m_tones.indexOf(text);
        if (i >= 0) m_tone->setCurrentIndex(i);
        m_tone->setEditText(text);
        m_tone->lineEdit()->selectAll();
        break;
    }
    case Compander:
        m_compander->setCurrentIndex(companderList(m_session.doc.words).indexOf(text));
        break;
    case EditorCount:
        break;
    }
    m_loading = false;
    e.placed = m_grid->cellRect(col, row);
    e.widget->setGeometry(e.placed);
    e.widget->show();
    e.widget->raise();
}

void ChannelWindow::closeEditor(EditorId id) {
    QWidget* w = m_editors[id].widget;
    if (w->isHidden()) return;
    const QWidget* focus = QApplication::focusWidget();
    // The keyboard goes back to the grid, not to whatever widget comes next; the editor sees
    // its focus leave first, so its leaving rules run before it hides.
    if (focus && (focus == w || w->isAncestorOf(focus))) m_grid->setFocus(Qt::OtherFocusReason);
    w->hide();
}

void ChannelWindow::hideEditors() {
    for (int id = 0; id < EditorCount; ++id)
        closeEditor(EditorId(id));
}

void ChannelWindow::goToCell(int col, int row) {
    m_grid->setFocus(Qt::OtherFocusReason);
    m_grid->selectCell(col, row);
}

void ChannelWindow::leaveEditorToGrid(EditorId id) {
    m_grid->setFocus(Qt::OtherFocusReason);
    closeEditor(id);
}

void ChannelWindow::placeEditors() {
    for (Editor& e : m_editors)
        if (!e.widget->isHidden()) {
            e.placed = m_grid->cellRect(e.col, e.row);
            e.widget->setGeometry(e.placed);
        }
}

void ChannelWindow::holdEditorsInPlace() {
    for (const Editor& e : m_editors)
        if (!e.widget->isHidden()) e.widget->setGeometry(e.placed);
}

void ChannelWindow::hideEditorsOffCurrentCell() {
    // An editor stays where it was opened, over the current cell. Once its top no longer lines
    // up with the current cell's (the grid scrolled, or the current cell moved to another row)
    // it would sit over some other channel, so it goes.
    const Codeplug& doc = m_session.doc;
    const int currentTop = m_grid->cellRect(doc.currentCol, doc.currentRow).top();
    for (int id = 0; id < EditorCount; ++id)
        if (editorOpen(EditorId(id)) && m_editors[id].widget->y() != currentTop) closeEditor(EditorId(id));
}

void ChannelWindow::startFrequency(const QString& digit) {
    const Codeplug& doc = m_session.doc;
    const int col = doc.currentCol;
    const int row = doc.currentRow;
    if (!editorOpen(Freq) || m_editors[Freq].col != col || m_editors[Freq].row != row)
        openEditor(Freq, col, row);
    m_edit1->setText(digit);
    m_table.setCell(col, row, digit);
    m_edit1->setFocus(Qt::OtherFocusReason);
    m_edit1->end(false);
}

void ChannelWindow::onFrequencyEnter() {
    const Editor e = m_editors[Freq];
    leaveEditorToGrid(Freq);
    commitRow(e.col, e.row);
}

void ChannelWindow::commitPendingEdit() {
    if (editorOpen(Freq)) commitRow(m_editors[Freq].col, m_editors[Freq].row);
}

void ChannelWindow::onCtcssLeft() {
    const Editor& e = m_editors[Ctcss];
    if (e.row < 1) return;
    if (const auto value = ctcssFieldValue(m_edit3->text())) {
        m_edit3->setText(*value);
        m_table.setCell(Col::CtcssFreq, e.row, *value);
    }
}

void ChannelWindow::onToneEdited(const QString& text) {
    if (m_loading || m_tones.isEmpty()) return;
    m_toneTyped = true;
    const Editor& e = m_editors[Tone];
    if (text.isEmpty()) {
        // An emptied tone is OFF, shown selected so that the next character replaces it.
        m_loading = true;
        m_tone->setCurrentIndex(0);
        m_tone->setEditText(m_tones.first());
        m_tone->lineEdit()->selectAll();
        m_loading = false;
        m_table.setCell(e.col, e.row, m_tones.first());
        return;
    }
    // A partly typed tone shows as OFF until it matches an entry.
    m_table.setCell(e.col, e.row, m_tones.contains(text) ? text : m_tones.first());
    // The list follows the typing ("D0" shows the DCS codes) without changing the text.
    const auto match = std::find_if(m_tones.cbegin(), m_tones.cend(), [&text](const QString& tone) {
        return tone.startsWith(text, Qt::CaseInsensitive);
    });
    if (match != m_tones.cend()) {
        const QModelIndex index = m_tone->model()->index(int(match - m_tones.cbegin()), 0);
        m_tone->view()->setCurrentIndex(index);
        m_tone->view()->scrollTo(index);
    }
}

void ChannelWindow::onToneLeft() {
    const Editor& e = m_editors[Tone];
    const QString typed = m_tone->currentText();
    const int i = m_tones.indexOf(typed);
    if (e.row >= 1 && (i == 0 || i > LastToneKeepingCtcss)) m_table.setCell(Col::CtcssFreq, e.row, {});
    // A tone the radio does not know never reaches the cell; the user hears why.
    if (m_toneTyped && i < 0 && !typed.isEmpty() && e.row >= 1)
        emit statusMessage(m_session.lang.text(Str::ToneNotInList).arg(typed, m_table.cell(e.col, e.row)));
    m_toneTyped = false;
    closeEditor(Tone);
}

void ChannelWindow::onCompanderChosen(int index) {
    const Editor& e = m_editors[Compander];
    if (!m_loading && e.row >= 1 && index >= 0)
        m_table.setCell(Col::Compander, e.row, m_compander->itemText(index));
}

// ---- Activation and messages ----

void ChannelWindow::activated() {
    // Show the shared current cell, which a click in the other table may have moved.
    const Codeplug& doc = m_session.doc;
    if (m_grid->currentCell() != QPoint(doc.currentCol, doc.currentRow))
        m_grid->setCurrentCellQuietly(doc.currentCol, doc.currentRow, false);
}

void ChannelWindow::deactivated() {
    if (m_inMessage) return;
    // A button held while the window lost the mouse may never see its release.
    m_buttons->stopAutoAdd();
    // Another program taking the activation moves no focus inside this window, so the tone and
    // CTCSS fields are left here: their leaving rules hold as on any other way out (a DCS tone
    // drops the CTCSS frequency, which is clamped to 55-255 Hz).
    if (editorOpen(Tone)) onToneLeft();
    if (editorOpen(Ctcss)) onCtcssLeft();
    for (EditorId id : {Name, Ctcss, Tone, Compander})
        closeEditor(id);
    if (editorOpen(Freq)) {
        const Editor e = m_editors[Freq];
        commitRow(e.col, e.row);
        closeEditor(Freq);
    }
}

QMessageBox::StandardButton ChannelWindow::ask(QMessageBox::Icon icon, const QString& caption,
                                               const QString& text, QMessageBox::StandardButtons buttons) {
    // A modal box takes the mouse: a held auto-add button would never see its release.
    m_buttons->stopAutoAdd();
    m_inMessage = true;
    const auto answer = messageBox ? messageBox(this, icon, caption, text, buttons) : QMessageBox::NoButton;
    m_inMessage = false;
    return answer;
}

void ChannelWindow::warnNumber(const QString& text) {
    ask(QMessageBox::Warning, m_session.lang.messages.warnCaption, numberConversionText(m_session.lang, text),
        QMessageBox::Ok);
}

Tchannela::Tchannela(Session& session, QWidget* parent) : ChannelWindow(session, Side::A, parent) {
    setObjectName(QStringLiteral("Tchannela"));
}

Tchannelb::Tchannelb(Session& session, QWidget* parent) : ChannelWindow(session, Side::B, parent) {
    setObjectName(QStringLiteral("Tchannelb"));
}
