// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/backupsdialog.h"
#include "app/comparedialog.h"
#include "app/helpmenu.h"
#include "app/mainwindow.h"
#include "app/problemspanel.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/transfer/backup.h"
#include "sim/simwire.h"
#include "sim/virtualradio.h"
#include "tests/common/languagefiles.h"
#include "ui/channels/channelwindow.h"
#include "ui/common/accessiblenames.h"
#include "ui/options/funcwindow.h"
#include "ui/service/testform.h"
#include "ui/transfer/rwform.h"
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {
const char* const Service = "kt520_service";

bool serviceMarked(const QObject* o, const QWidget* window) {
    for (; o; o = o->parent()) {
        if (o->property(Service).toBool()) return true;
        if (o == window) break;
    }
    return false;
}

bool hiddenByProgram(const QWidget* w) {
    return w->testAttribute(Qt::WA_WState_Hidden) && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// The rule. A control counts when it is enabled and takes focus (any policy but NoFocus): the
// keyboard, a shortcut or a screen reader can reach it. Such a control is a fault when
//  - it is a service control (kt520_service on it or on an ancestor, the window included), or
//  - it or an ancestor below its window is hidden, except a page of a stack (a tab page that is
//    not current: choosing its tab shows it) and a part that a Qt widget shows on demand, or
//  - its rectangle does not lie inside its window, except inside the scrolled content of a
//    scroll area or item view (scrolling shows it).
// Hidden means hidden by the program (hide() or setVisible(false)), not merely "window not on
// screen", so the rule does not depend on whether a dialog is showing; dialogs are shown all the
// same, since only a shown window has laid out its controls' rectangles.
QString fault(QWidget* c, QWidget* window) {
    if (!c->isEnabled() || c->focusPolicy() == Qt::NoFocus) return {};
    if (serviceMarked(c, window)) return QStringLiteral("service control");
    // Qt's own parts (qt_…) that their composite shows on demand, like a calendar's year field.
    if (c->objectName().startsWith(u"qt_") && hiddenByProgram(c)) return {};
    bool scrolled = false;
    for (QWidget* p = c; p && p != window; p = p->parentWidget()) {
        QWidget* up = p->parentWidget();
        if (hiddenByProgram(p) && !qobject_cast<QStackedWidget*>(up)) return QStringLiteral("hidden");
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up ? up->parentWidget() : nullptr))
            scrolled = scrolled || up == area->viewport();
    }
    if (scrolled) return {};
    const QRect inWindow(c->mapTo(window, QPoint(0, 0)), c->size());
    if (!window->rect().contains(inWindow)) return QStringLiteral("outside its window");
    return {};
}

QString describe(QWidget* c, QWidget* window, const QString& why) {
    QStringList path;
    for (QWidget* p = c; p && p != window; p = p->parentWidget())
        path.prepend(p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className())
                                               : p->objectName());
    return QStringLiteral("%1: %2 %3").arg(window->objectName(), path.join(QLatin1Char('/')), why);
}

// Contents of other windows (the child windows inside the main window's area) are theirs.
bool belongsTo(QWidget* c, QWidget* window, const QList<QWidget*>& windows) {
    for (QWidget* p = c->parentWidget(); p && p != window; p = p->parentWidget())
        if (windows.contains(p) || qobject_cast<QMdiSubWindow*>(p) || p->isWindow()) return false;
    return true;
}

