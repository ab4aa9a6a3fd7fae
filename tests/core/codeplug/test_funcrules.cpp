// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/codeplug.h"
#include "core/codeplug/funccontrols.h"
#include "core/codeplug/funcrules.h"
#include <QtTest>
#include <memory>

class TestFuncRules : public QObject {
    Q_OBJECT
private slots:
    void fmNormalisation_data();
    void fmNormalisation();
    void longPressTenths_data();
    void longPressTenths();
    void initialStateIsConsistent();
    void gridsHaveTheirShape();
    void channelMode_data();
    void channelMode();
    void switches_data();
    void switches();
    void pttIdType_data();
    void pttIdType();
    void voiceAnnounce();
    void voiceAnnounceActsOnlyOnItsValue();
    void bandTwoLower_data();
    void bandTwoLower();
    void bandTwoLimitsInRadioOrder();
    void editMovesUpDown_data();
    void editMovesUpDown();
    void upDownShowsInEdit_data();
    void upDownShowsInEdit();
    void settle_data();
    void settle();

private:
    std::unique_ptr<Codeplug> m_doc;
    ControlStore& f() { return m_doc->func; }

private slots:
    void init() { m_doc = std::make_unique<Codeplug>(); }
};

void TestFuncRules::fmNormalisation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("dp");
    QTest::addColumn<QString>("expected"); // "?" = not a number
    const QChar dot('.');
    QTest::newRow("98.13") << "98.13" << dot << "98.100";
    QTest::newRow("98.17") << "98.17" << dot << "98.150";
    QTest::newRow("87.4 up") << "87.4" << dot << "87.500";
    QTest::newRow("108.1 down") << "108.1" << dot << "108.000";
    QTest::newRow("100") << "100" << dot << "100.000";
    QTest::newRow("empty stays") << "" << dot << "";
    // 98.15 x 20 is 1962.99... in binary doubles; the raster point itself must stay.
    QTest::newRow("98.15 exact") << "98.15" << dot << "98.150";
    QTest::newRow("100.35 exact") << "100.35" << dot << "100.350";
    QTest::newRow("107.95") << "107.95" << dot << "107.950";
    QTest::newRow("108.049") << "108.049" << dot << "108.000";
    QTest::newRow("87.5") << "87.5" << dot << "87.500";
    QTest::newRow("87. typed") << "87." << dot << "87.500";
    QTest::newRow("negative") << "-5" << dot << "87.500";
    QTest::newRow("huge") << "99999999999999999999999" << dot << "108.000";
    QTest::newRow("comma system") << "98,17" << QChar(',') << "98,150";
    QTest::newRow("dot under comma") << "98.17" << QChar(',') << "98,150";
    QTest::newRow("letters") << "9x.1" << dot << "?";
    QTest::newRow("two separators") << "98.1.1" << dot << "?";
    QTest::newRow("only separator") << "." << dot << "?";
}

void TestFuncRules::fmNormalisation() {
    QFETCH(QString, text);
    QFETCH(QChar, dp);
    QFETCH(QString, expected);
    const auto result = normaliseFmFrequency(text, dp);
    if (expected == "?")
        QVERIFY(!result);
    else
        QCOMPARE(result.value_or("?"), expected);
}

void TestFuncRules::longPressTenths_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -999 = not a number
    QTest::newRow("1.5") << "1.5" << 15;
    QTest::newRow("2.3 exact") << "2.3" << 23; // 2.3 x 10 is 22.99... in doubles
    QTest::newRow("fraction cut") << "1.59" << 15;
    QTest::newRow("whole") << "2" << 20;
    QTest::newRow("blanks") << " 0.7 " << 7;
    QTest::newRow("empty") << "" << -999;
    QTest::newRow("letters") << "1.5s" << -999;
}

void TestFuncRules::longPressTenths() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(::longPressTenths(text, '.').value_or(-999), expected);
}

void TestFuncRules::initialStateIsConsistent() {
    // Each up-down's edit shows its position before anything happens.
    for (const UpDownPair& p : upDownPairs()) {
        const QString ud = QString::fromLatin1(p.upDown);
        QVERIFY2(f().has(ud) && f().has(QString::fromLatin1(p.edit)), p.upDown);
        QCOMPARE(f().text(QString::fromLatin1(p.edit)), upDownText(ud, f().position(ud)));
    }
    QVERIFY(!f().enabled("Edit7")); // PTT ID type 1: only the end code
    QVERIFY(f().enabled("Edit8"));
    QVERIFY(!f().enabled("ComboBox23")); // M key is the menu key
    QVERIFY(!f().enabled("ComboBox26")); // no band extension
    QVERIFY(!f().enabled("CheckBox20")); // no reprogramming
    QCOMPARE(f().state("UpDown9").minimum, f().position("UpDown8") + 1);
    QCOMPARE(f().state("UpDown17").minimum, f().position("UpDown10") + 1);
    for (const char* hidden :
         {"GroupBox16", "CheckBox40", "Edit31", "Edit21", "UpDown15", "Edit25", "UpDown13"})
        QVERIFY2(!f().visible(QString::fromLatin1(hidden)), hidden);
    QCOMPARE(f().text("Edit1"), QString("1") + systemDecimalPoint() + "5");
}

