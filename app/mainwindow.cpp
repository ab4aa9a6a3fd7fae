// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/aboutdialog.h"
#include "app/childlayout.h"
#include "app/desktophabits.h"
#include "app/documentcommands.h"
#include "app/editcommands.h"
#include "app/helpmenu.h"
#include "app/hiddencontrols.h"
#include "app/opentransfer.h"
#include "app/problemspanel.h"
#include "app/qttranslations.h"
#include "app/recentfiles.h"
#include "app/safetymenus.h"
#include "app/selectionpanel.h"
#include "app/windowmenu.h"
#include "app/windowparts.h"
#include "core/base/messages.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include "ui/channels/channelwindow.h"
#include "ui/common/iconwidgets.h"
#include "ui/common/translatewidgets.h"
#include "ui/options/funcgridswidgets.h"
#include "ui/options/funcwindow.h"
#include "ui/service/radioinfowindow.h"
#include "ui/service/testform.h"
#include "ui/transfer/portdialog.h"
#include "ui/transfer/rwform.h"
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

void ChildFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    showMinimized();
    hide();
    emit closed();
}

TMainForm::TMainForm(Session& session, QWidget* parent)
    : QMainWindow(parent), askUnsaved([this] { return askSaveChanges(this, m_session.lang); }),
      m_session(session) {
    setObjectName(QStringLiteral("TMainForm"));
    // Before any window exists, so that every control hidden from here on leaves the focus chain.
    new HiddenControls(this);
    setCaption(QStringLiteral("KT-520"));
    setWindowIcon(toolIcon(ToolIcon::Read));
    m_mdi = new WorkArea(this);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_mdi);

    m_about = new TAboutBox(this);
    m_rw = new TRWForm(session, this);
    m_func = new Tfunc(session);
    addChild(m_func);
    m_channelB = new Tchannelb(session);
    // Table B has no command of its own: shown at start, once closed it stays closed for the run.
    connect(static_cast<ChildFrame*>(addChild(m_channelB)), &ChildFrame::closed, this, [this] {
        m_tableBClosed = true;
        m_windows->drop(m_channelB);
        if (m_lastChannelWindow == m_channelB) m_lastChannelWindow = m_channelA;
    });
    m_channelA = new Tchannela(session);
    addChild(m_channelA);
    m_port = new Tcommuny(session, this);
    m_info = new Taddmessage(session);
    addChild(m_info);
    // The alignment window talks to the radio through the read/write dialog's link.
    m_test = new TTestForm(session, m_rw->link());
    // Until kt520 --service the alignment window is not in the work area at all: no key, click
    // or screen reader meets it there.
    m_serviceParking = std::make_unique<QWidget>();
    addChild(m_test, m_serviceParking.get())->setEnabled(false);

    // A transfer may reset the model selector, which renames the window.
    connect(m_rw, &TRWForm::captionChanged, this, &TMainForm::setCaption);
    connect(m_rw, &TRWForm::transferFinished, this, &TMainForm::transferEnded);
    connect(m_rw, &QDialog::finished, this, &TMainForm::transferDialogClosed);
    // A channel being typed is committed whole before undo or redo, so it goes and comes back whole.
    m_docs =
        new DocumentCommands(session,
                             {this, [this] { commitTableA(); }, [this](const QString& c) { setCaption(c); },
                              [this](const QString& text) { showOutcome(text); },
                              [this] { return askUnsaved ? askUnsaved() : UnsavedAnswer::Cancel; }},
                             this);
    m_edit = new EditCommands(
        session, [this] { commitTableA(); }, this);
    connect(m_edit, &EditCommands::outcome, this, &TMainForm::showOutcome);
    // The channel commands of the Edit menu act on the channel table used last.
    m_lastChannelWindow = m_channelA;
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* frame) {
        if (frame && (frame->widget() == m_channelA || frame->widget() == m_channelB))
            m_lastChannelWindow = frame->widget();
    });
    m_edit->setChannelGrid([this] { return m_lastChannelWindow->findChild<QTableView*>(); });
    m_problems = new ProblemsPanel(session, this);
    m_problems->goTo = [this](const Problem& p) { showProblem(p); };
    addDockWidget(Qt::BottomDockWidgetArea, m_problems);
    m_problems->hide();
    // Nothing is sent before the user has seen what the write would change.
    m_rw->setBeforeWrite([this] { return m_problems->confirmWrite(m_rw); });
    m_windows = new WindowMenu(
        m_mdi, {m_channelA, m_channelB, m_func, m_info}, [this](QWidget* w) { showChild(w); }, session.lang,
        this);
    connect(&session.history, &DocumentHistory::changed, this, &TMainForm::updateTitle);
    // A pending FM list edit is finished before the transfer dialog looks at the list.
    m_rw->setBeforeShow([this] { m_func->deactivated(); });
    buildMenus();
    // A .csv file dropped on a channel table is imported into it; a .qv19 file is opened.
    // The grids do not take drops, so a drop on them goes to their channel window.
    for (QWidget* w : {static_cast<QWidget*>(m_channelA), static_cast<QWidget*>(m_channelB)}) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
    installMenuKey(this);
    buildToolBar();
    QToolBar* panel = newSelectionPanel(
        session, [this](const QString& caption) { setCaption(caption); }, this);
    addToolBar(panel);
    new WindowParts(this, panel, m_mdi, m_problems);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLine"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_problems->countLabel());
    for (ChannelWindow* w :
         {static_cast<ChannelWindow*>(m_channelA), static_cast<ChannelWindow*>(m_channelB)})
        connect(w, &ChannelWindow::statusMessage, this, &TMainForm::showOutcome);
    connect(&session.lang, &Language::applied, this, &TMainForm::applyTexts);
    // Qt's own texts follow the language menu too.
    auto* qtTexts = new QtTranslations(this);
    connect(&session.lang, &Language::applied, qtTexts,
            [this, qtTexts] { qtTexts->select(m_session.lang.index); });
}