// The focus chain from the window, and every child besides: whatever is focusable must pass.
QStringList faults(QWidget* window, const QList<QWidget*>& windows = {}) {
    QList<QWidget*> seen;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (window->isAncestorOf(w)) seen << w;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!seen.contains(w)) seen << w;
    QStringList out;
    for (QWidget* c : std::as_const(seen)) {
        if (qobject_cast<QMdiSubWindow*>(c) || !belongsTo(c, window, windows)) continue;
        if (const QString why = fault(c, window); !why.isEmpty()) out << describe(c, window, why);
    }
    // A screen reader, walking the window's tree, finds no action on anything hidden, and neither
    // an action nor a child on a service control, disabled or not. The list a combo box pops up
    // and Qt's own parts (a dock's title buttons) show on demand.
    std::function<void(QAccessibleInterface*, bool)> walk = [&](QAccessibleInterface* face, bool hidden) {
        auto* c = qobject_cast<QWidget*>(face->object());
        if (!c) return;
        hidden = hidden ||
                 (c != window && hiddenByProgram(c) && !qobject_cast<QStackedWidget*>(c->parentWidget()));
        QAccessibleActionInterface* act = face->actionInterface();
        const bool acts = act && !act->actionNames().isEmpty();
        if (c != window && serviceMarked(c, window)) {
            if (acts || face->childCount() > 0)
                out << describe(c, window, QStringLiteral("offers an action or a child"));
            return;
        }
        if (hidden && acts && !c->objectName().startsWith(u"qt_"))
            out << describe(c, window, QStringLiteral("hidden, offers an action"));
        if (qobject_cast<QComboBox*>(c) || qobject_cast<QTabBar*>(c)) return;
        for (int i = 0; i < face->childCount(); ++i)
            if (QAccessibleInterface* child = face->child(i)) {
                auto* w = qobject_cast<QWidget*>(child->object());
                if (!w || qobject_cast<QMdiSubWindow*>(w) || w->isWindow() || windows.contains(w)) continue;
                walk(child, hidden);
            }
    };
    walk(QAccessible::queryAccessibleInterface(window), false);
    return out;
}

// What a screen reader says for a control; a list is named by its label on Linux.
QString spoken(QWidget* c) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c);
    if (!face) return {};
    if (qobject_cast<QComboBox*>(c)) {
        for (const auto& [label, relation] : face->relations(QAccessible::Label))
            if (const QString n = label->text(QAccessible::Name).trimmed(); !n.isEmpty()) return n;
        return c->accessibleName().trimmed();
    }
    return face->text(QAccessible::Name).trimmed();
}

// The controls of `window` that the mouse reaches on its current page: shown, enabled, operated.
// The tool bar's buttons repeat menu items, and the arrows beside a field repeat its Up and Down.
QList<QWidget*> mouseReached(QWidget* window, const QList<QWidget*>& windows = {}) {
    QList<QWidget*> out;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!isInteractiveWidget(c) || !c->isVisibleTo(window) || !c->isEnabled() ||
            !belongsTo(c, window, windows) || serviceMarked(c, window))
            continue;
        if (qobject_cast<QToolBar*>(c->parentWidget()) && qobject_cast<QToolButton*>(c)) continue;
        if (c->focusPolicy() == Qt::ClickFocus || qobject_cast<QHeaderView*>(c)) continue;
        if (auto* arrow = qobject_cast<QToolButton*>(c); arrow && arrow->arrowType() != Qt::NoArrow) continue;
        out << c;
    }
    return out;
}

// No two controls of one window share a name, and none is without one; a disabled control
// counts, since a choice elsewhere enables it.
QStringList nameFaults(QWidget* window, const QList<QWidget*>& windows = {}) {
    QStringList out;
    QMap<QString, QString> first;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        const bool operated = isInteractiveWidget(c) || qobject_cast<QAbstractScrollArea*>(c);
        if (!operated || c->focusPolicy() == Qt::NoFocus || !belongsTo(c, window, windows) ||
            !fault(c, window).isEmpty() || c->objectName().startsWith(u"qt_"))
            continue;
        const QString name = spoken(c);
        if (name.isEmpty())
            out << describe(c, window, QStringLiteral("has no name"));
        else if (first.contains(name))
            out << describe(c, window, QStringLiteral("shares \"%1\" with %2").arg(name, first.value(name)));
        else
            first.insert(name, c->objectName());
    }
    return out;
}

// Tab from `start` until the focus comes back to it. A control met twice before that is a trap.
QString tabWalk(QWidget* start, QWidget* window, const QList<QWidget*>& expected) {
    start->setFocus(Qt::TabFocusReason);
    if (QApplication::focusWidget() != start)
        return describe(start, window, QStringLiteral("takes no focus"));
    QList<QWidget*> met{start};
    for (int i = 0; i < 400; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* at = QApplication::focusWidget();
        if (at == start) {
            QStringList missed;
            for (QWidget* c : expected)
                if (!met.contains(c)) missed << describe(c, window, QStringLiteral("not reached by Tab"));
            return missed.join(QLatin1Char('\n'));
        }
        if (!at || met.contains(at)) return describe(at ? at : start, window, QStringLiteral("traps Tab"));
        met << at;
    }
    return describe(start, window, QStringLiteral("Tab never comes back"));
}

