// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/valuewords.h"
#include "core/codeplug/channeltable.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/controlstore.h"

// The whole document as the user edits it: both channel tables, the controls of the optional
// functions window (with its FM list StringGrid2 and call list StringGrid1) and the selection
// panel of the main window. Everything is display text or control state.
class Codeplug : public QObject {
    Q_OBJECT
public:
    explicit Codeplug(QObject* parent = nullptr);

    ChannelTable tableA{Side::A};
    ChannelTable tableB{Side::B};
    ControlStore func; // Tfunc: ComboBox1 ... CheckBox42, Edit1 ... Edit32, UpDown1 ... , StringGrid1/2
    ControlStore main; // TMainForm selection panel: ComboBox1 (model), ComboBand1, ComboBox26
    ValueWords words;  // the current language's value words; empty until a language is applied

    // The current cell shared by both channel editors (column, row); starts at column 1, row 1.
    int currentCol = 1;
    int currentRow = 1;

    ChannelTable& table(Side side) { return side == Side::A ? tableA : tableB; }
    const ChannelTable& table(Side side) const { return side == Side::A ? tableA : tableB; }
};
