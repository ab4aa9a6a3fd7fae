// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/controlstore.h"
#include <algorithm>

namespace {
const ControlState& emptyState() {
    static const ControlState s;
    return s;
}

// A name that no control has is a slip in the program. Debug builds and the tests
// (KT520_STRICT_NAMES=1) stop at it; a user's build goes on without the value, as it always has.
bool strictNames() {
#ifdef QT_NO_DEBUG
    static const bool strict = qEnvironmentVariableIntValue("KT520_STRICT_NAMES") == 1;
    return strict;
#else
    return true;
#endif
}

void unknownName(const QString& name) {
    if (strictNames()) qFatal("ControlStore: no control is named \"%s\"", qPrintable(name));
}
} // namespace

void ControlStore::define(const QString& name, const ControlState& state) {
    if (!m_controls.contains(name)) m_order << name;
    ControlState s = state;
    if (s.kind == ControlState::Kind::Grid)
        for (auto& row : s.cells)
            while (row.size() < s.columns)
                row << QString();
    m_controls.insert(name, s);
    emit controlChanged(name);
}

void ControlStore::copyControls(const ControlStore& other) {
    m_controls = other.m_controls;
    m_order = other.m_order;
}

const ControlState& ControlStore::state(const QString& name) const {
    auto it = m_controls.constFind(name);
    if (it != m_controls.constEnd()) return *it;
    unknownName(name);
    return emptyState();
}

ControlState* ControlStore::find(const QString& name) {
    auto it = m_controls.find(name);
    if (it != m_controls.end()) return &*it;
    unknownName(name);
    return nullptr;
}

QString ControlStore::currentItem(const QString& name) const {
    const ControlState& s = state(name);
    return s.index >= 0 && s.index < s.items.size() ? s.items.at(s.index) : QString();
}

void ControlStore::setIndex(const QString& name, int index) {
    ControlState* s = find(name);
    if (!s) return;
    const int i = index >= 0 && index < s->items.size() ? index : -1;
    if (s->index == i) return;
    s->index = i;
    emit controlChanged(name);
}

void ControlStore::setItems(const QString& name, const QStringList& items) {
    ControlState* s = find(name);
    if (!s) return;
    const int keep = s->index;
    s->items = items;
    s->index = keep >= 0 && keep < items.size() ? keep : -1;
    emit controlChanged(name);
}

void ControlStore::setChecked(const QString& name, bool on) {
    ControlState* s = find(name);
    if (!s || s->checked == on) return;
    s->checked = on;
    emit controlChanged(name);
}

void ControlStore::setText(const QString& name, const QString& text) {
    ControlState* s = find(name);
    if (!s || s->text == text) return;
    s->text = text;
    emit controlChanged(name);
}

void ControlStore::setMaxLength(const QString& name, int length) {
    ControlState* s = find(name);
    if (!s || s->maxLength == length) return;
    s->maxLength = length;
    emit controlChanged(name);
}

void ControlStore::setPosition(const QString& name, int position) {
    ControlState* s = find(name);
    if (!s) return;
    const int p = std::clamp(position, s->minimum, std::max(s->minimum, s->maximum));
    if (s->position == p) return;
    s->position = p;
    emit controlChanged(name);
}

void ControlStore::setRange(const QString& name, int minimum, int maximum) {
    ControlState* s = find(name);
    if (!s) return;
    s->minimum = minimum;
    s->maximum = std::max(minimum, maximum);
    s->position = std::clamp(s->position, s->minimum, s->maximum);
    emit controlChanged(name);
}

void ControlStore::setEnabled(const QString& name, bool on) {
    ControlState* s = find(name);
    if (!s || s->enabled == on) return;
    s->enabled = on;
    emit controlChanged(name);
}

void ControlStore::setVisible(const QString& name, bool on) {
    ControlState* s = find(name);
    if (!s || s->visible == on) return;
    s->visible = on;
    emit controlChanged(name);
}

void ControlStore::setCaption(const QString& name, const QString& caption) {
    ControlState* s = find(name);
    if (!s || s->caption == caption) return;
    s->caption = caption;
    emit controlChanged(name);
}

QString ControlStore::cell(const QString& name, int col, int row) const {
    const ControlState& s = state(name);
    if (row < 0 || row >= s.cells.size() || col < 0 || col >= s.cells.at(row).size()) return {};
    return s.cells.at(row).at(col);
}

void ControlStore::setCell(const QString& name, int col, int row, const QString& text) {
    ControlState* s = find(name);
    if (!s || row < 0 || row >= s->cells.size() || col < 0 || col >= s->cells.at(row).size()) return;
    if (s->cells[row][col] == text) return;
    s->cells[row][col] = text;
    emit controlChanged(name);
}