// Every page of a window's tabs in turn, each walked from its first control.
QStringList walkEveryPage(QWidget* window, const QList<QWidget*>& windows = {}) {
    QStringList out;
    QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
    const int pages = tabs.isEmpty() ? 1 : int(tabs.first()->count());
    for (int page = 0; page < pages; ++page) {
        if (!tabs.isEmpty()) tabs.first()->setCurrentIndex(page);
        QApplication::processEvents();
        const QList<QWidget*> expected = mouseReached(window, windows);
        if (expected.isEmpty()) continue;
        if (const QString f = tabWalk(expected.first(), window, expected); !f.isEmpty()) out << f;
    }
    if (!tabs.isEmpty()) tabs.first()->setCurrentIndex(0);
    return out;
}
} // namespace

class TestFocusChain : public QObject {
    Q_OBJECT
private slots:
    // One program for every case, as a user meets it: started once.
    void initTestCase();
    void cleanupTestCase();
    void normalModeReachesNoHiddenControl();
    void noShortcutRunsAServiceCommand();
    void serviceModeReachesTheServiceControls();
    void appDialogs();
    void namesAreTheirOwn_data();
    void namesAreTheirOwn();
    void tabLeavesEveryControlAndReachesAll();
    void keysGoRoundTheMainWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TMainForm> m_window;
    VirtualRadio m_radio;
    void start();
    // Each window as the user meets it: a dialog shown, a child window shown in the area.
    QStringList checkEveryWindow();
};

void TestFocusChain::initTestCase() {
    m_dir = std::make_unique<QTemporaryDir>();
    copyLanguageFiles(m_dir->path());
    start();
}

void TestFocusChain::cleanupTestCase() {
    m_window.reset();
    m_session.reset();
}

