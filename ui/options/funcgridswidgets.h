// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QTableWidget>
class ControlStore;
class QLineEdit;

// The common look of the two small lists of the optional functions window: row 0 and column 0
// are fixed label cells, the value column is edited through an editor laid over the cell.
class FuncGrid : public QTableWidget {
    Q_OBJECT
public:
    FuncGrid(ControlStore& store, const QString& name, int shownRows, int valueWidth, QWidget* parent);
    QLineEdit* editor() const { return m_editor; }
    // Column 1 of rows 1 to the last shown row hold values; the rest are labels.
    bool isValueCell(int col, int row) const { return col == 1 && row >= 1 && row < rowCount(); }
    QSize sizeHint() const override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void showEditorOver(int col, int row, const QString& text);
    void hideEditor();
    ControlStore& m_store;
    const QString m_name;
    int m_valueWidth;
    QLineEdit* m_editor = nullptr;
};

// The FM list StringGrid2 (rows 0-31 shown; the store's row 32 carries the radio's 32nd slot)
// with its editor Edit18. The edit target is the cell Edit18 writes into; column 2 means none.
class FmList : public FuncGrid {
    Q_OBJECT
public:
    FmList(ControlStore& store, QWidget* parent);
    int targetCol() const { return m_targetCol; }
    int targetRow() const { return m_targetRow; }
    using FuncGrid::closeEditor;
    void closeEditor(); // the window lost activation

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clickCell(int row, int col);
    bool hasTarget() const { return isValueCell(m_targetCol, m_targetRow); }
    bool editorKey(QKeyEvent* event);
    void copyEditorToTarget();
    void normaliseTarget();

    int m_targetCol = 2;
    int m_targetRow = 1;
};

// The call list StringGrid1 with its editor Edit12 (DTMF codes, at most 15 characters).
class CallList : public FuncGrid {
    Q_OBJECT
public:
    CallList(ControlStore& store, QWidget* parent);
    using FuncGrid::closeEditor;
    void closeEditor() { hideEditor(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_col = 1;
    int m_row = 1;
};