QList<QWidget*> TMainForm::windowsInOrder() const {
    return {
        const_cast<TMainForm*>(this), m_about, m_rw, m_func, m_channelB, m_channelA, m_port, m_info, m_test};
}

QMdiSubWindow* TMainForm::addChild(QWidget* child, QWidget* outside) {
    auto* frame = new ChildFrame;
    frame->setWidget(child);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setWindowIcon(toolIcon(ToolIcon::ChannelEdit));
    if (outside)
        frame->setParent(outside);
    else
        m_mdi->addSubWindow(frame);
    // Follow the child's caption, which the language switch changes.
    connect(child, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    frame->setWindowTitle(child->windowTitle());
    return frame;
}

QMdiSubWindow* TMainForm::frameOf(QWidget* child) const {
    return child ? qobject_cast<QMdiSubWindow*>(child->parentWidget()) : nullptr;
}

void TMainForm::showChild(QWidget* child) {
    QMdiSubWindow* frame = frameOf(child);
    if (!frame || (child == m_channelB && m_tableBClosed)) return;
    frame->showNormal();
    frame->show();
    child->show();
    // A window taller than the area (a small screen, a window manager's title bars) is brought
    // inside it rather than cut off at the bottom; before the first arrangement the area's size
    // is not yet the one the user sees.
    if (m_arranged) frame->setGeometry(fitInto(frame->geometry(), m_mdi->viewport()->size()));
    m_mdi->setActiveSubWindow(frame);
    frame->raise();
}

void TMainForm::showPortDialog() {
    if (auto* dialog = qobject_cast<QDialog*>(static_cast<QWidget*>(m_port))) dialog->exec();
}

void TMainForm::buildMenus() {
    auto action = [this](QMenu* menu, const QString& text, auto slot, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件"));
    action(file, QStringLiteral("新建"), &TMainForm::newDocumentCommand, QKeySequence::New);
    action(file, QStringLiteral("打开"), &TMainForm::openCommand, QKeySequence::Open);
    action(file, QStringLiteral("保存"), &TMainForm::saveCommand, QKeySequence::Save);
    file->addSeparator();
    m_importCsv = action(file, m_session.lang.text(Str::CsvImportMenu), &TMainForm::importCsvCommand);
    m_exportCsv = action(file, m_session.lang.text(Str::CsvExportMenu), &TMainForm::exportCsvCommand);
    file->addSeparator();
    m_print =
        action(file, m_session.lang.text(Str::PrintMenu), &TMainForm::printCommand, QKeySequence::Print);
    m_exportPdf = action(file, m_session.lang.text(Str::PdfMenu), &TMainForm::exportPdfCommand);
    m_importCsv->setObjectName(QStringLiteral("ImportCsv"));
    m_exportCsv->setObjectName(QStringLiteral("ExportCsv"));
    m_print->setObjectName(QStringLiteral("Print"));
    m_exportPdf->setObjectName(QStringLiteral("ExportPdf"));
    file->addSeparator();
    action(file, QStringLiteral("退出"), &QWidget::close);
    new RecentFilesMenu(file, m_importCsv, m_session,
                        [this](const QString& path) { openDroppedFile(path, Side::A); });

    QMenu* program = menuBar()->addMenu(QStringLiteral("编程"));
    m_readMenu =
        action(program, QStringLiteral("读频"), &TMainForm::readCommand, QKeySequence(Qt::CTRL | Qt::Key_R));
    // Ctrl+W closes a child window (its system menu): writing takes Ctrl+Shift+W.
    m_writeMenu = action(program, QStringLiteral("写频"), &TMainForm::writeCommand,
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    program->addSeparator();
    action(program, QStringLiteral("信道编辑"), [this] { showChild(m_channelA); });
    action(program, QStringLiteral("可选功能"), [this] { showChild(m_func); });
    program->addSeparator();
    action(program, QStringLiteral("本机信息"), [this] { showChild(m_info); });

    m_edit->addMenu(menuBar(), program->menuAction());

    QMenu* tools = menuBar()->addMenu(QStringLiteral("工具"));
    action(tools, QStringLiteral("通信端口"), [this] { showPortDialog(); });
    QMenu* language = tools->addMenu(QStringLiteral("语言"));
    m_languages = new QActionGroup(this);
    // "中文" and "英文" are named in the current language; "中文(繁體)" is the same in all three.
    const QString names[] = {QStringLiteral("中文"), QStringLiteral("英文"), QStringLiteral("中文(繁體)")};
    for (int i = 0; i < 3; ++i) {
        QAction* a = language->addAction(names[i]);
        if (i == 2) a->setProperty("kt520_fixed", true);
        a->setCheckable(true);
        a->setData(i + 1);
        a->setObjectName(QStringLiteral("Language%1").arg(i + 1));
        m_languages->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { selectLanguage(i + 1); });
    }

    m_safety = new SafetyMenus({this, [this] { commitTableA(); },
                                [this](const QString& path) { openDroppedFile(path, Side::A); },
                                [this](QWidget* child) { showChild(child); }, m_func, m_channelA, m_channelB},
                               m_session, file, program);

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
    m_windows->addMenu(menuBar(), help->menuAction());
    QAction* problems = m_problems->toggleViewAction();
    problems->setObjectName(QStringLiteral("ShowProblems"));
    problems->setProperty("kt520_fixed", true);
    m_windows->addExtraAction(problems);
    action(
        help, QStringLiteral("帮助"), [this] { showUserGuide(this, m_session); }, QKeySequence::HelpContents);
    action(help, QStringLiteral("关于"), [this] {
        m_about->setFacts(m_session.lang);
        m_about->exec();
    });
}

void TMainForm::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("tools"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto tool = [&](ToolIcon icon, const QString& text, auto slot) {
        QAction* a = bar->addAction(toolIcon(icon), text);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    tool(ToolIcon::New, QStringLiteral("新建"), &TMainForm::newDocumentCommand);
    tool(ToolIcon::Open, QStringLiteral("打开"), &TMainForm::openCommand);
    tool(ToolIcon::Save, QStringLiteral("保存"), &TMainForm::saveCommand);
    bar->addSeparator();
    m_edit->addButtons(bar);
    bar->addSeparator();
    m_readTool = tool(ToolIcon::Read, QStringLiteral("读频"), &TMainForm::readCommand);
    m_portTool = tool(ToolIcon::Port, QStringLiteral("写频"), [this] { showPortDialog(); });
    tool(ToolIcon::Write, QStringLiteral("写频"), &TMainForm::writeCommand);
    bar->addSeparator();
    tool(ToolIcon::ChannelEdit, QStringLiteral("信道编辑"), [this] { showChild(m_channelA); });
    tool(ToolIcon::Options, QStringLiteral("可选功能"), [this] { showChild(m_func); });
    tool(ToolIcon::RadioInfo, QStringLiteral("本机信息"), [this] { showChild(m_info); });
    bar->addSeparator();
    // The factory alignment is for service technicians only: its button exists but stays hidden.
    m_alignmentTool = tool(ToolIcon::Alignment, QStringLiteral("调试"), [this] { showChild(m_test); });
    // Service only (kt520 --service): neither shown nor enabled, so no key or click reaches it.
    m_alignmentTool->setVisible(false);
    m_alignmentTool->setEnabled(false);
    m_alignmentTool->setProperty("kt520_service", true);
    m_alignmentTool->setObjectName(QStringLiteral("AlignmentTool"));
    bar->addSeparator();
    // The read and port buttons carry the read and write labels that the transfer dialog borrows.
    m_readTool->setProperty("kt520_fixed", true);
    m_portTool->setProperty("kt520_fixed", true);
}

void TMainForm::applyTexts() {
    translateWidgetTree(this, m_session.lang);
    translateWidgetTree(m_about, m_session.lang);
    m_readTool->setText(m_session.lang.text(Str::ReadLabel));
    m_portTool->setText(m_session.lang.text(Str::WriteLabel));
    m_portTool->setToolTip(m_session.lang.text(Str::PortToolTip));
    // The port button borrows the write label as its caption; a screen reader names the port.
    if (QWidget* button = findChild<QToolBar*>(QStringLiteral("ToolBar1"))->widgetForAction(m_portTool))
        button->setAccessibleName(withoutMnemonic(m_session.lang.text(Str::PortMenu)));
    m_status->setText(QStringLiteral("     ") + m_session.lang.messages.statusLine);
    m_importCsv->setText(m_session.lang.text(Str::CsvImportMenu));
    m_exportCsv->setText(m_session.lang.text(Str::CsvExportMenu));
    m_print->setText(m_session.lang.text(Str::PrintMenu));
    m_exportPdf->setText(m_session.lang.text(Str::PdfMenu));
    m_safety->applyTexts();
    m_edit->refresh();
    m_windows->refresh();
    for (QAction* a : m_languages->actions())
        a->setChecked(a->data().toInt() == m_session.lang.index);
    addMenuMnemonics(menuBar());
    addItemMnemonics(menuBar());
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The selection lists stay on the tool bar's row where they fit; where they would be folded
    // behind the bar's extension button, out of the keyboard's reach, they take a row of their own.
    auto* tools = findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    auto* panel = findChild<QToolBar*>(QStringLiteral("SelectionPanel"));
    if (!tools || !panel) return;
    const bool ownRow = width() < tools->sizeHint().width() + panel->sizeHint().width() + 16;
    if (ownRow == toolBarBreak(panel)) return;
    if (!ownRow) {
        removeToolBarBreak(panel);
        return;
    }
    removeToolBar(panel);
    addToolBarBreak();
    addToolBar(panel);
    panel->show();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_started) {
        m_started = true;
        runStartUp();
    }
}

void TMainForm::runStartUp() {
    frameOf(m_test)->close();
    // An installed copy makes the user's settings file on first use. When it cannot, the program
    // runs on the delivered default and says so once: the exit does not try again.
    const std::optional<QString> settingsProblem = m_session.files.prepareSettings();
    if (settingsProblem) m_settingsSaved = true;
    startUp(m_session, AppSettings::read(IniFile::load(m_session.files.settingsToRead())));
    for (QAction* a : m_languages->actions())
        a->setChecked(a->data().toInt() == m_session.lang.index);
    setCaption(m_session.doc.main.currentItem(MainCtl::Model).isEmpty()
                   ? QStringLiteral("KT-520")
                   : m_session.doc.main.currentItem(MainCtl::Model));
    m_info->showAdministrator();
    frameOf(m_info)->close();
    for (QWidget* w : {static_cast<QWidget*>(m_func), static_cast<QWidget*>(m_channelB),
                       static_cast<QWidget*>(m_channelA)})
        showChild(w);
    // The area has its final size only once the maximised window is laid out, and under a window
    // manager only once that has maximised it.
    keepArranged(m_mdi->viewport(), {frameOf(m_channelA), frameOf(m_channelB), frameOf(m_func)},
                 [this] { arrangeChildren(); });
    // From here on every change of the document can be undone.
    m_session.history.start();
    if (settingsProblem)
        QTimer::singleShot(
            0, this, [this, text = *settingsProblem] { showWarning(this, QStringLiteral("KT-520"), text); });
}

void TMainForm::arrangeChildren() {
    // The pages are measured in the current language: the layouts take the texts in first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QMdiSubWindow* a = frameOf(m_channelA);
    QMdiSubWindow* b = frameOf(m_channelB);
    QMdiSubWindow* f = frameOf(m_func);
    const ChildGeometry g = placeChildren(m_mdi->viewport()->size(), a->size(), f->sizeHint());
    b->setGeometry(g.tableB);
    a->setGeometry(g.tableA);
    f->setGeometry(g.options);
    m_mdi->setActiveSubWindow(a);
    m_arranged = true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!maySetDocumentAside()) {
        event->ignore();
        return;
    }
    saveSettingsOnce(true);
    QMainWindow::closeEvent(event);
}

void TMainForm::saveSettingsOnce(bool interactive) {
    // Nothing to keep before the start-up has read the settings.
    if (m_settingsSaved || !m_started) return;
    m_settingsSaved = true;
    writeSettings(interactive);
}

void TMainForm::keepSettings() {
    if (m_started) writeSettings(false);
}

void TMainForm::writeSettings(bool interactive) {
    if (auto error = saveSettings(m_session.files.settingsFile, exitSettings(m_session), m_session.lang)) {
        if (interactive)
            showWarning(this, QStringLiteral("KT-520"), *error);
        else
            qWarning("%s", qUtf8Printable(*error));
    }
}

void TMainForm::selectLanguage(int index) {
    m_session.lang.index = index;
    for (QAction* a : m_languages->actions())
        a->setChecked(a->data().toInt() == index);
    applyLanguage(m_session, Language::baseName(index));
}

void TMainForm::newDocumentCommand() {
    m_docs->newDocument();
}

void TMainForm::closeAllEditors() {
    m_channelA->hideEditors();
    m_channelB->hideEditors();
    m_func->fmList()->closeEditor();
    m_func->callList()->closeEditor();
}

bool TMainForm::maySetDocumentAside() {
    return m_docs->maySetAside();
}

void TMainForm::setCaption(const QString& caption) {
    m_caption = caption;
    updateTitle();
}

void TMainForm::updateTitle() {
    setWindowTitle(documentTitle(m_caption, m_session.history.path(), m_session.history.isModified()));
}

void TMainForm::commitTableA() {
    for (ChannelWindow* w :
         {static_cast<ChannelWindow*>(m_channelA), static_cast<ChannelWindow*>(m_channelB)})
        if (w->frequencyEditorVisible()) w->commitPendingEdit();
    closeAllEditors();
}

void TMainForm::showOutcome(const QString& text) {
    if (!text.isEmpty()) m_status->setText(QStringLiteral("     ") + text);
}

void TMainForm::openCommand() {
    m_docs->open();
}

bool TMainForm::saveCommand() {
    return m_docs->save();
}

void TMainForm::importCsvCommand() {
    m_docs->importCsv();
}

void TMainForm::exportCsvCommand() {
    m_docs->exportCsv();
}

void TMainForm::openDroppedFile(const QString& path, Side side) {
    m_docs->openDropped(path, side);
}

void TMainForm::openDocumentPath(const QString& path) {
    m_docs->openPath(path);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const bool onA = watched == m_channelA;
    if ((onA || watched == m_channelB) &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        const QString path = urls.size() == 1 ? urls.first().toLocalFile() : QString();
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix != u"csv" && suffix != u"qv19") return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            // After the drop has returned, so that the source is not held by a modal report.
            QTimer::singleShot(0, this,
                               [this, path, onA] { openDroppedFile(path, onA ? Side::A : Side::B); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::printCommand() {
    m_docs->print();
}

void TMainForm::exportPdfCommand() {
    m_docs->exportPdf();
}

void TMainForm::showProblem(const Problem& p) {
    switch (p.place) {
    case Problem::Place::Cell: {
        ChannelWindow* window = p.side == Side::A ? static_cast<ChannelWindow*>(m_channelA) : m_channelB;
        showChild(window);
        window->goToCell(p.col, p.row);
        return;
    }
    case Problem::Place::Field:
        showChild(m_func);
        m_func->showControl(p.control, p.gridRow);
        return;
    case Problem::Place::MainSelection:
        if (auto* combo = findChild<QComboBox*>(p.control)) combo->setFocus(Qt::OtherFocusReason);
        return;
    }
}
