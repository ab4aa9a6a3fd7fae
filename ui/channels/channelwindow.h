// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include "ui/common/activationwatch.h"
#include "ui/common/messagebox.h"
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
class Session;
class ChannelButtonRow;
class ChannelGrid;
class ChannelTableModel;
class FrequencyEdit;
class NameEdit;
class ToneCombo;
class CompanderCombo;
class QMdiSubWindow;

// A channel table window: the grid StringGrid1 with its five in-place editors and the button
// row that adds, moves and deletes channels. Tchannela shows table A, Tchannelb table B; both
// share the document's current cell.
class ChannelWindow : public QWidget {
    Q_OBJECT
public:
    // Shows a message box and returns the button chosen. Tests answer here without a modal loop.
    MessageBoxHook messageBox;

    ~ChannelWindow() override;
    ChannelTable& table() const { return m_table; }
    // For the read and write commands: whether the frequency editor is open, committing its
    // row, and closing every editor.
    bool frequencyEditorVisible() const;
    void commitPendingEdit();
    void hideEditors();
    // Makes (column, row) the current cell as a key move would, with the keyboard on the grid.
    void goToCell(int col, int row);
    bool toggleSuppressed() const { return m_suppressToggle; }

    QSize sizeHint() const override;

signals:
    // A note for the main window's status line (a frequency clamped into the radio's range, a
    // typed tone the list lacks).
    void statusMessage(const QString& text);

protected:
    ChannelWindow(Session& session, Side side, QWidget* parent);
    void resizeEvent(QResizeEvent* event) override;

private:
    enum EditorId { Freq, Name, Ctcss, Tone, Compander, EditorCount };
    // An editor, the cell it writes into (fixed when it opens) and where it was put.
    struct Editor {
        QWidget* widget = nullptr;
        int col = 0;
        int row = 0;
        QRect placed;
    };

    static bool isFrequencyColumn(int col) { return col == Col::RxFreq || col == Col::TxFreq; }

    void buildEditors(); // channelwindow.cpp
    void buildButtons(); // channelrowcommands.cpp, with the button actions and the window geometry
    void layoutChildren();
    void applyLanguageTexts();

    // Grid
    void onCellMoved(int col, int row, bool byMouse);
    void clickCell(int col, int row, bool byMouse);
    void onGridKey(QKeyEvent* event);
    bool typingAllowed() const;
    bool commitRow(int col, int row);

    // Editors
    void openEditor(EditorId id, int col, int row);
    void closeEditor(EditorId id);
    void placeEditors();
    void holdEditorsInPlace();
    void hideEditorsOffCurrentCell();
    bool editorOpen(EditorId id) const;
    bool editorHasFocus() const;
    void startFrequency(const QString& digit);
    void onFrequencyEnter();
    void onCtcssLeft();
    void onToneEdited(const QString& text);
    void onToneLeft();
    void onCompanderChosen(int index);
    void leaveEditorToGrid(EditorId id);

    // Buttons
    void autoAddStep(bool mouseDown);
    void deleteAll();
    void moveChannel(int direction);
    void deleteChannel();
    void toggleWidth();
    void followCurrentCell();
    void setWindowWidth(int width);

    void activated();
    void deactivated();
    void warnNumber(const QString& text);
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons);

    Session& m_session;
    ChannelTable& m_table;
    ChannelTableModel* m_model = nullptr;
    ChannelGrid* m_grid = nullptr;
    FrequencyEdit* m_edit1 = nullptr;
    NameEdit* m_edit2 = nullptr;
    FrequencyEdit* m_edit3 = nullptr;
    ToneCombo* m_tone = nullptr;
    CompanderCombo* m_compander = nullptr;
    std::array<Editor, EditorCount> m_editors;
    ChannelButtonRow* m_buttons = nullptr;
    QStringList m_tones;
    ActivationWatch* m_activation;
    int m_gridWidth = 753;
    bool m_suppressToggle = false;
    bool m_loading = false;   // an editor is being filled from its cell: no write back
    bool m_inMessage = false; // our own message box took the activation
    bool m_toneTyped = false; // the user typed into the tone editor since it opened
};

class Tchannela : public ChannelWindow {
    Q_OBJECT
public:
    explicit Tchannela(Session& session, QWidget* parent = nullptr);
};

class Tchannelb : public ChannelWindow {
    Q_OBJECT
public:
    explicit Tchannelb(Session& session, QWidget* parent = nullptr);
};
