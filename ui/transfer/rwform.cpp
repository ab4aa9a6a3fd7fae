// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/rwform.h"
#include "core/base/appsettings.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/link/tracefile.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/initialise.h"
#include "core/transfer/readprocedure.h"
#include "core/transfer/replydelay.h"
#include "core/transfer/safetransfer.h"
#include "core/transfer/usageadjust.h"
#include "ui/common/filechooser.h"
#include "ui/common/messagebox.h"
#include "ui/common/translatewidgets.h"
#include "ui/transfer/pageside.h"
#include "ui/transfer/rwservicepanel.h"
#include "ui/transfer/statusline.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

namespace {
constexpr int RangeMinimum = 1;
constexpr int RangeMaximum = 99;

// The channel-range field takes digits, "#", "*" and Backspace; other typed characters are
// dropped. Keys that type nothing (arrows, Delete, Tab) keep their usual meaning.
bool rangeKeyAccepted(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Backspace) return true;
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return true;
    for (const QChar c : text)
        if (!c.isDigit() && c != QChar('#') && c != QChar('*')) return false;
    return true;
}
} // namespace

TRWForm::TRWForm(Session& session, QWidget* parent) : QDialog(parent), m_session(session) {
    setObjectName(QStringLiteral("TRWForm"));
    setWindowTitle(QStringLiteral("读频"));
    setModal(true);
    buildControls();
    showWriteChoices(m_mode == TransferMode::Write);
    connect(&session.lang, &Language::applied, this, &TRWForm::applyTexts);
    applyTexts();
    // Said in the status line as the transfer starts, and kept there when it is done.
    connect(&m_link, &Link::replyDelayMeasured, this, [this](const ReplyDelay& delay) {
        m_replyDelay = delay;
        m_replyNote = replyDelayText(delay, m_session.lang);
        if (!m_replyNote.isEmpty()) showStatus(m_session.lang.text(Str::Transferring) + u'\n' + m_replyNote);
    });
}

TRWForm::~TRWForm() {
    stopTrace();
    m_link.closePort();
}

