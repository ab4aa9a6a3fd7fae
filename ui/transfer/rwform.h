// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/link.h"
#include "core/transfer/transfer.h"
#include "core/transfer/writeprocedure.h"
#include "ui/common/messagebox.h"
#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class TraceFile;
struct FileFailure;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolButton;
class RadioPort;
class RWServicePanel;
class Session;

// The read/write dialog: one start button runs the whole transfer of the current mode (read
// or write). The serial port is held open only while the dialog is shown; while a transfer runs
// the start button is disabled and the dialog refuses to close.
class TRWForm : public QDialog {
    Q_OBJECT
public:
    explicit TRWForm(Session& session, QWidget* parent = nullptr);
    ~TRWForm() override;

    // The read and write commands of the main window: caption, start button caption, mode,
    // progress 0, then shown window-modal. Returns at once: the dialog runs no event loop of its
    // own, so that a transfer's waits are the only loop nested in the program's (a browser
    // suspends one level only); `finished` tells when it has been closed.
    void openFor(TransferMode mode, const QString& caption, const QString& startButtonLabel);
    // The same without showing, for callers that show the dialog themselves.
    void prepareFor(TransferMode mode, const QString& caption, const QString& startButtonLabel);

    TransferMode mode() const { return m_mode; }
    bool transferRunning() const { return m_running; }
    // Button1Click: the transfer of the current mode.
    void Button1Click();
    // Service commands: the initialise command (the factory alignment write without its end
    // frame, then the transfer) and the transmit-usage adjustment of ComboBox1's level. Both do
    // nothing outside service mode; a success is shown in the status line.
    void Button3Click();
    void Button5Click();
    // The service controls in a visible group of their own (kt520 --service); outside service
    // mode they are hidden, disabled and out of the focus chain.
    void setServiceMode(bool on);
    bool serviceMode() const;
    // The values FormShow computed for the write (first channels, first FM slot).
    const WritePreparation& preparation() const { return m_preparation; }
    Link& link() { return m_link; }

    // --- Seams for the program's other windows and for tests ---
    using MessageSink = std::function<void(const QString& caption, const QString& text)>;
    // How warnings reach the user; by default a message box with a warning icon.
    void setMessageSink(MessageSink sink) { m_message = std::move(sink); }
    // How the service commands ask before they change a radio's alignment; by default a question
    // box whose default answer is No.
    void setQuestionHook(MessageBoxHook hook) { m_ask = std::move(hook); }
    using PortFactory = std::function<std::unique_ptr<RadioPort>()>;
    // Where the port comes from; by default the COM port of the session.
    void setPortFactory(PortFactory factory) { m_portFactory = std::move(factory); }
    // Local date and time for the stamps and the clock; by default the system clock.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }
    // "写入出厂日期" of the factory alignment window.
    void setFactoryDateRequested(bool on) { m_factoryDate = on; }
    // Runs before FormShow; the main window commits pending edits of other windows here.
    void setBeforeShow(std::function<void()> hook) { m_beforeShow = std::move(hook); }
    // Runs when a write is started, before anything is sent; false leaves the write unstarted.
    void setBeforeWrite(std::function<bool()> hook) { m_beforeWrite = std::move(hook); }
    // The trace file used when the trace box is ticked; empty restores the default path.
    void setTracePath(const QString& path);
    QString tracePath() const;
    static QString defaultTracePath();
    using PathChooser = std::function<QString(const QString& current)>;
    void setTracePathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }

signals:
    // The model selector was reset by a transfer; the main window shows the new caption.
    void captionChanged(const QString& caption);
    // A transfer has ended (successful or not); the editors refresh what they show.
    void transferFinished(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter presses only the focused start button: no button that writes to a radio is a
    // default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void applyTexts();
    void FormShow();
    void stepRange(int delta);
    void showStatus(const QString& text);
    void showWriteChoices(bool on);
    bool startTrace();
    void stopTrace();
    void warn(const QString& text);
    void warnFileFailure(const FileFailure& failure);
    void chooseTracePath();
    void warnAlignment(const QString& text);
    bool confirm(const QString& question);
    // What the dialog's controls ask of a transfer (an empty channel range becomes "99").
    TransferOptions transferOptions();

    Session& m_session;
    Link m_link;
    TransferMode m_mode = TransferMode::Read;
    bool m_running = false;
    bool m_factoryDate = false;
    WritePreparation m_preparation;

    QProgressBar* m_progress = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_exit = nullptr;
    QLineEdit* m_range = nullptr;
    QToolButton* m_rangeUp = nullptr;
    QToolButton* m_rangeDown = nullptr;
    QLabel* m_rangeLabel = nullptr;
    QCheckBox* m_trace = nullptr;
    QToolButton* m_traceChoose = nullptr;
    QStatusBar* m_status = nullptr;
    QCheckBox* m_backupFirst = nullptr;
    QCheckBox* m_verify = nullptr;
    // Created hidden; shown only in service mode.
    RWServicePanel* m_service = nullptr;
    // Where the service controls wait outside service mode: a widget never shown, so that they
    // are not part of the dialog for a key, a click or a screen reader.
    std::unique_ptr<QWidget> m_serviceParking;

    MessageSink m_message;
    MessageBoxHook m_ask;
    // After the initialise command's alignment write: what it left in the radio, for the message
    // of a transfer that then fails.
    QString m_alignmentNote;
    PortFactory m_portFactory;
    std::function<QDateTime()> m_now;
    std::function<void()> m_beforeShow;
    std::function<bool()> m_beforeWrite;
    PathChooser m_choosePath;
    QString m_tracePath;
    std::unique_ptr<TraceFile> m_traceFile;
    // What the running transfer's first replies showed, and what the status line says of it.
    std::optional<ReplyDelay> m_replyDelay;
    QString m_replyNote;
};