void TestFuncRules::gridsHaveTheirShape() {
    QCOMPARE(f().rowCount("StringGrid2"), 33);
    QCOMPARE(f().rowCount("StringGrid1"), 17);
    f().setCell("StringGrid2", 1, 32, "99.000"); // the 32nd slot has a cell to travel in
    QCOMPARE(f().cell("StringGrid2", 1, 32), QString("99.000"));
    QCOMPARE(f().cell("StringGrid1", 0, 16), QString("15"));
    QCOMPARE(f().cell("StringGrid2", 0, 32), QString("   31"));
}

void TestFuncRules::channelMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("display");
    QTest::newRow("side A") << "ComboBox28"
                            << "ComboBox27";
    QTest::newRow("side B") << "ComboBox19"
                            << "ComboBox3";
}

void TestFuncRules::channelMode() {
    QFETCH(QString, mode);
    QFETCH(QString, display);
    QCOMPARE(f().index(display), 1);
    f().setIndex(mode, 0);
    QCOMPARE(f().index(display), 0);
    QVERIFY(!f().enabled(display));
    f().setIndex(mode, 1);
    QCOMPARE(f().index(display), 0); // left as it was, but selectable again
    QVERIFY(f().enabled(display));
}

void TestFuncRules::switches_data() {
    QTest::addColumn<QString>("check");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("targetEnabled");
    QTest::addColumn<QString>("targetValue"); // list index or check state after the switch
    QTest::newRow("M key menu off") << "CheckBox33" << false << "ComboBox23" << true << "0";
    QTest::newRow("band extension on") << "CheckBox39" << true << "ComboBox26" << true << "1";
    QTest::newRow("reprogramming on") << "CheckBox19" << true << "CheckBox20" << true << "0";
}

void TestFuncRules::switches() {
    QFETCH(QString, check);
    QFETCH(bool, on);
    QFETCH(QString, target);
    QFETCH(bool, targetEnabled);
    QFETCH(QString, targetValue);
    auto value = [&] {
        return f().state(target).kind == ControlState::Kind::List ? QString::number(f().index(target))
                                                                  : QString::number(int(f().checked(target)));
    };
    f().setChecked(check, on);
    QCOMPARE(f().enabled(target), targetEnabled);
    QCOMPARE(value(), targetValue);

    // Switching back: the target returns to its disabled state, and the ones that are cleared
    // when their master goes off are cleared although they were changed meanwhile.
    if (target == "ComboBox26") f().setIndex(target, 0);
    if (target == "CheckBox20") f().setChecked(target, true);
    f().setChecked(check, !on);
    QCOMPARE(f().enabled(target), !targetEnabled);
    if (target == "ComboBox26") QCOMPARE(f().index(target), 1); // band two off
    if (target == "CheckBox20") QVERIFY(!f().checked(target));  // master cleared
}

void TestFuncRules::pttIdType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("startEnabled");
    QTest::addColumn<bool>("endEnabled");
    QTest::newRow("start") << 0 << true << false;
    QTest::newRow("end") << 1 << false << true;
    QTest::newRow("both") << 2 << true << true;
}

void TestFuncRules::pttIdType() {
    QFETCH(int, type);
    QFETCH(bool, startEnabled);
    QFETCH(bool, endEnabled);
    f().setIndex("ComboBox16", type == 1 ? 2 : 1); // start from another state
    f().setIndex("ComboBox16", type);
    QCOMPARE(f().enabled("Edit7"), startEnabled);
    QCOMPARE(f().enabled("Edit8"), endEnabled);
}

void TestFuncRules::voiceAnnounce() {
    f().setText("Edit7", "1234567");
    f().setChecked("CheckBox34", true);
    QCOMPARE(f().text("Edit7"), QString("123"));
    QCOMPARE(f().text("Edit8"), QString("123"));
    QCOMPARE(f().maxLength("Edit7"), 5);
    QCOMPARE(f().maxLength("Edit8"), 5);
    f().setChecked("CheckBox34", false);
    QCOMPARE(f().text("Edit7"), QString("123"));
    QCOMPARE(f().maxLength("Edit8"), 15);
}

void TestFuncRules::voiceAnnounceActsOnlyOnItsValue() {
    // A language switch or an enable change touches the check box without switching it: the
    // codes typed since must survive.
    f().setChecked("CheckBox34", true);
    f().setText("Edit7", "45");
    f().setCaption("CheckBox34", "Voice ID");
    f().setEnabled("CheckBox34", false);
    QCOMPARE(f().text("Edit7"), QString("45"));
}

