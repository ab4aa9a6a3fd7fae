// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/history.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/codeplug/codeplug.h"
#include "core/codeplug/controlnames.h"
#include <algorithm>
#include <optional>
#include <utility>

namespace {
// Beyond these the oldest steps are forgotten: a few hundred whole-document steps, or tens of
// thousands of cell edits, stay within some tens of megabytes.
constexpr int MaxSteps = 5000;
constexpr size_t MaxEntries = 500000;
// A step touching more cells of a table than this is applied as one table reset.
constexpr size_t ResetAbove = 64;

bool sameState(const ControlState& a, const ControlState& b) {
    return a.kind == b.kind && a.caption == b.caption && a.items == b.items && a.index == b.index &&
           a.checked == b.checked && a.text == b.text && a.position == b.position && a.minimum == b.minimum &&
           a.maximum == b.maximum && a.step == b.step && a.maxLength == b.maxLength &&
           a.enabled == b.enabled && a.visible == b.visible && a.columns == b.columns && a.cells == b.cells;
}

QString wordsKey(const ValueWords& w) {
    return QStringList{w.off, w.on, w.high, w.mid, w.low, w.wide, w.narrow, w.compander, w.scrambler}.join(
        QChar(0));
}

bool prefixRelated(const QString& a, const QString& b) {
    return a.startsWith(b) || b.startsWith(a);
}

// The one text of a control that a change touched: an edit's text, or the one grid cell that
// differs (as row * 1000 + column in `where`). Empty when anything else changed.
std::optional<std::pair<QString, QString>> changedText(const DocumentStep::Control& c, int* where) {
    ControlState same = c.after;
    *where = -1;
    if (c.before.kind == ControlState::Kind::Edit) {
        same.text = c.before.text;
        if (!sameState(same, c.before)) return std::nullopt;
        return std::pair{c.before.text, c.after.text};
    }
    if (c.before.kind != ControlState::Kind::Grid || c.before.cells.size() != c.after.cells.size())
        return std::nullopt;
    same.cells = c.before.cells;
    if (!sameState(same, c.before)) return std::nullopt;
    std::optional<std::pair<QString, QString>> text;
    for (int r = 0; r < c.before.cells.size(); ++r) {
        const QStringList& b = c.before.cells.at(r);
        const QStringList& a = c.after.cells.at(r);
        if (a == b) continue;
        if (text || a.size() != b.size()) return std::nullopt;
        for (int col = 0; col < a.size(); ++col)
            if (a.at(col) != b.at(col)) {
                if (text) return std::nullopt;
                text = std::pair{b.at(col), a.at(col)};
                *where = r * 1000 + col;
            }
    }
    return text;
}

// A step of typing: one text that grew or shrank at its end. Such steps in a row on the same
// text are one step, so that undo takes back a typed frequency, not one digit of it.
bool isTyping(const DocumentStep& s) {
    if (s.named || s.pathChanged || s.cells.size() + s.controls.size() != 1) return false;
    if (!s.cells.empty()) return prefixRelated(s.cells[0].before, s.cells[0].after);
    int where = 0;
    const auto text = changedText(s.controls[0], &where);
    return text && prefixRelated(text->first, text->second);
}

// One row of one table, cells only, not named: the row a step touched, or -1.
int onlyRow(const DocumentStep& s) {
    if (s.named || s.pathChanged || !s.controls.empty() || s.cells.empty()) return -1;
    for (const auto& c : s.cells)
        if (c.side != s.cells[0].side || c.row != s.cells[0].row) return -1;
    return s.cells[0].side * 1000 + s.cells[0].row;
}

// The RX frequency emptied (Backspace), then the row left, which clears the rest of it: the
// channel comes back with one undo.
bool emptiedThenLeft(const DocumentStep& top, const DocumentStep& step) {
    if (onlyRow(top) < 0 || onlyRow(top) != onlyRow(step)) return false;
    const bool rxEmptied = std::any_of(top.cells.begin(), top.cells.end(), [](const auto& c) {
        return c.col == Col::RxFreq && c.after.isEmpty() && !c.before.isEmpty();
    });
    const bool clears = std::all_of(step.cells.begin(), step.cells.end(),
                                    [](const auto& c) { return c.after.isEmpty() && c.col != Col::RxFreq; });
    return rxEmptied && clears;
}

// A frequency typed into a row, then the row committed (normalised, and an empty row given the
// new-channel defaults): one step, so that undo never leaves a half-made channel behind.
bool typedThenCommitted(const DocumentStep& top, const DocumentStep& step) {
    if (onlyRow(top) < 0 || onlyRow(top) != onlyRow(step) || top.cells.size() != 1) return false;
    const auto isFrequency = [](int col) { return col == Col::RxFreq || col == Col::TxFreq; };
    if (!isFrequency(top.cells[0].col) || top.cells[0].after.isEmpty()) return false;
    return std::all_of(step.cells.begin(), step.cells.end(),
                       [&](const auto& c) { return isFrequency(c.col) || c.before.isEmpty(); });
}

bool sameTarget(const DocumentStep& a, const DocumentStep& b) {
    if (!a.cells.empty() && !b.cells.empty())
        return a.cells[0].side == b.cells[0].side && a.cells[0].col == b.cells[0].col &&
               a.cells[0].row == b.cells[0].row;
    if (a.controls.empty() || b.controls.empty() || a.controls[0].store != b.controls[0].store ||
        a.controls[0].name != b.controls[0].name)
        return false;
    // The same cell of a grid; an edit has only one text.
    int whereA = 0, whereB = 0;
    return changedText(a.controls[0], &whereA) && changedText(b.controls[0], &whereB) && whereA == whereB;
}
} // namespace