// As main() builds the program without --service.
void TestFocusChain::start() {
    m_session = std::make_unique<Session>();
    m_session->files = ProgramFiles::besideExecutable(m_dir->path());
    m_window = std::make_unique<TMainForm>(*m_session);
    m_window->askUnsaved = [] { return UnsavedAnswer::Discard; };
    m_window->rwForm()->setPortFactory([this] { return std::make_unique<SimPort>(m_radio); });
    m_window->resize(1280, 900);
    m_window->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

QStringList TestFocusChain::checkEveryWindow() {
    TMainForm& w = *m_window;
    QApplication::processEvents(); // the tool bar lays out a button its action shows
    const QList<QWidget*> windows = w.windowsInOrder();
    QStringList out = faults(&w, windows);
    for (QWidget* window : windows.mid(1)) {
        if (auto* dialog = qobject_cast<QDialog*>(window)) {
            dialog->show();
            out << faults(dialog);
            dialog->hide();
        } else if (window == w.testForm() && !w.rwForm()->serviceMode()) {
            // Not in the program's windows at all in normal mode, so no screen reader finds it.
            if (w.isAncestorOf(window) || window->window()->windowHandle())
                out << QStringLiteral("TTestForm: within reach in normal mode");
        } else {
            w.showChild(window);
            out << faults(window);
        }
    }
    return out;
}

void TestFocusChain::normalModeReachesNoHiddenControl() {
    const QStringList found = checkEveryWindow();
    for (const QString& f : found)
        qWarning("%s", qPrintable(f));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    // The service controls are not in the dialog at all: nothing reaches them.
    QVERIFY(!m_window->rwForm()->findChild<QWidget*>(QStringLiteral("Button5")));
    // As a keyboard user goes: Tab round the dialog from its exit button meets only what shows.
    TRWForm* rw = m_window->rwForm();
    rw->show();
    rw->findChild<QWidget*>(QStringLiteral("Button2"))->setFocus();
    QStringList landed;
    for (int i = 0; i < 16; ++i) {
        QTest::keyClick(rw->focusWidget(), Qt::Key_Tab);
        QWidget* at = rw->focusWidget();
        QVERIFY(at);
        if (serviceMarked(at, rw) || !at->isVisible()) landed << at->objectName();
    }
    rw->hide();
    QCOMPARE(landed, QStringList());
    // Pressing it from code does nothing either.
    m_window->rwForm()->Button5Click();
    QCOMPARE(m_radio.framesReceived(), 0);
}

// Every action or shortcut that a key, a menu or a tool button reaches in normal mode; a service
// one must be hidden and disabled.
void TestFocusChain::noShortcutRunsAServiceCommand() {
    QStringList out;
    for (QAction* a : m_window->findChildren<QAction*>()) {
        bool service = a->property(Service).toBool();
        for (QObject* o : a->associatedObjects())
            service = service || serviceMarked(o, nullptr);
        if (service && (a->isEnabled() || a->isVisible())) out << QStringLiteral("action ") + a->objectName();
    }
    for (QShortcut* s : m_window->findChildren<QShortcut*>()) {
        auto* owner = qobject_cast<QWidget*>(s->parent());
        if (serviceMarked(s, nullptr) && s->isEnabled() && owner && owner->isEnabled())
            out << QStringLiteral("shortcut ") + s->key().toString();
    }
    QVERIFY2(out.isEmpty(), qPrintable(out.join(QLatin1Char('\n'))));
    auto* tool = m_window->findChild<QAction*>(QStringLiteral("AlignmentTool"));
    QVERIFY(tool && tool->property(Service).toBool());
    tool->trigger();
    QVERIFY(!m_window->testForm()->isVisible());
}

void TestFocusChain::serviceModeReachesTheServiceControls() {
    m_window->setServiceMode(true);
    // In service mode the service controls are ordinary ones: shown, inside and reached.
    QList<QWidget*> marked;
    for (QWidget* c : m_window->findChildren<QWidget*>())
        if (c->property(Service).toBool()) marked << c;
    for (QWidget* c : std::as_const(marked))
        c->setProperty(Service, QVariant());
    const QStringList inService = checkEveryWindow();
    for (QWidget* c : std::as_const(marked))
        c->setProperty(Service, true);
    QVERIFY2(inService.isEmpty(), qPrintable(inService.join(QLatin1Char('\n'))));
    TRWForm* rw = m_window->rwForm();
    rw->show();
    QList<QWidget*> chain;
    for (QWidget* w = rw->nextInFocusChain(); w != rw; w = w->nextInFocusChain())
        chain << w;
    for (const char* name : {"Button3", "CheckBox1", "ComboBox1", "Button5"}) {
        auto* control = rw->findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(control && chain.contains(control) && control->isVisible() && control->isEnabled() &&
                     (control->focusPolicy() & Qt::TabFocus),
                 name);
    }
    rw->hide();
    m_window->setServiceMode(false);
    const QStringList afterwards = checkEveryWindow();
    QVERIFY2(afterwards.isEmpty(), qPrintable(afterwards.join(QLatin1Char('\n'))));
}

// The dialogs of the program's own commands, built as their commands build them.
void TestFocusChain::appDialogs() {
    QStringList out;
    // Two backups: a list with rows is where Tab used to go from cell to cell.
    QDateTime now(QDate(2026, 12, 7), QTime(21, 30, 5));
    const BackupStore store(m_dir->filePath(QStringLiteral("backups")), 200,
                            [&now] { return now = now.addSecs(60); });
    for (int i = 0; i < 2; ++i)
        QVERIFY(store
                    .save(saveDocument(*m_session), RadioImage(), QStringLiteral("Qovran"), false,
                          m_session->lang)
                    .ok());
    BackupsDialog backups(
        *m_session, store, [](const QString&) {}, m_window.get());
    CompareDialog compare(
        *m_session, QStringLiteral("other.qv19"), {}, [](const DocumentDifference&) {}, m_window.get());
    for (QDialog* dialog : {static_cast<QDialog*>(&backups), static_cast<QDialog*>(&compare)}) {
        dialog->show();
        out << faults(dialog);
        dialog->hide();
    }
    bool guideSeen = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        if (QWidget* guide = QApplication::activeModalWidget()) {
            guideSeen = true;
            out << faults(guide);
            guide->close();
        }
    });
    showUserGuide(m_window.get(), *m_session);
    QVERIFY(guideSeen);
    QVERIFY2(out.isEmpty(), qPrintable(out.join(QLatin1Char('\n'))));
}

void TestFocusChain::namesAreTheirOwn_data() {
    addLanguageRows();
}

