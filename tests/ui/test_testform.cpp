// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/codeplug/applylanguage.h"
#include "tests/common/bench.h"
#include "tests/common/testwaits.h"
#include "ui/common/accessiblenames.h"
#include "ui/service/alignfieldedit.h"
#include "ui/service/radioinfowindow.h"
#include "ui/service/testform.h"
#include "ui/transfer/rwform.h"
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

namespace {
// The alignment window and the read/write dialog on one link to the virtual radio.
struct Bench2 {
    std::unique_ptr<Session> session = startedSession(2);
    VirtualRadio radio;
    TRWForm rw{*session};
    TTestForm form{*session, rw.link()};
    QStringList messages;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Yes;

    Bench2() {
        rw.setQuestionHook([this](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                                  QMessageBox::StandardButtons) {
            questions << text;
            return answer;
        });
        auto port = [this] { return std::make_unique<SimPort>(radio); };
        form.setPortFactory(port);
        rw.setPortFactory(port);
        auto sink = [this](const QString&, const QString& text) { messages << text; };
        form.setMessageSink(sink);
        rw.setMessageSink(sink);
        rw.link().setRepeatBoundMs(1500);
    }
    QLineEdit* edit(int n) { return form.field(n)->edit(); }
    QString memory(int address, int size) { return Frame::toHex(radio.memory().mid(address, size)); }
};
} // namespace

class TestTestForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void typing_data();
    void typing();
    void sideCommands();
    void initialiseAndUsage();
    void nothingWithoutYes();
    void namesTellFieldsApart_data();
    void namesTellFieldsApart();
    void radioInformation();
    void pictures();
};

// What typing leaves in a field and its up-down, and what the write then sends.
void TestTestForm::typing_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("position");
    QTest::newRow("300 in 404") << 404 << "300"
                                << "255" << 255;
    QTest::newRow("300 in 423") << 423 << "300"
                                << "255" << 255;
    QTest::newRow("letters dropped") << 401 << "1a2"
                                     << "12" << 12;
    QTest::newRow("trim -20") << 413 << "-20"
                              << "-20" << -20;
    QTest::newRow("300 in 301 stays") << 301 << "300"
                                      << "300" << 255;
}

void TestTestForm::typing() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, position);
    Bench2 b;
    b.edit(field)->clear();
    QTest::keyClicks(b.edit(field), typed);
    QCOMPARE(b.edit(field)->text(), shown);
    QCOMPARE(b.form.field(field)->position(), position);
    QCOMPARE(b.session->alignment.text(field), shown);
}

void TestTestForm::sideCommands() {
    Bench2 b;
    b.form.show();
    b.edit(413)->setText(QStringLiteral("-20"));
    QTest::mouseClick(b.form.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    QVERIFY2(b.messages.isEmpty(), qPrintable(b.messages.join('\n')));
    QCOMPARE(b.memory(0x01B8, 1), QStringLiteral("6C"));
    // Closing (hiding) and showing again keeps what was typed.
    b.form.hide();
    b.form.show();
    QCOMPARE(b.edit(413)->text(), QStringLiteral("-20"));
    b.form.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("ABC"));
    b.form.nameToHexClick();
    QCOMPARE(b.form.findChild<QLineEdit*>(QStringLiteral("Edit2"))->text(), QStringLiteral("414243"));
    b.form.sampleFillClick();
    QCOMPARE(b.edit(402)->text(), QStringLiteral("116")); // byte 7 of the sample 0x01B0
    QCOMPARE(b.edit(216)->text(), QStringLiteral("30"));
    b.radio.setBatteryReadings(QStringLiteral("200,200,200,200"));
    b.form.batteryClick();
    QCOMPARE(b.memory(0x01BE, 1), QStringLiteral("D4"));
    // A value that does not fit is named, and nothing goes out.
    const int frames = b.radio.framesReceived();
    b.edit(306)->setText(QStringLiteral("30"));
    b.form.writeClick();
    QCOMPARE(b.radio.framesReceived(), frames);
    QVERIFY(b.messages.value(0).contains(QStringLiteral("(306)")));
    // A file round trip through the window.
    QTemporaryDir dir;
    b.edit(306)->setText(QStringLiteral("200"));
    QVERIFY(b.form.saveFile(dir.filePath(QStringLiteral("a.m17"))));
    b.edit(306)->setText(QStringLiteral("60"));
    QVERIFY(b.form.openFile(dir.filePath(QStringLiteral("a.m17"))));
    QCOMPARE(b.edit(306)->text(), QStringLiteral("200"));
}

void TestTestForm::initialiseAndUsage() {
    Bench2 b;
    b.edit(401)->setText(QStringLiteral("100"));
    b.rw.setServiceMode(true);
    b.rw.prepareFor(TransferMode::Write, QStringLiteral("Write"), QStringLiteral("Write"));
    b.rw.show();
    QVERIFY(b.rw.findChild<QPushButton*>(QStringLiteral("Button3"))->isVisible());
    // Stored level 1 in the factory radio, level 3 chosen: bytes 7 and 10 drop by 20.
    b.rw.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(3);
    const QString before = b.memory(0x01B7, 1);
    b.rw.Button5Click();
    QVERIFY2(b.messages.isEmpty(), qPrintable(b.messages.join('\n')));
    QCOMPARE(b.memory(0x01B7, 1).toInt(nullptr, 16), before.toInt(nullptr, 16) - 20);
    QCOMPARE(b.memory(0x01BF, 1), QStringLiteral("03"));
    b.rw.Button3Click();
    QVERIFY2(b.messages.isEmpty(), qPrintable(b.messages.join('\n')));
    QCOMPARE(b.memory(0x01BA, 1), QStringLiteral("64"));
    QVERIFY(!b.radio.clock().isEmpty()); // the initialise write always sets the clock
    b.rw.hide();
}