QString historySideName(int side) {
    return side == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

QString historyRowName(const ChannelTable& table, int row, const Language& lang) {
    const QString label = table.cell(Col::Label, row);
    return lang.text(row < ChannelTable::FirstChannelRow ? Str::StepVfo : Str::StepChannel).arg(label);
}

DocumentHistory::DocumentHistory(Codeplug& doc, const Language& lang, QObject* parent)
    : QObject(parent), m_doc(doc), m_lang(lang) {
    m_turn.setSingleShot(true);
    m_turn.setInterval(0);
    connect(&m_turn, &QTimer::timeout, this, &DocumentHistory::flush);
    watchTable(doc.tableA, 0);
    watchTable(doc.tableB, 1);
    watchStore(doc.func, 0);
    watchStore(doc.main, 1);
    // A language switch rewrites the value words in place: not an edit, and the steps recorded
    // in the old words could no longer be undone into the new ones. The model change applies
    // the same language again; that is part of its step.
    connect(&lang, &Language::applied, this, [this] {
        const QString words = wordsKey(m_lang.words);
        if (!m_recording || words == m_words) return;
        m_words = words;
        absorb();
        clear();
    });
}

ChannelTable& DocumentHistory::table(int side) const {
    return side == 0 ? m_doc.tableA : m_doc.tableB;
}
ControlStore& DocumentHistory::store(int index) const {
    return index == 0 ? m_doc.func : m_doc.main;
}

void DocumentHistory::watchTable(ChannelTable& t, int side) {
    auto dirty = [this, side] {
        if (!m_recording) return;
        m_tableDirty[side] = true;
        touched();
    };
    connect(&t, &ChannelTable::cellChanged, this, dirty);
    connect(&t, &ChannelTable::tableReset, this, dirty);
}

void DocumentHistory::watchStore(ControlStore& s, int index) {
    connect(&s, &ControlStore::controlChanged, this, [this, index](const QString& name) {
        if (!m_recording) return;
        m_dirtyControls[index].insert(name);
        touched();
    });
}

void DocumentHistory::touched() {
    if (m_applying) return;
    const bool first = !m_pending;
    m_pending = true;
    if (m_depth == 0 && !m_turn.isActive()) m_turn.start();
    if (first) emit changed();
}

void DocumentHistory::start() {
    for (int side = 0; side < 2; ++side) {
        m_baseCells[side] = table(side).cells();
        m_tableDirty[side] = false;
    }
    for (int i = 0; i < 2; ++i) {
        m_baseControls[i].clear();
        for (const QString& name : store(i).names())
            m_baseControls[i].insert(name, store(i).state(name));
        m_dirtyControls[i].clear();
    }
    m_words = wordsKey(m_lang.words);
    m_recording = true;
    m_pending = false;
    m_pendingName.clear();
    m_steps.clear();
    m_entries = 0;
    m_index = 0;
    m_clean = 0;
    emit changed();
}

DocumentStep DocumentHistory::collect() {
    DocumentStep step;
    for (int side = 0; side < 2; ++side) {
        if (!m_tableDirty[side]) continue;
        m_tableDirty[side] = false;
        const ChannelTable::Cells& now = table(side).cells();
        ChannelTable::Cells& base = m_baseCells[side];
        for (int r = 0; r < ChannelTable::Rows; ++r)
            for (int c = 0; c < ChannelTable::Columns; ++c)
                if (base[r][c] != now[r][c]) {
                    step.cells.push_back({quint8(side), quint8(c), quint8(r), base[r][c], now[r][c]});
                    base[r][c] = now[r][c];
                }
    }
    for (int i = 0; i < 2; ++i) {
        for (const QString& name : std::as_const(m_dirtyControls[i])) {
            const ControlState& now = store(i).state(name);
            auto base = m_baseControls[i].find(name);
            if (base == m_baseControls[i].end()) base = m_baseControls[i].insert(name, ControlState{});
            if (sameState(*base, now)) continue;
            step.controls.push_back({quint8(i), name, *base, now});
            *base = now;
        }
        m_dirtyControls[i].clear();
    }
    // Controls in a fixed order, so that a step reads and applies the same every time.
    std::sort(step.controls.begin(), step.controls.end(), [](const auto& a, const auto& b) {
        return a.store != b.store ? a.store < b.store : a.name < b.name;
    });
    return step;
}

void DocumentHistory::absorb() {
    (void)collect();
    m_pending = false;
}

void DocumentHistory::flush() {
    if (m_depth == 0) closeStep();
}

void DocumentHistory::closeStep() {
    m_turn.stop();
    const QString name = std::exchange(m_pendingName, QString());
    const bool wasPending = std::exchange(m_pending, false);
    DocumentStep step = collect();
    if (m_depth == 0 && m_pathAtBegin != m_path && !m_pathAtBegin.isNull()) {
        step.pathChanged = true;
        step.pathBefore = m_pathAtBegin;
        step.pathAfter = m_path;
    }
    m_pathAtBegin = QString();
    if (!step.empty() && m_recording) {
        step.named = !name.isEmpty();
        step.name = step.named ? name : describe(step);
        push(std::move(step));
    } else if (wasPending) {
        emit changed(); // what looked like a change put everything back as it was
    }
}

void DocumentHistory::push(DocumentStep step) {
    if (int(m_steps.size()) > m_index) {
        for (auto it = m_steps.begin() + m_index; it != m_steps.end(); ++it)
            m_entries -= it->cells.size() + it->controls.size();
        m_steps.resize(size_t(m_index));
        if (m_clean > m_index) m_clean = -1;
    }
    if (!mergeIntoTop(step)) {
        m_entries += step.cells.size() + step.controls.size();
        m_steps.push_back(std::move(step));
        ++m_index;
    }
    while (m_steps.size() > 1 && (m_steps.size() > size_t(MaxSteps) || m_entries > MaxEntries)) {
        m_entries -= m_steps.front().cells.size() + m_steps.front().controls.size();
        m_steps.erase(m_steps.begin());
        --m_index;
        m_clean = m_clean > 0 ? m_clean - 1 : -1;
    }
    emit changed();
}

bool DocumentHistory::mergeIntoTop(const DocumentStep& step) {
    // The clean point stays reachable: typing after a save starts a step of its own.
    if (m_steps.empty() || m_clean == m_index) return false;
    DocumentStep& top = m_steps.back();
    if (emptiedThenLeft(top, step) || typedThenCommitted(top, step)) {
        // A cell both steps touched keeps one entry: undo then gives back its first value.
        for (const auto& c : step.cells) {
            const auto same = std::find_if(top.cells.begin(), top.cells.end(),
                                           [&c](const auto& t) { return t.col == c.col; });
            if (same != top.cells.end()) {
                same->after = c.after;
            } else {
                top.cells.push_back(c);
                ++m_entries;
            }
        }
        top.name = describe(top);
        return true;
    }
    // Typing goes on from any single change of the same text (a name selected and typed over).
    const bool single = !top.named && !top.pathChanged && top.cells.size() + top.controls.size() == 1;
    if (!isTyping(step) || !single || !sameTarget(top, step)) return false;
    if (!top.cells.empty())
        top.cells[0].after = step.cells[0].after;
    else
        top.controls[0].after = step.controls[0].after;
    top.name = describe(top);
    return true;
}

bool DocumentHistory::canUndo() const {
    return m_index > 0 || m_pending;
}
bool DocumentHistory::canRedo() const {
    return !m_pending && m_index < int(m_steps.size());
}

QString DocumentHistory::undoName() const {
    if (m_pending || m_index == 0) return m_pending ? m_pendingName : QString();
    return m_steps[size_t(m_index - 1)].name;
}

QString DocumentHistory::redoName() const {
    return canRedo() ? m_steps[size_t(m_index)].name : QString();
}

void DocumentHistory::undo() {
    if (m_depth > 0) return;
    closeStep();
    if (m_index == 0) return;
    --m_index;
    apply(m_steps[size_t(m_index)], false);
}

void DocumentHistory::redo() {
    if (m_depth > 0) return;
    closeStep();
    if (m_index >= int(m_steps.size())) return;
    // The position moves before the change is announced, as in undo(): whoever answers the
    // announcement sees the step as done.
    ++m_index;
    apply(m_steps[size_t(m_index - 1)], true);
}

void DocumentHistory::apply(const DocumentStep& step, bool forward) {
    m_applying = true;
    for (int side = 0; side < 2; ++side) {
        ChannelTable& t = table(side);
        const auto count = size_t(std::count_if(step.cells.begin(), step.cells.end(),
                                                [side](const auto& c) { return c.side == side; }));
        if (count > ResetAbove) {
            ChannelTable::Cells cells = t.cells();
            for (const auto& c : step.cells)
                if (c.side == side) cells[c.row][c.col] = forward ? c.after : c.before;
            t.replaceCells(cells);
        } else if (count > 0) {
            for (const auto& c : step.cells)
                if (c.side == side) t.setCell(c.col, c.row, forward ? c.after : c.before);
        }
    }
    for (const auto& c : step.controls)
        store(c.store).define(c.name, forward ? c.after : c.before);
    if (step.pathChanged) m_path = forward ? step.pathAfter : step.pathBefore;
    // What the data rules changed in answer is part of the state the step leads to.
    absorb();
    m_applying = false;
    emit changed();
}

bool DocumentHistory::isModified() const {
    return m_pending || m_index != m_clean;
}

void DocumentHistory::setClean() {
    flush();
    m_clean = m_index;
    emit changed();
}

void DocumentHistory::clear() {
    const bool modified = isModified();
    m_steps.clear();
    m_entries = 0;
    m_index = 0;
    m_clean = modified ? -1 : 0;
    emit changed();
}

void DocumentHistory::setPath(const QString& path) {
    if (path == m_path) return;
    m_path = path;
    emit changed();
}

void DocumentHistory::beginStep(const QString& name) {
    if (m_depth == 0) {
        closeStep(); // what came before is a step of its own
        m_pathAtBegin = m_path.isNull() ? QStringLiteral("") : m_path;
        m_pendingName = name;
    } else if (m_pendingName.isEmpty()) {
        m_pendingName = name;
    }
    ++m_depth;
}

void DocumentHistory::endStep() {
    if (m_depth == 0) return;
    if (--m_depth == 0) closeStep();
}

void DocumentHistory::nameStep(const QString& name) {
    if (m_pendingName.isEmpty() || m_depth == 0) m_pendingName = name;
    // A name given outside a step lasts to the end of this turn, changes or not.
    if (m_depth == 0 && !m_turn.isActive()) m_turn.start();
}

QString DocumentHistory::describe(const DocumentStep& step) const {
    const auto& cells = step.cells;
    bool main = false, fm = false, calls = false, other = false;
    for (const auto& c : step.controls) {
        if (c.store == 1)
            main = true;
        else if (c.name == Ctl::StringGrid2)
            fm = true;
        else if (c.name == Ctl::StringGrid1)
            calls = true;
        else
            other = true;
    }
    if (main) return m_lang.text(Str::StepModelBand);
    if (!cells.empty() && !step.controls.empty()) return m_lang.text(Str::StepEditDocument);
    if (cells.empty()) {
        if (fm && !calls && !other) return m_lang.text(Str::StepEditFm);
        if (calls && !fm && !other) return m_lang.text(Str::StepEditCalls);
        return m_lang.text(Str::StepEditOptions);
    }
    const int side = cells.front().side;
    QList<int> rows;
    bool allAfterEmpty = true, allBeforeEmpty = true;
    for (const auto& c : cells) {
        if (c.side != side) return m_lang.text(Str::StepEditTables);
        if (!rows.contains(c.row)) rows << c.row;
        allAfterEmpty = allAfterEmpty && c.after.isEmpty();
        allBeforeEmpty = allBeforeEmpty && c.before.isEmpty();
    }
    const ChannelTable& t = table(side);
    const QString sideName = historySideName(side);
    if (rows.size() == 1) {
        const int id = allAfterEmpty    ? Str::StepDeleteRow
                       : allBeforeEmpty ? Str::StepAddRow
                                        : Str::StepEditRow;
        return m_lang.text(id).arg(historyRowName(t, rows[0], m_lang), sideName);
    }
    if (rows.size() == 2) {
        // Two rows whose contents changed places.
        bool swapped = true;
        for (const auto& c : cells) {
            const int other = c.row == rows[0] ? rows[1] : rows[0];
            swapped = swapped && t.cell(c.col, other) == c.before; // the table shows the after state
        }
        if (swapped)
            return m_lang.text(Str::StepSwapRows)
                .arg(historyRowName(t, std::min(rows[0], rows[1]), m_lang),
                     historyRowName(t, std::max(rows[0], rows[1]), m_lang), sideName);
    }
    return m_lang.text(allAfterEmpty ? Str::StepDeleteAll : Str::StepEditTable).arg(sideName);
}
