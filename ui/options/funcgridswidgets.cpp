// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/funcgridswidgets.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/controlstore.h"
#include "core/codeplug/funcrules.h"
#include "ui/common/bindwidgets.h"
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

namespace {
bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// Enter or F2: edit the value as it stands.
bool isEditKey(const QKeyEvent* e) {
    return isEnter(e) || e->key() == Qt::Key_F2;
}

// A character key (what produces text); navigation and function keys give none.
bool isCharacterKey(const QKeyEvent* e) {
    return !e->text().isEmpty() || e->key() == Qt::Key_Backspace;
}

// Edit18 holds digits and at most one separator of the system, whatever way the text comes in
// (the key rules below decide where a typed separator may go).
class FmTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const QChar dp = systemDecimalPoint();
        int separators = 0;
        for (QChar c : input) {
            if (c == dp)
                ++separators;
            else if (c < '0' || c > '9')
                return Invalid;
        }
        return separators <= 1 ? Acceptable : Invalid;
    }
};
} // namespace

FuncGrid::FuncGrid(ControlStore& store, const QString& name, int shownRows, int valueWidth, QWidget* parent)
    : QTableWidget(shownRows, 2, parent), m_store(store), m_name(name), m_valueWidth(valueWidth) {
    setObjectName(name);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setColumnWidth(0, 40);
    setColumnWidth(1, valueWidth);
    horizontalHeader()->setStretchLastSection(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrows move from cell to cell; Tab leaves the list.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCornerButtonEnabled(false);
    setMinimumWidth(sizeHint().width());
    const QBrush fixed = palette().button();
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            if (!isValueCell(c, r)) item->setBackground(fixed);
            setItem(r, c, item);
        }

    m_editor = new QLineEdit(viewport());
    m_editor->setMaxLength(15);
    m_editor->setContextMenuPolicy(Qt::NoContextMenu);
    m_editor->setAcceptDrops(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { hideEditor(); });
}

QSize FuncGrid::sizeHint() const {
    // The value column stretches, so its width is not a hint; the designed widths are.
    const int width = 40 + m_valueWidth + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    return {width, verticalHeader()->defaultSectionSize() * std::min(rowCount(), 12) + 2 * frameWidth()};
}

void FuncGrid::focusInEvent(QFocusEvent* event) {
    // Arriving by the keyboard, the first value is current, ready for the arrows or typing.
    if (!currentIndex().isValid()) setCurrentCell(1, 1);
    QTableWidget::focusInEvent(event);
}

void FuncGrid::showEditorOver(int col, int row, const QString& text) {
    const QRect cell = visualRect(model()->index(row, col));
    m_editor->setGeometry(cell);
    m_editor->setText(text);
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus();
}

void FuncGrid::hideEditor() {
    if (m_editor->hasFocus()) setFocus();
    m_editor->hide();
}

FmList::FmList(ControlStore& store, QWidget* parent) : FuncGrid(store, Ctl::StringGrid2, 32, 118, parent) {
    m_editor->setObjectName(QStringLiteral("Edit18"));
    m_editor->setValidator(new FmTextValidator(m_editor));
    connect(this, &QTableWidget::cellClicked, this, &FmList::clickCell);
}

void FmList::closeEditor() {
    hideEditor();
}

void FmList::clickCell(int row, int col) {
    hideEditor();
    m_editor->clear();
    if (!isValueCell(col, row)) {
        m_targetCol = 2; // the label cells are not edited
        return;
    }
    m_targetCol = col;
    m_targetRow = row;
    showEditorOver(col, row, m_store.cell(m_name, col, row));
    m_editor->setProperty("kt520_typed", false);
}