// The service commands write only after a Yes, and Enter in the dialog presses none of them.
void TestTestForm::nothingWithoutYes() {
    Bench2 b;
    b.rw.setServiceMode(true);
    b.rw.prepareFor(TransferMode::Write, QStringLiteral("Write"), QStringLiteral("Write"));
    b.rw.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.rw));
    b.answer = QMessageBox::No;
    b.rw.Button3Click();
    b.rw.Button5Click();
    QCOMPARE(b.questions.size(), 2);
    QVERIFY(b.questions.value(1).contains(QStringLiteral("0x01B0")));
    for (const char* name : {"Button3", "Button5", "CheckBox1", "Edit1"}) {
        if (auto* w = b.rw.findChild<QWidget*>(QLatin1String(name))) w->setFocus();
        QTest::keyClick(&b.rw, Qt::Key_Return);
    }
    QCOMPARE(b.questions.size(), 2);
    QCOMPARE(b.radio.framesReceived(), 0);
    b.rw.hide();
}

void TestTestForm::namesTellFieldsApart_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("Simplified Chinese") << 1;
    QTest::newRow("English") << 2;
    QTest::newRow("Traditional Chinese") << 3;
}

// A screen reader tells every control the keyboard reaches from every other one: a field says
// its number and caption, a column of a menu table its tab.
void TestTestForm::namesTellFieldsApart() {
    QFETCH(int, language);
    Bench2 b;
    b.session->lang.index = language;
    if (!applyLanguage(*b.session, Language::baseName(language))) QSKIP("no language files beside the test");
    QHash<QString, QString> owner; // accessible name -> object name
    for (QWidget* w : b.form.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !isInteractiveWidget(w)) continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        QVERIFY2(!owner.contains(name), qPrintable(name + ": " + owner.value(name) + ", " + w->objectName()));
        owner.insert(name, w->objectName());
    }
    const QString field = b.edit(417)->accessibleName();
    QVERIFY2(field.contains(QStringLiteral("417")) && field.contains(QStringLiteral("中功率 470")),
             qPrintable(field));
    QCOMPARE(field, b.session->lang.text(Str::SpokenAlignField).arg(417).arg(QStringLiteral("中功率 470")));
}

// "本机信息": model and band are never filled; the status line is set once, after the first
// language switch, and names the program's administrator.
void TestTestForm::radioInformation() {
    Session s;
    Taddmessage info(s);
    auto text = [&](const char* name) { return info.findChild<QLineEdit*>(QLatin1String(name))->text(); };
    auto status = [&] { return info.findChild<QStatusBar*>()->currentMessage(); };
    QCOMPARE(status(), QString());
    {
        // Started without a language file: the built-in caption names the administrator.
        Taddmessage bare(s);
        bare.showAdministrator();
        QCOMPARE(bare.findChild<QStatusBar*>()->currentMessage(), QStringLiteral("  管理员：Qovran"));
    }
    s.lang.index = 2;
    if (!applyLanguage(s, Language::baseName(2))) QSKIP("no language files beside the test");
    const QString line =
        QStringLiteral("  ") + s.lang.caption(QStringLiteral("管理员")) + QStringLiteral("：Qovran");
    QCOMPARE(status(), line);
    s.radioInfo.showProgrammingStamp(QStringLiteral("20231105080910FF4445414C45524646").left(30) +
                                     QStringLiteral("06"));
    s.radioInfo.showFactoryStamp(QString(32, QChar('F')));
    s.lang.index = 1;
    QVERIFY(applyLanguage(s, Language::baseName(1)));
    QCOMPARE(status(), line);
    QCOMPARE(text("Edit1"), QStringLiteral("--------"));
    QCOMPARE(text("Edit2"), QStringLiteral("--------"));
    QCOMPARE(text("Edit3"), QStringLiteral("DEALER"));
    QCOMPARE(text("Edit5"), QStringLiteral("FFFF-FF-FF  FF:FF:FF"));
}

// With KT520_SHOTS=DIR, a picture of every tab in every language (the offscreen platform draws as
// a screen does).
void TestTestForm::pictures() {
    const QString dir = qEnvironmentVariable("KT520_SHOTS");
    if (dir.isEmpty()) QSKIP("KT520_SHOTS not set");
    Bench2 b;
    b.rw.setServiceMode(true);
    b.rw.show();
    QVERIFY(b.rw.grab().save(QDir(dir).filePath(QStringLiteral("rwform-service.png"))));
    b.rw.hide();
    b.form.resize(1000, 640);
    b.form.show();
    for (int language = 1; language <= 3; ++language) {
        b.session->lang.index = language;
        applyLanguage(*b.session, Language::baseName(language));
        auto* tabs = b.form.findChild<QTabWidget*>();
        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QVERIFY(b.form.grab().save(
                QDir(dir).filePath(QStringLiteral("testform-%1-%2.png").arg(language).arg(t))));
        }
    }
}

QTEST_MAIN(TestTestForm)
#include "test_testform.moc"