// Per window, in every language, and in service mode for the service windows too.
void TestFocusChain::namesAreTheirOwn() {
    QFETCH(int, language);
    m_window->selectLanguage(language);
    QStringList out;
    for (bool service : {false, true}) {
        m_window->setServiceMode(service);
        const QList<QWidget*> windows = m_window->windowsInOrder();
        out << nameFaults(m_window.get(), windows);
        for (QWidget* window : windows.mid(1)) {
            if (window == m_window->testForm() && !service) continue;
            if (window == m_window->rwForm()) // a write shows the most: its safety choices
                m_window->rwForm()->prepareFor(TransferMode::Write, QStringLiteral("W"), QStringLiteral("W"));
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialog->show();
            else
                m_window->showChild(window);
            out << nameFaults(window);
            if (qobject_cast<QDialog*>(window)) window->hide();
        }
    }
    m_window->setServiceMode(false);
    // A box captioned after its window was named speaks its caption, not the window's title.
    auto* backupFirst = m_window->rwForm()->findChild<QAbstractButton*>(QStringLiteral("BackupFirstCheck"));
    QCOMPARE(spoken(backupFirst), QString(backupFirst->text()).remove(u'&'));
    CompareDialog compare(
        *m_session, QStringLiteral("other.qv19"), {}, [](const DocumentDifference&) {}, m_window.get());
    compare.show();
    out << nameFaults(&compare);
    QTimer::singleShot(0, m_window.get(), [&] {
        if (QWidget* guide = QApplication::activeModalWidget()) {
            out << nameFaults(guide);
            guide->close();
        }
    });
    showUserGuide(m_window.get(), *m_session);
    out.removeDuplicates();
    QVERIFY2(out.isEmpty(), qPrintable(out.join(QLatin1Char('\n'))));
}

void TestFocusChain::tabLeavesEveryControlAndReachesAll() {
    m_window->selectLanguage(2);
    QStringList out;
    const QList<QWidget*> windows = m_window->windowsInOrder();
    for (QWidget* window : windows.mid(1)) {
        if (window == m_window->testForm()) continue;
        QWidget* shown = m_window.get();
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->show(), shown = dialog;
        else
            m_window->showChild(window);
        shown->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shown));
        out << walkEveryPage(window);
        if (qobject_cast<QDialog*>(window)) window->hide();
    }
    BackupsDialog backups(
        *m_session, backupStoreFor(*m_session), [](const QString&) {}, m_window.get());
    CompareDialog compare(
        *m_session, QStringLiteral("other.qv19"), {}, [](const DocumentDifference&) {}, m_window.get());
    for (QDialog* dialog : {static_cast<QDialog*>(&backups), static_cast<QDialog*>(&compare)}) {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        out << walkEveryPage(dialog);
        dialog->hide();
    }
    QVERIFY2(out.isEmpty(), qPrintable(out.join(QLatin1Char('\n'))));
}

// F6 between the panel, the child window in front and the Problems list; Tab round the panel's
// lists, the arrows change the band; Ctrl+F6 between child windows.
void TestFocusChain::keysGoRoundTheMainWindow() {
    TMainForm& w = *m_window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.problemsPanel()->show();
    w.showChild(w.channelA());
    auto* grid = w.channelA()->findChild<QTableView*>();
    grid->setFocus(Qt::TabFocusReason);
    auto focus = [] { return QApplication::focusWidget(); };
    auto press = [&](QKeyCombination key) { QTest::keyClick(focus(), key.key(), key.keyboardModifiers()); };
    press(Qt::Key_F6);
    QVERIFY(w.problemsPanel()->isAncestorOf(focus()));
    press(Qt::Key_F6);
    QCOMPARE(focus()->objectName(), QStringLiteral("ComboBand1"));
    QStringList round;
    for (int i = 0; i < 3; ++i) {
        press(Qt::Key_Tab);
        round << focus()->objectName();
    }
    QCOMPARE(round, QStringList({"ComboBox26", "ComboBox1", "ComboBand1"}));
    const int band = m_session->doc.main.index(MainCtl::Band1);
    press(band == 0 ? Qt::Key_Down : Qt::Key_Up);
    QVERIFY(m_session->doc.main.index(MainCtl::Band1) != band);
    press(Qt::SHIFT | Qt::Key_F6);
    QVERIFY(w.problemsPanel()->isAncestorOf(focus()));
    press(Qt::SHIFT | Qt::Key_F6);
    QCOMPARE(focus(), grid);
    press(Qt::CTRL | Qt::Key_F6);
    QVERIFY(w.findChild<QMdiArea*>()->activeSubWindow() != w.frameOf(w.channelA()));
    w.problemsPanel()->hide();
}

QTEST_MAIN(TestFocusChain)
#include "test_focuschain.moc"
