// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// The state of one control of a window, keyed by the control's name (ComboBox16, CheckBox34,
// Edit9, UpDown8, StringGrid1 ...). The document is these states: a list's selected position,
// a check box's state, an edit's text, an up-down's position, a grid's cells.
struct ControlState {
    enum class Kind { List, Check, Edit, UpDown, Grid, Other };
    Kind kind = Kind::Other;
    QString caption;   // built-in caption (Simplified Chinese)
    QStringList items; // List
    int index = -1;    // List: selected position, -1 = none
    bool checked = false;
    QString text;     // Edit
    int position = 0; // UpDown
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int maxLength = 0; // Edit: 0 = no limit
    bool enabled = true;
    bool visible = true;
    int columns = 0;          // Grid
    QList<QStringList> cells; // Grid: cells[row][col]
};

// All control states of one window. Every change goes through a setter, which emits
// controlChanged so that the window shows it and the data rules can follow it.
class ControlStore : public QObject {
    Q_OBJECT
public:
    explicit ControlStore(QObject* parent = nullptr) : QObject(parent) {}

    void define(const QString& name, const ControlState& state);
    // Every control of `other` as it stands, in its order, without a signal: for a store that
    // nothing watches yet. The states are shared until one side changes them.
    void copyControls(const ControlStore& other);
    // The one quiet question about a name. Every other call with a name no control has stops a
    // debug build or a run with KT520_STRICT_NAMES=1, and does nothing in a user's build.
    bool has(const QString& name) const { return m_controls.contains(name); }
    const ControlState& state(const QString& name) const;
    QStringList names() const { return m_order; }

    // List
    int index(const QString& name) const { return state(name).index; }
    void setIndex(const QString& name, int index); // an index beyond the list selects nothing
    QStringList items(const QString& name) const { return state(name).items; }
    QString currentItem(const QString& name) const;
    // Replaces the items and selects the remembered position again (nothing when beyond the list).
    void setItems(const QString& name, const QStringList& items);
    // Check
    bool checked(const QString& name) const { return state(name).checked; }
    void setChecked(const QString& name, bool on);
    // Edit
    QString text(const QString& name) const { return state(name).text; }
    void setText(const QString& name, const QString& text);
    int maxLength(const QString& name) const { return state(name).maxLength; }
    void setMaxLength(const QString& name, int length);
    // UpDown: the position is clamped to the range
    int position(const QString& name) const { return state(name).position; }
    void setPosition(const QString& name, int position);
    void setRange(const QString& name, int minimum, int maximum);
    // Common
    bool enabled(const QString& name) const { return state(name).enabled; }
    void setEnabled(const QString& name, bool on);
    bool visible(const QString& name) const { return state(name).visible; }
    void setVisible(const QString& name, bool on);
    void setCaption(const QString& name, const QString& caption);
    // Grid
    QString cell(const QString& name, int col, int row) const;
    void setCell(const QString& name, int col, int row, const QString& text);
    int rowCount(const QString& name) const { return int(state(name).cells.size()); }

signals:
    void controlChanged(const QString& name);

private:
    ControlState* find(const QString& name);
    QHash<QString, ControlState> m_controls;
    QStringList m_order;
};