void TRWForm::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, ProgressMaximum);
    m_progress->setValue(0);
    m_progress->setMinimumWidth(420); // room for the status line in every language
    outer->addWidget(m_progress);

    // The radio's own wording, the same in every language (no language string holds it).
    m_rangeLabel = new QLabel(QStringLiteral("Limite the range of channels to read and written"), this);
    m_rangeLabel->setObjectName(QStringLiteral("Label1"));
    m_rangeLabel->setProperty("kt520_fixed", true);
    outer->addWidget(m_rangeLabel);

    auto* rangeRow = new QHBoxLayout;
    m_range = new QLineEdit(QStringLiteral("99"), this);
    m_range->setObjectName(QStringLiteral("Edit1"));
    m_range->setMaximumWidth(60);
    m_range->installEventFilter(this);
    auto* upDown = new QWidget(this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    auto* arrows = new QVBoxLayout(upDown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    m_rangeUp = new QToolButton(upDown);
    m_rangeUp->setObjectName(QStringLiteral("UpDown1Up"));
    m_rangeUp->setArrowType(Qt::UpArrow);
    m_rangeUp->setAutoRepeat(true);
    m_rangeUp->setFixedSize(18, 12);
    m_rangeDown = new QToolButton(upDown);
    m_rangeDown->setObjectName(QStringLiteral("UpDown1Down"));
    m_rangeDown->setArrowType(Qt::DownArrow);
    m_rangeDown->setAutoRepeat(true);
    m_rangeDown->setFixedSize(18, 12);
    arrows->addWidget(m_rangeUp);
    arrows->addWidget(m_rangeDown);
    connect(m_rangeUp, &QToolButton::clicked, this, [this] { stepRange(+1); });
    connect(m_rangeDown, &QToolButton::clicked, this, [this] { stepRange(-1); });
    rangeRow->addWidget(m_range);
    rangeRow->addWidget(upDown);
    rangeRow->addStretch(1);
    outer->addLayout(rangeRow);

    auto* traceRow = new QHBoxLayout;
    m_trace = new QCheckBox(QStringLiteral("记录通信数据"), this);
    m_trace->setObjectName(QStringLiteral("TraceCheck"));
    m_trace->setProperty("kt520_fixed", true);
    m_traceChoose = new QToolButton(this);
    m_traceChoose->setObjectName(QStringLiteral("TraceFile"));
    m_traceChoose->setText(QStringLiteral("..."));
    m_traceChoose->setProperty("kt520_fixed", true);
    connect(m_trace, &QCheckBox::toggled, this,
            [this](bool on) { showStatus(on ? tracePath() : m_session.lang.text(Str::StatusLine)); });
    connect(m_traceChoose, &QToolButton::clicked, this, &TRWForm::chooseTracePath);
    traceRow->addWidget(m_trace);
    traceRow->addWidget(m_traceChoose);
    traceRow->addStretch(1);
    outer->addLayout(traceRow);

    // A write's safety choices, shown for writes only.
    auto* safetyRow = new QHBoxLayout;
    m_backupFirst = new QCheckBox(this);
    m_backupFirst->setObjectName(QStringLiteral("BackupFirstCheck"));
    m_verify = new QCheckBox(this);
    m_verify->setObjectName(QStringLiteral("VerifyCheck"));
    for (QCheckBox* box : {m_backupFirst, m_verify}) {
        box->setProperty("kt520_fixed", true);
        safetyRow->addWidget(box);
    }
    safetyRow->addStretch(1);
    outer->addLayout(safetyRow);

    auto* buttons = new QHBoxLayout;
    m_start = new QPushButton(QStringLiteral("读 频"), this);
    m_start->setObjectName(QStringLiteral("Button1"));
    // Captioned by the read or write command each time the dialog opens.
    m_start->setProperty("kt520_fixed", true);
    m_start->setAutoDefault(false);
    // Captioned by the language's string 2 like the other dialogs' closing buttons.
    m_exit = new QPushButton(QStringLiteral("退 出"), this);
    m_exit->setObjectName(QStringLiteral("Button2"));
    m_exit->setAutoDefault(false);
    connect(m_start, &QPushButton::clicked, this, &TRWForm::Button1Click, PageSide::startConnection());
    // While a transfer runs the button cancels it; otherwise it closes the dialog.
    connect(m_exit, &QPushButton::clicked, this, [this] {
        if (m_running)
            m_link.cancel();
        else
            close();
    });
    buttons->addWidget(m_start);
    buttons->addWidget(m_exit);
    buttons->addStretch(1);
    outer->addLayout(buttons);

    m_serviceParking = std::make_unique<QWidget>();
    m_service = new RWServicePanel(m_serviceParking.get());
    connect(m_service, &RWServicePanel::initialiseRequested, this, &TRWForm::Button3Click);
    connect(m_service, &RWServicePanel::usageRequested, this, &TRWForm::Button5Click);

    m_status = new WrappingStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    outer->addWidget(m_status);
}

void TRWForm::applyTexts() {
    translateWidgetTree(this, m_session.lang);
    m_service->setTitle(m_session.lang.text(Str::ServiceGroup));
    m_trace->setText(m_session.lang.text(Str::TraceCheck));
    m_backupFirst->setText(m_session.lang.text(Str::BackupFirst));
    m_verify->setText(m_session.lang.text(Str::VerifyAfterWrite));
    showStatus(m_trace->isChecked() ? tracePath() : m_session.lang.text(Str::StatusLine));
}

void TRWForm::showWriteChoices(bool on) {
    // A read has no use for the write's safety choices: hidden, and out of the focus chain.
    for (QCheckBox* box : {m_backupFirst, m_verify}) {
        box->setVisible(on);
        box->setEnabled(on);
    }
}

void TRWForm::showStatus(const QString& text) {
    m_status->showMessage(QStringLiteral("     ") + text);
    PageSide::log(QStringLiteral("status"), text);
}

void TRWForm::prepareFor(TransferMode mode, const QString& caption, const QString& startButtonLabel) {
    setWindowTitle(caption);
    m_start->setText(startButtonLabel);
    m_mode = mode;
    m_progress->setValue(0);
    showWriteChoices(mode == TransferMode::Write);
}

void TRWForm::openFor(TransferMode mode, const QString& caption, const QString& startButtonLabel) {
    prepareFor(mode, caption, startButtonLabel);
    open();
}

namespace {
// The RX frequencies of the three VFO rows of tables A and B.
using VfoRows = std::array<QString, 6>;

VfoRows vfoRows(const Session& s) {
    VfoRows rows;
    for (int i = 0; i < 6; ++i)
        rows[size_t(i)] = s.doc.table(i < 3 ? Side::A : Side::B).cell(Col::RxFreq, i % 3 + 1);
    return rows;
}

// "VFO 136 (A): 130.00000 → 136.00000" for each row that changed, joined.
QString vfoMoves(const Session& s, const VfoRows& before) {
    const VfoRows after = vfoRows(s);
    QStringList moves;
    for (int i = 0; i < 6; ++i) {
        if (before[size_t(i)] == after[size_t(i)]) continue;
        const ChannelTable& table = s.doc.table(i < 3 ? Side::A : Side::B);
        moves << QStringLiteral("%1 (%2): %3 → %4")
                     .arg(historyRowName(table, i % 3 + 1, s.lang), historySideName(i < 3 ? 0 : 1),
                          before[size_t(i)].isEmpty() ? QStringLiteral("-") : before[size_t(i)],
                          after[size_t(i)]);
    }
    return moves.join(QStringLiteral(", "));
}
} // namespace

void TRWForm::FormShow() {
    // A dialog opens on its own state, not on the outcome of the last transfer: the idle line, as
    // the main window's status bar shows it.
    showStatus(m_trace->isChecked() ? tracePath() : m_session.lang.text(Str::StatusLine));
    if (m_beforeShow) m_beforeShow();
    {
        // The band check is one undo step, and the status line says what it moved.
        HistoryScope step(m_session.history);
        const VfoRows before = vfoRows(m_session);
        m_preparation = formShow(m_session, m_mode);
        const QString moved = vfoMoves(m_session, before);
        if (!moved.isEmpty()) {
            m_session.history.nameStep(m_session.lang.text(Str::StepVfoIntoBand));
            showStatus(m_session.lang.text(Str::VfoRowsMoved).arg(moved));
        }
    }
    m_start->setFocus();
    // The port belongs to the dialog while it is shown.
    m_link.setSinglePortMode(m_session.singlePortMode);
    if (m_portFactory)
        m_link.setPort(m_portFactory());
    else
        m_link.setPort(PortDirectory(m_session.files.settingsToRead()).create(m_session.portNumber));
    // A port lost since the probe fails the transfer's first frame, which reports it then.
    (void)m_link.openPort();
}

void TRWForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // The keys go to the dialog: a browser's page activates a window only when it first shows.
    activateWindow();
    FormShow();
}

void TRWForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous() && !m_running) m_link.closePort();
}

void TRWForm::closeEvent(QCloseEvent* event) {
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TRWForm::reject() {
    if (!m_running) QDialog::reject();
}

void TRWForm::done(int result) {
    if (!m_running) QDialog::done(result);
}

bool TRWForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_range && event->type() == QEvent::KeyPress &&
        !rangeKeyAccepted(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TRWForm::stepRange(int delta) {
    // Like an up-down tied to its field, a click starts from the number the field shows.
    bool ok = false;
    int value = m_range->text().trimmed().toInt(&ok);
    if (!ok) value = RangeMaximum;
    value = std::clamp(value + delta, RangeMinimum, RangeMaximum);
    m_range->setText(QString::number(value));
}

void TRWForm::setTracePath(const QString& path) {
    m_tracePath = path;
    if (m_trace->isChecked()) showStatus(tracePath());
}

QString TRWForm::tracePath() const {
    return m_tracePath.isEmpty() ? defaultTracePath() : m_tracePath;
}

QString TRWForm::defaultTracePath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::homePath();
    return QDir(dir).filePath(QStringLiteral("kt520-trace.txt"));
}

void TRWForm::chooseTracePath() {
    const QString chosen = m_choosePath ? m_choosePath(tracePath())
                                        : FileChooser::toSave(this, {m_trace->text(), {}, {}, tracePath()});
    if (chosen.isEmpty()) return;
    setTracePath(chosen);
    m_trace->setChecked(true);
}

bool TRWForm::startTrace() {
    if (!m_trace->isChecked()) return true;
    auto opened = TraceFile::open(tracePath());
    if (auto* failure = std::get_if<FileFailure>(&opened)) {
        warnFileFailure(*failure);
        return false;
    }
    m_traceFile = std::move(std::get<std::unique_ptr<TraceFile>>(opened));
    m_traceFile->attach(m_link, m_link.port() ? m_link.port()->deviceName() : QString());
    return true;
}

void TRWForm::stopTrace() {
    if (!m_traceFile) return;
    m_traceFile.reset();
    // In the browser the trace leaves the page as a file of the user's.
    FileChooser::saved(tracePath());
}

void TRWForm::warnFileFailure(const FileFailure& failure) {
    warn(m_session.lang.text(Str::FileError)
             .arg(QDir::toNativeSeparators(tracePath()), failureReason(failure, m_session.lang)));
}

void TRWForm::warn(const QString& text) {
    const QString caption = m_session.lang.text(Str::WarnCaption);
    PageSide::log(QStringLiteral("warning"), text);
    if (m_message)
        m_message(caption, text);
    else
        showWarning(this, caption, text);
}

void TRWForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (focusWidget() == m_start && m_start->isEnabled()) m_start->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TransferOptions TRWForm::transferOptions() {
    if (m_range->text().isEmpty()) m_range->setText(QStringLiteral("99"));
    TransferOptions options;
    options.channelRange = m_range->text();
    options.debugRows = m_service->debugRows();
    options.initialise = m_service->initialiseMarked();
    options.writeFactoryDate = m_factoryDate || m_session.alignment.writeFactoryDate;
    options.now = m_now;
    options.progress = [this](int value) { m_progress->setValue(std::min(value, m_progress->maximum())); };
    return options;
}

void TRWForm::Button1Click() {
    if (m_running) return;
    if (m_mode == TransferMode::Write && m_beforeWrite && !m_beforeWrite()) return;
    if (!startTrace()) return;
    m_link.clearCancel();
    m_running = true;
    m_start->setEnabled(false);
    m_service->setCommandsEnabled(false);
    const QString exitCaption = m_exit->text();
    m_exit->setText(m_session.lang.text(Str::CancelButton));
    m_progress->setValue(0);
    showStatus(m_session.lang.text(Str::Transferring));
    m_replyDelay.reset();
    m_replyNote.clear();
    // A cancelled read puts the document back as it was: nothing half read stays.
    const QByteArray before = m_mode == TransferMode::Read ? saveDocument(m_session) : QByteArray();

    const TransferOptions options = transferOptions();

    const SafeTransfer run =
        runSafeTransfer(m_session, m_link, m_mode, options, m_preparation,
                        {m_backupFirst->isChecked(), m_verify->isChecked()}, backupStoreFor(m_session));
    const TransferResult& result = run.result;
    // The transfer is not stopped for a trace that could not be written; the user hears of it after.
    const std::optional<FileFailure> traceFailure = m_traceFile ? m_traceFile->failure() : std::nullopt;
    stopTrace();
    // For the port dialog; a measurement that cannot be kept is no reason to bother the user.
    if (m_replyDelay) (void)ReplyDelayStore().remember(*m_replyDelay);
    m_start->setEnabled(true);
    m_service->setCommandsEnabled(true);
    m_exit->setText(exitCaption);
    m_running = false;
    if (m_link.cancelled()) {
        m_link.closePort();
        if (m_mode == TransferMode::Read) {
            (void)openDocument(m_session, before);
        }
        m_progress->setValue(0);
        showStatus(m_session.lang.text(Str::TransferCancelled));
        emit transferFinished(false);
        return;
    }
    if (result.caption) emit captionChanged(*result.caption);
    emit transferFinished(result.ok());
    if (run.ok()) {
        m_progress->setValue(m_progress->maximum());
        const QString done = run.verified.isEmpty() ? m_session.lang.text(Str::ReadDone) : run.verified;
        showStatus(m_replyNote.isEmpty() ? done : done + u'\n' + m_replyNote);
        if (!run.warning.isEmpty()) warn(run.warning);
    } else {
        showStatus(m_session.lang.text(Str::StatusLine));
        warn(m_alignmentNote.isEmpty() ? run.failure
                                       : run.failure + QStringLiteral("\n\n") + m_alignmentNote);
    }
    if (traceFailure) warnFileFailure(*traceFailure);
}

void TRWForm::setServiceMode(bool on) {
    auto* outer = qobject_cast<QBoxLayout*>(layout());
    if (on && m_service->parentWidget() != this)
        outer->insertWidget(outer->indexOf(m_status), m_service);
    else if (!on && m_service->parentWidget() == this)
        m_service->setParent(m_serviceParking.get());
    m_service->setServiceMode(on);
    if (on) applyTexts(); // the group was not in the dialog when its texts were last given
}

bool TRWForm::serviceMode() const {
    return m_service->serviceMode();
}

void TRWForm::warnAlignment(const QString& text) {
    const QString caption = m_session.lang.text(Str::AlignCaption);
    if (m_message)
        m_message(caption, text);
    else
        showWarning(this, caption, text);
}

bool TRWForm::confirm(const QString& question) {
    const QString caption = m_session.lang.text(Str::WarnCaption);
    const auto answer =
        m_ask ? m_ask(this, QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No)
              : showMessageBox(this, QMessageBox::Question, caption, question,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void TRWForm::Button3Click() {
    if (m_running || !serviceMode()) return;
    const bool writing = m_mode == TransferMode::Write;
    if (!confirm(m_session.lang.text(writing ? Str::InitialiseWriteQuestion : Str::InitialiseReadQuestion)))
        return;
    m_service->setInitialiseMark(true);
    m_start->setEnabled(false);
    m_running = true;
    const Initialisation run = beginInitialise(m_session, m_link, m_mode, transferOptions(), m_preparation);
    m_running = false;
    if (run.proceed()) {
        m_alignmentNote = run.note(m_session.lang);
        bool ok = false;
        const auto finished =
            connect(this, &TRWForm::transferFinished, this, [&ok](bool result) { ok = result; });
        Button1Click();
        disconnect(finished);
        m_alignmentNote.clear();
        // The transfer's own outcome follows the note that the alignment went first.
        if (ok && !m_link.cancelled())
            showStatus(m_session.lang.text(Str::StatusInitialised).arg(m_status->currentMessage().trimmed()));
    } else {
        m_start->setEnabled(true);
        if (run.refusal)
            warn(transferMessage(*run.refusal, m_session.lang));
        else
            warnAlignment(alignMessage(*run.alignment, m_session.lang));
        (void)m_link.openPort();
    }
    m_service->setInitialiseMark(false);
}

void TRWForm::Button5Click() {
    if (m_running || !serviceMode()) return;
    const int level = m_service->usageLevel();
    const QString chosen = m_service->usageText(level);
    if (!confirm(m_session.lang.text(Str::UsageQuestion).arg(chosen))) return;
    m_running = true;
    m_start->setEnabled(false);
    m_service->setCommandsEnabled(false);
    showStatus(m_session.lang.text(Str::Transferring));
    const UsageResult result = adjustUsage(m_session, m_link, level, [this](int value) {
        m_progress->setValue(std::min(value, m_progress->maximum()));
    });
    m_service->setCommandsEnabled(true);
    m_start->setEnabled(true);
    m_running = false;
    if (!result.ok) {
        showStatus(m_session.lang.text(Str::StatusLine));
        warn(result.message);
    } else if (result.written) {
        showStatus(m_session.lang.text(Str::StatusUsageChanged)
                       .arg(m_service->usageText(result.storedLevel), chosen));
    } else {
        showStatus(m_session.lang.text(Str::StatusUsageUnchanged));
    }
}
