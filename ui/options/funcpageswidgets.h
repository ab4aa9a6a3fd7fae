// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/keyrules.h"
#include <QString>
#include <optional>
class ControlStore;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class FmList;
class CallList;

// Makes the widgets of the optional functions window under their control names, with the
// built-in Simplified Chinese captions kept in the store (the language switch translates them
// by those captions).
class FuncFormBuilder {
public:
    explicit FuncFormBuilder(ControlStore& store) : m_store(store) {}

    QComboBox* combo(const char* name);
    QCheckBox* check(const char* name);
    QLineEdit* edit(const char* name, std::optional<KeyRule> rule = std::nullopt, bool readOnly = false);
    // An edit with its up-down arrows beside it, in one row widget.
    QWidget* editUpDown(const char* edit, const char* upDown, bool readOnly);
    QLabel* label(const QString& caption);
    QLabel* captionOf(const char* name);
    QGroupBox* group(const char* title, const char* objectName = nullptr);
    // A caption in column 0 and the field in column 1 of the next row of a grid.
    void row(QGridLayout* grid, const char* name, QWidget* field);
    // Hides the row of a control that the radio keeps but the window never shows.
    void hideRow(QGridLayout* grid, QWidget* field);

    ControlStore& store() { return m_store; }

private:
    ControlStore& m_store;
};

// The four tabs of the window.
QWidget* buildBasicPage(FuncFormBuilder& b, FmList* fmList);
QWidget* buildSignallingPage(FuncFormBuilder& b);
QWidget* buildSideKeyPage(FuncFormBuilder& b, CallList* callList);
QWidget* buildBandPage(FuncFormBuilder& b);