void FmList::keyPressEvent(QKeyEvent* event) {
    if (!isCharacterKey(event) && !isEditKey(event)) {
        QTableWidget::keyPressEvent(event); // arrows and paging move through the list
        return;
    }
    event->accept();
    if (!hasTarget()) {
        const QModelIndex current = currentIndex();
        if (!current.isValid() || !isValueCell(current.column(), current.row())) return;
        m_targetCol = current.column();
        m_targetRow = current.row();
    }
    const QString typed = event->text();
    const bool digit = typed.size() == 1 && typed.at(0) >= '0' && typed.at(0) <= '9';
    QString text;
    if (isEditKey(event))
        text = m_store.cell(m_name, 1, m_targetRow);
    else if (digit)
        text = typed;
    showEditorOver(m_targetCol, m_targetRow, text);
    m_editor->setCursorPosition(std::min<int>(1, int(text.size())));
    // A digit starts the new value and Backspace empties the cell; any other key is dropped and
    // leaves the cell as it was until something is typed.
    const bool typedSomething = digit || event->key() == Qt::Key_Backspace;
    m_editor->setProperty("kt520_typed", false);
    if (typedSomething) copyEditorToTarget();
}

bool FmList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && event->type() == QEvent::KeyPress)
        return editorKey(static_cast<QKeyEvent*>(event));
    if (watched == m_editor && event->type() == QEvent::KeyRelease &&
        m_editor->property("kt520_typed").toBool())
        copyEditorToTarget();
    return QTableWidget::eventFilter(watched, event);
}

bool FmList::editorKey(QKeyEvent* e) {
    if (isEnter(e)) {
        hideEditor();
        setFocus();
        if (!m_editor->text().isEmpty()) normaliseTarget();
        ++m_targetCol; // column 2: no target until the next click
        return true;
    }
    if (!isCharacterKey(e)) return false; // caret movement
    const QString typed = e->text();
    const QChar dp = systemDecimalPoint();
    const QString text = m_editor->text();
    bool pass = e->key() == Qt::Key_Backspace;
    if (typed.size() == 1 && typed.at(0) >= '0' && typed.at(0) <= '9') pass = true;
    if (typed.size() == 1 && typed.at(0) == dp && text.size() >= 2 && !text.contains(dp)) pass = true;
    if (pass) m_editor->setProperty("kt520_typed", true);
    return !pass;
}

void FmList::copyEditorToTarget() {
    if (!hasTarget()) return;
    m_store.setCell(m_name, m_targetCol, m_targetRow, m_editor->text());
    // The list shows the value normalised while the editor keeps what is typed.
    normaliseTarget();
}

void FmList::normaliseTarget() {
    if (!hasTarget()) return;
    const QString cell = m_store.cell(m_name, m_targetCol, m_targetRow);
    if (cell.isEmpty()) return;
    if (const auto normal = normaliseFmFrequency(cell))
        m_store.setCell(m_name, m_targetCol, m_targetRow, *normal);
}

CallList::CallList(ControlStore& store, QWidget* parent)
    : FuncGrid(store, Ctl::StringGrid1, 17, 132, parent) {
    m_editor->setObjectName(QStringLiteral("Edit12"));
    m_editor->setValidator(new KeyRuleValidator(KeyRule::DtmfCode, m_editor));
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int col) {
        hideEditor();
        if (!isValueCell(col, row)) return;
        m_col = col;
        m_row = row;
        showEditorOver(col, row, m_store.cell(m_name, col, row));
    });
}

void CallList::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (!current.isValid() || !isValueCell(current.column(), current.row()) ||
        (!typed && !isEditKey(event))) {
        QTableWidget::keyPressEvent(event); // arrows and paging move through the list
        return;
    }
    event->accept();
    m_col = current.column();
    m_row = current.row();
    // Enter and F2 edit the code as it stands; a typed character starts a new one, through the
    // editor's own rules for DTMF characters.
    showEditorOver(m_col, m_row, typed ? QString() : m_store.cell(m_name, m_col, m_row));
    if (typed) {
        QKeyEvent key(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
        QCoreApplication::sendEvent(m_editor, &key);
        m_store.setCell(m_name, m_col, m_row, m_editor->text());
    }
}

bool CallList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key) || key->key() == Qt::Key_Escape) {
            hideEditor();
            return true;
        }
    }
    if (watched == m_editor && event->type() == QEvent::KeyRelease && m_editor->isVisible())
        m_store.setCell(m_name, m_col, m_row, m_editor->text());
    return QTableWidget::eventFilter(watched, event);
}