void TestFuncRules::bandTwoLower_data() {
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<int>("newLower");
    QTest::addColumn<int>("expectedUpper");
    QTest::newRow("VHF above upper") << "UpDown8"
                                     << "UpDown9" << 150 << 151;
    QTest::newRow("VHF equal upper") << "UpDown8"
                                     << "UpDown9" << 146 << 147;
    QTest::newRow("VHF below upper") << "UpDown8"
                                     << "UpDown9" << 140 << 146;
    QTest::newRow("VHF top") << "UpDown8"
                             << "UpDown9" << 173 << 174;
    QTest::newRow("UHF above upper") << "UpDown10"
                                     << "UpDown17" << 445 << 446;
    QTest::newRow("UHF below upper") << "UpDown10"
                                     << "UpDown17" << 401 << 440;
}

void TestFuncRules::bandTwoLower() {
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(int, newLower);
    QFETCH(int, expectedUpper);
    f().setPosition(lower, newLower);
    QCOMPARE(f().position(upper), expectedUpper);
    QCOMPARE(f().state(upper).minimum, newLower + 1);
    QCOMPARE(f().text(pairedEdit(upper)), QString::number(expectedUpper));
    // The upper limit can not go below the lower one + 1.
    f().setPosition(upper, newLower - 5);
    QCOMPARE(f().position(upper), newLower + 1);
}

void TestFuncRules::bandTwoLimitsInRadioOrder() {
    f().setPosition("UpDown8", 160); // upper pushed to 161
    f().setPosition("UpDown10", 460);
    setBandTwoLimits(f(), {144, 146, 430, 440});
    QCOMPARE(f().position("UpDown8"), 144);
    QCOMPARE(f().position("UpDown9"), 146);
    QCOMPARE(f().position("UpDown10"), 430);
    QCOMPARE(f().position("UpDown17"), 440);
    QCOMPARE(f().text("Edit14"), QString("146"));
}

void TestFuncRules::editMovesUpDown_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expectedPosition");
    QTest::newRow("calls per minute") << "Edit17"
                                      << "12" << 12;
    QTest::newRow("calls not a number") << "Edit17"
                                        << "1x" << 0;
    QTest::newRow("calls emptied") << "Edit17"
                                   << "" << 0;
    QTest::newRow("calls above range") << "Edit17"
                                       << "300" << 255;
    QTest::newRow("auto reset") << "Edit10"
                                << "45" << 45;
    QTest::newRow("auto reset not a number") << "Edit10"
                                             << "abc" << 30;
    QTest::newRow("announce time") << "Edit24"
                                   << "20" << 20;
    QTest::newRow("long press") << "Edit1"
                                << "2.3" << 23;
    QTest::newRow("long press cut") << "Edit1"
                                    << "1.79" << 17;
    QTest::newRow("long press below") << "Edit1"
                                      << "0.2" << 5;
    QTest::newRow("band limit from a file") << "Edit13"
                                            << "150" << 150;
}

void TestFuncRules::editMovesUpDown() {
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(int, expectedPosition);
    f().setText(edit, text);
    QCOMPARE(f().position(pairedUpDown(edit)), expectedPosition);
    QCOMPARE(f().text(edit), text);                               // what is typed stays while typing
    if (edit == "Edit13") QCOMPARE(f().position("UpDown9"), 151); // and the band rule follows
}

void TestFuncRules::upDownShowsInEdit_data() {
    QTest::addColumn<QString>("upDown");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");
    const QString dp = systemDecimalPoint();
    QTest::newRow("long press") << "UpDown1" << 22 << "2" + dp + "2";
    QTest::newRow("long press floor") << "UpDown1" << 4 << "0" + dp + "5";
    QTest::newRow("long press ceiling") << "UpDown1" << 26 << "2" + dp + "5";
    QTest::newRow("pre-carrier ms") << "UpDown5" << 700 << "700";
    QTest::newRow("squelch base") << "UpDown14" << 255 << "255";
    QTest::newRow("auto reset") << "UpDown7" << 2 << "3";
}

void TestFuncRules::upDownShowsInEdit() {
    QFETCH(QString, upDown);
    QFETCH(int, position);
    QFETCH(QString, expected);
    f().setPosition(upDown, position);
    QCOMPARE(f().text(pairedEdit(upDown)), expected);
}

void TestFuncRules::settle_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("expectedPosition");
    QTest::newRow("long press below 0.5") << "Edit1"
                                          << "0.3"
                                          << "0,5" << 5;
    QTest::newRow("long press above 2.5") << "Edit1"
                                          << "9"
                                          << "2,5" << 25;
    QTest::newRow("long press extra digits") << "Edit1"
                                             << "1.79"
                                             << "1,7" << 17;
    QTest::newRow("long press not a number") << "Edit1"
                                             << "abc"
                                             << "1,5" << 15;
    QTest::newRow("calls above range") << "Edit17"
                                       << "300"
                                       << "255" << 255;
    QTest::newRow("auto reset not a number") << "Edit10"
                                             << "x"
                                             << "30" << 30;
}

void TestFuncRules::settle() {
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(QString, expectedText);
    QFETCH(int, expectedPosition);
    f().setText(edit, text);
    settleFuncEdits(f(), QChar(','));
    QCOMPARE(f().text(edit), expectedText);
    QCOMPARE(f().position(pairedUpDown(edit)), expectedPosition);
}

QTEST_GUILESS_MAIN(TestFuncRules)
#include "test_funcrules.moc"
