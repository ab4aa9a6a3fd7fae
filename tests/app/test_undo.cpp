// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktophabits.h"
#include "app/documentcommands.h"
#include "app/editcommands.h"
#include "app/mainwindow.h"
#include "core/base/messages.h"
#include "sim/demoradio.h"
#include "tests/common/docfixture.h"
#include "tests/common/languagefiles.h"
#include "tests/common/modalanswer.h"
#include "tests/common/testwaits.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include "ui/options/funcwindow.h"
#include "ui/service/radioinfowindow.h"
#include "ui/transfer/rwform.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <functional>

// Undo and redo in the program, and the question before unsaved changes are lost, driven with
// real key and mouse events on a document opened from a file.
class TestUndo : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TMainForm> m_window;
    QString m_path;
    QByteArray m_original;

    ChannelGrid* grid(ChannelWindow* w) const {
        return w->findChild<ChannelGrid*>(QStringLiteral("StringGrid1"));
    }
    QByteArray fileBytes() const {
        QFile f(m_path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void click(ChannelWindow* w, int col, int row) {
        m_window->showChild(w);
        grid(w)->scrollTo(grid(w)->cellIndex(col, row));
        QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, grid(w)->cellRect(col, row).center());
        QTest::qWait(1);
    }
    void keys(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(c == QChar('.') ? systemDecimalPoint() : c), Qt::NoModifier);
        QTest::qWait(1);
    }
    void key(int k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
        QTest::qWait(1); // each event in a turn of its own, as from the window system
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        copyLanguageFiles(m_dir->path());
        QFile ini(m_dir->filePath(QStringLiteral("sysini.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Open]\r\ncom=16\r\nlang=2\r\n[list0]\r\ncom0bo0=136-174MHz\r\ncom0bo1=400-470MHz\r\n"
                  "com0bo2=400-470MHz\r\n");
        ini.close();
        m_session = std::make_unique<Session>();
        m_session->files = ProgramFiles::besideExecutable(m_dir->path());
        m_window = std::make_unique<TMainForm>(*m_session);
        m_window->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::qWait(20);
        QVERIFY(!m_session->history.isModified()); // start-up is no edit
        // A document of every kind of line, written and opened as a user's file.
        fillRichDocument(*m_session);
        m_path = m_dir->filePath(QStringLiteral("mine.qv19"));
        QVERIFY(!writeDocumentFile(m_path, *m_session));
        m_original = fileBytes();
        m_window->askUnsaved = [] { return UnsavedAnswer::Discard; };
        m_window->openDroppedFile(m_path, Side::A);
        m_window->askUnsaved = [this] { return askSaveChanges(m_window.get(), m_session->lang); };
        // The save dialog, accepted on the document's own file.
        m_window->documentCommands()->askSavePath = [](const QString& current) { return current; };
        QVERIFY(!m_session->history.isModified());
        QCOMPARE(m_window->windowTitle().endsWith(QStringLiteral("mine.qv19")), true);
    }
    void cleanup() {
        m_window.reset();
        m_session.reset();
        m_dir.reset();
    }

    // Mixed edits (nine steps) in both tables, the options and the selection panel, each taken back with
    // Ctrl+Z: the document saved then is the opened file byte for byte, without the unsaved mark.
    // Redo brings them back, Ctrl+Shift+Z as well as Ctrl+Y.
    void mixedEditsUndoToTheOpenedFile() {
        Tchannela* a = m_window->channelA();
        Tchannelb* b = m_window->channelB();
        const QByteArray opened = saveDocument(*m_session);
        QCOMPARE(opened, m_original);
        const int opening = m_session->history.index();

        auto press = [this](QWidget* w, const char* name) {
            QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
            QTest::qWait(1);
        };
        click(a, Col::Power, 4); // 1: steps the power of channel 01
        press(a, "Button4");     // 2: moves it down
        click(b, Col::RxFreq, 10);
        keys(QStringLiteral("145.5")); // 3: typed, and with Enter
        key(Qt::Key_Return);           //    a new channel 07 on side B
        click(a, Col::Bandwidth, 1);   // 4: VFO row 136 of side A
        QHeaderView* labels = grid(a)->verticalHeader();
        QTest::mouseClick(labels->viewport(), Qt::LeftButton, {},
                          QPoint(labels->width() / 2, labels->sectionViewportPosition(0) + 5));
        key(Qt::Key_Delete); // 5: the row whose label was clicked
        m_window->showChild(m_window->funcWindow());
        QCheckBox* check = nullptr;
        for (QCheckBox* c : m_window->funcWindow()->findChildren<QCheckBox*>())
            if (c->isVisible() && c->isEnabled()) check = check ? check : c;
        QVERIFY(check);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2)); // 6
        QTest::qWait(1);
        auto* band = m_window->findChild<QComboBox*>(MainCtl::Band1);
        band->setFocus();
        QTest::keyClick(band, Qt::Key_Down); // 7
        QTest::qWait(1);
        click(b, Col::Name, 10);
        key(Qt::Key_A, Qt::ControlModifier); // the full name, selected to be typed over
        keys(QStringLiteral("HOME"));        // 8
        key(Qt::Key_Return);
        press(b, "Button5"); // 9: deletes channel 07 of side B
        QTRY_VERIFY(m_window->windowTitle().endsWith(QLatin1Char('*')));
        QTRY_COMPARE(m_session->history.index() - opening, 9);
        const QByteArray edited = saveDocument(*m_session);
        QVERIFY(edited != opened);

        const QString undoText = m_window->editCommands()->undoAction()->text();
        QVERIFY2(undoText.startsWith(QStringLiteral("Undo: ")), qPrintable(undoText));
        grid(a)->setFocus();
        // The status line says what each step took back, not what the command before it did.
        auto* status = m_window->findChild<QLabel*>(QStringLiteral("StatusLine"));
        const QString lastStep = m_session->history.undoName();
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(status->text().trimmed(), QStringLiteral("Undone: ") + lastStep);
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(status->text().trimmed(), QStringLiteral("Redone: ") + lastStep);
        int undone = 0;
        while (m_session->history.isModified() && undone < 50) {
            key(Qt::Key_Z, Qt::ControlModifier);
            ++undone;
        }
        QCOMPARE(saveDocument(*m_session), opened);
        QVERIFY(!m_window->windowTitle().endsWith(QLatin1Char('*')));
        // The save dialog opens on the document's own file, which is then replaced without a
        // second question.
        QString offered;
        m_window->documentCommands()->askSavePath = [&](const QString& current) {
            offered = current;
            return current;
        };
        QVERIFY(m_window->saveCommand());
        QCOMPARE(offered, m_path);
        QCOMPARE(fileBytes(), m_original);

        for (int i = 0; i < undone; ++i)
            key(i % 2 ? Qt::Key_Y : Qt::Key_Z,
                i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(saveDocument(*m_session), edited);
        QVERIFY(m_window->windowTitle().endsWith(QLatin1Char('*')));
    }

    // Ten mixed edits, all undone, five redone: after every step the Edit menu's texts, the
    // buttons' enabled states and the title's unsaved mark describe the document as it is.
    void viewsFollowEveryUndoAndRedo() {
        Session& s = *m_session;
        DocumentHistory& h = s.history;
        const int opening = h.index();
        const QString openingName = h.undoName(); // the Open, or nothing
        QList<QByteArray> docs{saveDocument(s)};
        QStringList names;
        for (int i = 0; i < 10; ++i) {
            const QString value = QStringLiteral("E%1").arg(i);
            if (i % 3 == 2)
                s.doc.func.setText(QStringLiteral("Edit16"), value);
            else
                s.doc.table(i % 3 ? Side::B : Side::A).setCell(Col::Name, 4 + i, value);
            QTest::qWait(1); // each edit a turn of its own, hence a step of its own
            QCOMPARE(h.index() - opening, docs.size());
            docs << saveDocument(s);
            names << h.undoName();
        }
        QAction* undo = m_window->editCommands()->undoAction();
        QAction* redo = m_window->editCommands()->redoAction();
        auto agree = [&](int k) {
            const Language& lang = s.lang;
            QCOMPARE(saveDocument(s), docs[k]);
            const QString undoName = k > 0 ? names[k - 1] : openingName;
            QCOMPARE(undo->text(),
                     undoName.isEmpty() ? lang.text(Str::UndoMenu) : lang.text(Str::UndoStep).arg(undoName));
            QCOMPARE(redo->text(),
                     k < names.size() ? lang.text(Str::RedoStep).arg(names[k]) : lang.text(Str::RedoMenu));
            QCOMPARE(undo->isEnabled(), k > 0 || opening > 0);
            QCOMPARE(redo->isEnabled(), k < names.size());
            QCOMPARE(m_window->windowTitle().endsWith(QLatin1Char('*')), k != 0);
        };
        agree(int(names.size()));
        for (int k = int(names.size()) - 1; k >= 0 && !QTest::currentTestFailed(); --k) {
            undo->trigger();
            agree(k);
        }
        for (int k = 1; k <= 5 && !QTest::currentTestFailed(); ++k) {
            redo->trigger();
            agree(k);
        }
    }

    // A frequency typed into an empty row and the row commit it causes are one step; an editor
    // left open when an undo or a prompt runs is closed first and writes nothing afterwards.
    void typedChannelIsOneStep_data() {
        QTest::addColumn<QString>("then");
        QTest::newRow("Enter, then undo") << "enter";
        QTest::newRow("undo with the editor open") << "undo";
        QTest::newRow("New, prompt cancelled") << "prompt";
    }
    void typedChannelIsOneStep() {
        QFETCH(QString, then);
        Tchannelb* b = m_window->channelB();
        ChannelTable& t = m_session->doc.tableB;
        constexpr int row = 60;
        QVERIFY(t.rowEmpty(row));
        const QByteArray before = saveDocument(*m_session);
        click(b, Col::RxFreq, row);
        for (QChar c : QStringLiteral("145.5"))
            keys(QString(c)); // a turn of the event loop for each key
        if (then == u"enter") {
            key(Qt::Key_Return);
        } else if (then == u"prompt") {
            ModalAnswer prompt(QStringLiteral("SaveChangesBox"), [](QMessageBox* box) {
                QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
            });
            m_window->newDocumentCommand();
            QVERIFY(prompt.answered());
            QVERIFY(!b->frequencyEditorVisible());
        }
        m_window->editCommands()->undoAction()->trigger(); // one step takes the whole channel back
        QVERIFY(!b->frequencyEditorVisible());
        QCOMPARE(saveDocument(*m_session), before);
        click(b, Col::Power, row + 1); // leaving the row commits nothing left behind
        QVERIFY(t.rowEmpty(row));
        m_window->editCommands()->redoAction()->trigger();
        QCOMPARE(t.cell(Col::RxFreq, row), QStringLiteral("145.50000"));
    }

    // Ctrl+Z in a text field of the options undoes the document's last step, not the field's own
    // typing as a new step: redo stays possible.
    void undoKeyInsideATextField() {
        m_window->showChild(m_window->funcWindow());
        QLineEdit* field = nullptr;
        for (QLineEdit* e : m_window->funcWindow()->findChildren<QLineEdit*>())
            if (!field && e->isVisible() && e->isEnabled() && !e->isReadOnly() &&
                m_session->doc.func.has(e->objectName()))
                field = e;
        QVERIFY(field);
        const QString before = m_session->doc.func.text(field->objectName());
        field->setFocus();
        field->end(false);
        keys(QStringLiteral("7"));
        QTRY_VERIFY(m_session->history.isModified());
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_session->doc.func.text(field->objectName()), before);
        QCOMPARE(field->text(), before);
        QVERIFY(m_session->history.canRedo());
        QVERIFY(!m_session->history.isModified());
    }

    // The Window menu lists the child windows with a tick for those shown and brings a closed one
    // back; table B, once closed, stays closed until the next start and is no longer offered.
    void windowMenuBringsBackClosedWindows() {
        QMenu* menu = m_window->findChild<QMenu*>(QStringLiteral("WindowMenu"));
        QVERIFY(menu);
        auto item = [&](const char* name) {
            emit menu->aboutToShow();
            return menu->findChild<QAction*>(QLatin1String(name));
        };
        QMdiSubWindow* frameInfo = m_window->frameOf(m_window->radioInfoWindow());
        frameInfo->close();
        QVERIFY(!item("ShowTaddmessage")->isChecked());
        item("ShowTaddmessage")->trigger();
        QVERIFY(frameInfo->isVisible());
        QCOMPARE(m_window->findChild<QMdiArea*>()->activeSubWindow(), frameInfo);
        QMdiSubWindow* frameB = m_window->frameOf(m_window->channelB());
        QCOMPARE(withoutMnemonic(item("ShowTchannelb")->text()), m_window->channelB()->windowTitle());
        frameB->close();
        QVERIFY(item("ShowTchannela")->isChecked());
        QVERIFY(!item("ShowTchannelb"));
        m_window->showChild(m_window->channelB());
        QVERIFY(!frameB->isVisible());
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("TileWindows")));
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("CascadeWindows")));
    }

    // A read from the radio is one step, after which the document is unmodified and belongs to no
    // file; undo brings back the edited document, unsaved again.
    void readIsOneStep() {
        auto started = DemoRadio::start(16);
        QVERIFY(std::holds_alternative<std::unique_ptr<DemoRadio>>(started));
        RealWaits realTiming; // a pseudo-terminal's delays do not shrink
        m_session->doc.tableA.setCell(Col::Name, 4, QStringLiteral("EDITED"));
        const QByteArray edited = saveDocument(*m_session);
        m_window->askUnsaved = [] { return UnsavedAnswer::Discard; };
        m_window->readCommand();
        // The command returns with its dialog shown, modal; the read is done when it closes.
        auto* form = qobject_cast<TRWForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        form->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("3"));
        const int steps = m_session->history.stepCount();
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(m_session->history.stepCount(), steps); // the step lasts as long as the dialog
        static_cast<QDialog*>(form)->reject();
        QCOMPARE(m_session->history.stepCount(), steps + 1);
        // The status line tells the outcome; the radio information's model and band are never
        // filled, by a read either.
        QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("StatusLine"))->text().trimmed(),
                 m_session->lang.text(Str::StatusReadDone));
        QWidget* info = m_window->radioInfoWindow();
        QCOMPARE(info->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), QStringLiteral("--------"));
        QCOMPARE(info->findChild<QLineEdit*>(QStringLiteral("Edit2"))->text(), QStringLiteral("--------"));
        QCOMPARE(m_session->history.undoName(), m_session->lang.text(Str::StepRead));
        QVERIFY(!m_session->history.isModified());
        QVERIFY(!m_window->windowTitle().contains(QStringLiteral("mine.qv19")));
        QVERIFY(saveDocument(*m_session) != edited);
        m_window->editCommands()->undoAction()->trigger();
        QCOMPARE(saveDocument(*m_session), edited);
        QVERIFY(m_window->windowTitle().endsWith(QStringLiteral("mine.qv19*")));
    }

    // The write dialog brings a VFO row into its band as it opens: its status line says so, and
    // the move is one step of its own.
    void writeBandCheckIsOneStep() {
        auto started = DemoRadio::start(16);
        QVERIFY(std::holds_alternative<std::unique_ptr<DemoRadio>>(started));
        m_session->doc.tableA.setCell(Col::RxFreq, 1, QStringLiteral("100.00000"));
        m_session->history.flush();
        m_window->writeCommand();
        auto* form = qobject_cast<TRWForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        const QString status = form->findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage();
        static_cast<QDialog*>(form)->reject();
        const QString moved = QStringLiteral("VFO 136 (A): 100.00000 → 136.00000");
        QVERIFY2(status.trimmed().startsWith(m_session->lang.text(Str::VfoRowsMoved).arg(moved)),
                 qPrintable(status));
        QCOMPARE(m_session->history.undoName(), m_session->lang.text(Str::StepVfoIntoBand));
        m_session->history.undo();
        QCOMPARE(m_session->doc.tableA.cell(Col::RxFreq, 1), QStringLiteral("100.00000"));
    }

    // The read dialog runs no event loop of its own, so a transfer started from it in the
    // program's loop waits in the link's loop only (a browser suspends one level at most). Its
    // undo step ends with the dialog, or with the window if the program ends first.
    void readDialogNestsNoLoop() {
        auto started = DemoRadio::start(16);
        QVERIFY(std::holds_alternative<std::unique_ptr<DemoRadio>>(started));
        TRWForm* form = m_window->rwForm();
        const QByteArray before = saveDocument(*m_session);
        const int base = QThread::currentThread()->loopLevel();
        bool shown = false;
        int inTransfer = -1;
        QEventLoop program;
        QTimer::singleShot(0, m_window.get(), [&] { m_window->readCommand(); });
        QTimer::singleShot(0, m_window.get(), [&] {
            shown = form->isVisible();
            // The first turn of a loop within the transfer: its first wait.
            QTimer::singleShot(0, form, [&] {
                inTransfer = QThread::currentThread()->loopLevel();
                form->link().cancel();
            });
            form->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            static_cast<QDialog*>(form)->reject();
            program.quit();
        });
        program.exec();
        QVERIFY(shown);
        QCOMPARE(inTransfer, base + 2); // the program's loop and the link's wait
        QVERIFY(!form->isVisible());
        QCOMPARE(saveDocument(*m_session), before); // the cancelled read put it back
        m_window->readCommand();
        QVERIFY(form->isVisible());
        m_window.reset();
        const int steps = m_session->history.stepCount();
        m_session->doc.tableA.setCell(Col::Name, 4, QStringLiteral("AFTER"));
        m_session->history.flush();
        QCOMPARE(m_session->history.stepCount(), steps + 1);
    }

    // Exit, New, Open and Read ask before unsaved changes are lost: Save writes the opened file
    // and goes on, Discard goes on, Cancel leaves everything as it was.
    void saveChangesPrompt_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        for (const char* command : {"Exit", "New", "Open", "Read"})
            for (auto answer : {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel})
                QTest::addRow("%s %s", command,
                              answer == QMessageBox::Save      ? "Save"
                              : answer == QMessageBox::Discard ? "Discard"
                                                               : "Cancel")
                    << QString::fromLatin1(command) << int(answer);
    }
    void saveChangesPrompt() {
        QFETCH(QString, command);
        QFETCH(int, answer);
        m_session->doc.tableA.setCell(Col::Name, 4, QStringLiteral("EDITED"));
        QTRY_VERIFY(m_window->windowTitle().endsWith(QLatin1Char('*')));
        const QByteArray edited = saveDocument(*m_session);
        ModalAnswer prompt(QStringLiteral("SaveChangesBox"), [answer](QMessageBox* box) {
            QTest::mouseClick(box->button(QMessageBox::StandardButton(answer)), Qt::LeftButton);
        });
        if (command == u"Exit")
            m_window->close();
        else if (command == u"New")
            m_window->newDocumentCommand();
        else if (command == u"Open")
            m_window->openCommand();
        else
            m_window->readCommand();
        QVERIFY(prompt.answered());
        QCOMPARE(prompt.text(), m_session->lang.text(Str::SaveChangesQuestion));
        const bool goesOn = answer != QMessageBox::Cancel;
        QCOMPARE(fileBytes(), answer == QMessageBox::Save ? edited : m_original);
        if (command == u"Exit") QCOMPARE(m_window->isVisible(), !goesOn);
        if (command == u"New") QCOMPARE(m_session->doc.tableA.rowEmpty(4), goesOn);
        // Open shows its file dialog, Read its port warning or transfer dialog, only after Save or Discard.
        if (command == u"Open" || command == u"Read") QTRY_COMPARE(prompt.closedAfter() > 0, goesOn);
        if (!goesOn) {
            QCOMPARE(saveDocument(*m_session), edited);
            QVERIFY(m_session->history.isModified());
        }
    }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
