// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "app/unsavedchanges.h"
#include "core/codeplug/channeltable.h"
#include "core/transfer/transfer.h"
#include <QMainWindow>
#include <QMdiSubWindow>
#include <functional>
#include <memory>
class DocumentCommands;
class EditCommands;
class ProblemsPanel;
struct Problem;
class WindowMenu;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class Session;
class TAboutBox;
class Tchannela;
class Tchannelb;
class Tcommuny;
class Tfunc;
class TRWForm;
class Taddmessage;
class TTestForm;
class SafetyMenus;

// The frame of a child window: closing it only minimises and hides it, so its data stay.
class ChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    using QMdiSubWindow::QMdiSubWindow;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The main window: child windows, menus, tool bar, the model and band selection panel, the
// status bar, start-up and the settings written at exit.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Session& session, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows, created once in this order and alive until exit.
    TAboutBox* aboutBox() const { return m_about; }
    TRWForm* rwForm() const { return m_rw; }
    Tfunc* funcWindow() const { return m_func; }
    Tchannelb* channelB() const { return m_channelB; }
    Tchannela* channelA() const { return m_channelA; }
    Tcommuny* portDialog() const { return m_port; }
    Taddmessage* radioInfoWindow() const { return m_info; }
    TTestForm* testForm() const { return m_test; }
    QList<QWidget*> windowsInOrder() const;

    void showChild(QWidget* child);
    QMdiSubWindow* frameOf(QWidget* child) const;

    // Commands, also used by tests.
    void newDocumentCommand();
    void openCommand();
    bool saveCommand(); // the save dialog; true when the document was written
    void readCommand();
    void writeCommand();
    void selectLanguage(int index);
    void showPortDialog();
    void importCsvCommand();
    void exportCsvCommand();
    void printCommand();
    void exportPdfCommand();
    // kt520 --service: the alignment tool button and the read/write dialog's service controls.
    void setServiceMode(bool on);
    // A file dropped on the channel table of `side`: a .csv is imported, a .qv19 opened.
    void openDroppedFile(const QString& path, Side side);
    // A document file by its path (recent files, a drop, the command line), as File > Open.
    void openDocumentPath(const QString& path);
    Session& session() const { return m_session; }
    // SaveSettings, once per run: at the window's close, or at any other orderly quit (with
    // `interactive` false a failure goes to the terminal, since no window may be left to ask).
    void saveSettingsOnce(bool interactive);
    // Writes the settings now, quietly, without ending what saveSettingsOnce does at the quit:
    // a page in the browser never quits, so it keeps them as it goes.
    void keepSettings();

    // The status line: the outcome of the last command (an empty text leaves it as it is).
    void showOutcome(const QString& text);

    EditCommands* editCommands() const { return m_edit; }
    DocumentCommands* documentCommands() const { return m_docs; }
    ProblemsPanel* problemsPanel() const { return m_problems; }
    // Brings the window that holds the problem's value forward with the value current.
    void showProblem(const Problem& problem);
    WindowMenu* windowMenu() const { return m_windows; }
    // Asks "Save changes?" when the document has unsaved changes. Tests answer here.
    std::function<UnsavedAnswer()> askUnsaved;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void writeSettings(bool interactive);
    void buildToolBar();
    void runStartUp();
    void arrangeChildren();
    void applyTexts();
    // Opens the read/write dialog; the command ends in transferDialogClosed().
    void transferCommand(TransferMode mode);
    void transferEnded(bool ok);
    void transferDialogClosed();
    // Commits the row under an open frequency editor of either table, then closes every editor.
    void commitTableA();
    // A child window in its frame, in the work area or, with `outside`, kept there instead.
    QMdiSubWindow* addChild(QWidget* child, QWidget* outside = nullptr);
    void closeAllEditors();
    // Before the document is replaced or the program ends: false when the user cancels.
    bool maySetDocumentAside();
    void setCaption(const QString& caption);
    void updateTitle();

    Session& m_session;
    QMdiArea* m_mdi;
    TAboutBox* m_about = nullptr;
    TRWForm* m_rw = nullptr;
    Tfunc* m_func = nullptr;
    Tchannelb* m_channelB = nullptr;
    Tchannela* m_channelA = nullptr;
    Tcommuny* m_port = nullptr;
    Taddmessage* m_info = nullptr;
    TTestForm* m_test = nullptr;
    std::unique_ptr<QWidget> m_serviceParking; // never shown: holds the alignment window outside service mode
    QAction* m_readMenu = nullptr;
    QAction* m_writeMenu = nullptr;
    QAction* m_importCsv = nullptr;
    QAction* m_exportCsv = nullptr;
    QAction* m_print = nullptr;
    QAction* m_exportPdf = nullptr;
    DocumentCommands* m_docs = nullptr;
    EditCommands* m_edit = nullptr;
    WindowMenu* m_windows = nullptr;
    QString m_caption; // model and band; the title adds the file name and the unsaved mark
    QAction* m_readTool = nullptr;
    QAction* m_portTool = nullptr;
    QAction* m_alignmentTool = nullptr;
    QActionGroup* m_languages = nullptr;
    SafetyMenus* m_safety = nullptr;
    QLabel* m_status = nullptr;
    ProblemsPanel* m_problems = nullptr;
    QWidget* m_lastChannelWindow = nullptr; // the channel table the Edit menu's channel commands act on
    bool m_tableBClosed = false;            // closed once, table B stays hidden until the next start
    bool m_started = false;
    bool m_arranged = false; // the child windows have had their start-up places
    bool m_settingsSaved = false;
    struct OpenTransfer;
    std::unique_ptr<OpenTransfer> m_transfer; // while the read/write dialog of a command is shown
};
