// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include "core/codeplug/controlstore.h"
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <vector>
class Codeplug;
class Language;

// One change of the document as the values before and after of what it touched. Cells and
// control states are display text (shared strings), so a cell edit costs a few hundred bytes.
struct DocumentStep {
    struct Cell {
        quint8 side = 0; // 0 = table A, 1 = table B
        quint8 col = 0;
        quint8 row = 0;
        QString before;
        QString after;
    };
    struct Control {
        quint8 store = 0; // 0 = optional functions, 1 = selection panel
        QString name;
        ControlState before;
        ControlState after;
    };
    QString name;
    bool named = false; // named by its caller, never merged with the next one
    std::vector<Cell> cells;
    std::vector<Control> controls;
    bool pathChanged = false;
    QString pathBefore;
    QString pathAfter;

    bool empty() const { return cells.empty() && controls.empty() && !pathChanged; }
};

// The undo history of the document and whether it differs from what was last opened, saved,
// read or written. It watches the document's change signals, so every editing operation is
// recorded without help: what changes within one turn of the event loop is one step. A caller
// that spans several turns (a transfer with its waits), or wants its own name for the step,
// opens a HistoryScope. Nothing is recorded until start() (the command line never calls it).
class DocumentHistory : public QObject {
    Q_OBJECT
public:
    DocumentHistory(Codeplug& doc, const Language& lang, QObject* parent = nullptr);

    // Starts recording from the document as it is now: an empty history, unmodified.
    void start();
    bool recording() const { return m_recording; }

    bool canUndo() const;
    bool canRedo() const;
    QString undoName() const; // the name of the step undo() takes back; empty when none
    QString redoName() const;
    void undo();
    void redo();
    int stepCount() const { return int(m_steps.size()); }
    int index() const { return m_index; } // steps done; undo() goes back from here

    // The document differs from the clean point (pending changes included).
    bool isModified() const;
    // The document is now what was opened, saved, read or written.
    void setClean();

    // The file the document belongs to; empty for a document read or new. A change within a
    // step (an Open) is undone with it.
    QString path() const { return m_path; }
    void setPath(const QString& path);

    // Explicit steps, nested: changes between the outermost begin and end are one step, named
    // by the first name given.
    void beginStep(const QString& name = {});
    void endStep();
    // Names the step being recorded (or the next one), e.g. "delete channel 05 (A)".
    void nameStep(const QString& name);
    // Closes the step being recorded now instead of at the next turn of the event loop.
    void flush();
    // Forgets every step; the modified state stays as it was.
    void clear();

signals:
    // Undo, redo, the modified state or the path may have changed.
    void changed();

private:
    void watchTable(ChannelTable& table, int side);
    void watchStore(ControlStore& store, int index);
    void touched();
    void closeStep();
    DocumentStep collect();
    void absorb();
    void push(DocumentStep step);
    bool mergeIntoTop(const DocumentStep& step);
    void apply(const DocumentStep& step, bool forward);
    QString describe(const DocumentStep& step) const;
    ChannelTable& table(int side) const;
    ControlStore& store(int index) const;

    Codeplug& m_doc;
    const Language& m_lang;
    bool m_recording = false;
    bool m_applying = false;
    bool m_pending = false;
    int m_depth = 0;
    QString m_pendingName;
    QString m_pathAtBegin;
    QString m_path;
    QString m_words; // the value words the steps are recorded in
    QTimer m_turn;   // closes the step at the next turn of the event loop

    // The document as of the last closed step; the step is the difference from it.
    ChannelTable::Cells m_baseCells[2];
    bool m_tableDirty[2] = {false, false};
    QHash<QString, ControlState> m_baseControls[2];
    QSet<QString> m_dirtyControls[2];

    std::vector<DocumentStep> m_steps;
    int m_index = 0;
    int m_clean = 0; // -1: no step reaches the clean document
    size_t m_entries = 0;
};

// One explicit step for the lifetime of the object.
class HistoryScope {
public:
    HistoryScope(DocumentHistory& history, const QString& name = {}) : m_history(history) {
        m_history.beginStep(name);
    }
    ~HistoryScope() { m_history.endStep(); }
    HistoryScope(const HistoryScope&) = delete;
    HistoryScope& operator=(const HistoryScope&) = delete;

private:
    DocumentHistory& m_history;
};

// How a row of a channel table is named in a step: "channel 05" or "VFO 136".
QString historyRowName(const ChannelTable& table, int row, const Language& lang);
QString historySideName(int side);
