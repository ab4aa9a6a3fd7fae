// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include <QtTest>
#include <memory>

namespace {
// Moves every optional function away from its new-document value, so that a value the new
// document forgets to set shows up.
void scramble(ControlStore& f) {
    using Kind = ControlState::Kind;
    for (const QString& name : f.names()) {
        const ControlState& s = f.state(name);
        switch (s.kind) {
        case Kind::List:
            f.setIndex(name, s.index == 0 ? 1 : 0);
            break;
        case Kind::Check:
            f.setChecked(name, !s.checked);
            break;
        case Kind::Edit:
            f.setText(name, QStringLiteral("9"));
            break;
        case Kind::UpDown:
            f.setPosition(name, s.position == s.maximum ? s.minimum : s.maximum);
            break;
        default:
            break;
        }
    }
}
} // namespace

class TestModel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void bandLimits_data();
    void bandLimits();
    void identification();
    void changeModelKeepsSelection();
    void changeModelInEnglish();
    void newDocumentValues_data();
    void newDocumentValues();
    void newDocumentLists();
    void newDocumentEmptiesTables();

private:
    std::unique_ptr<Session> m_s;
};

void TestModel::init() {
    m_s = std::make_unique<Session>();
    m_s->doc.main.setItems(MainCtl::Model, {QStringLiteral("KT-520RX")});
    m_s->doc.main.setIndex(MainCtl::Model, 0);
    m_s->lang.index = 1;
}

void TestModel::bandLimits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lower"); // -1 = no band
    QTest::addColumn<int>("upper");
    QTest::newRow("400-430") << "400-430MHz" << 400 << 430;
    QTest::newRow("136-174") << "136-174MHz" << 136 << 174;
    QTest::newRow("one frequency") << "433-433MHz" << 433 << 433;
    QTest::newRow("empty") << "" << -1 << -1;
    QTest::newRow("no unit") << "400-470" << -1 << -1;
    QTest::newRow("letter") << "40a-470MHz" << -1 << -1;
    QTest::newRow("two digits") << "40-470MHzz" << -1 << -1;
    QTest::newRow("wrong dash") << "400+470MHz" << -1 << -1;
    QTest::newRow("reversed") << "470-400MHz" << -1 << -1;
    QTest::newRow("trailing text") << "400-470MHz extra" << -1 << -1;
    QTest::newRow("sign") << "-40-470MHz" << -1 << -1;
}

void TestModel::bandLimits() {
    QFETCH(QString, text);
    QFETCH(int, lower);
    QFETCH(int, upper);
    const auto b = ::bandLimits(text);
    QCOMPARE(b.has_value(), lower >= 0);
    if (b) {
        QCOMPARE(b->lower, lower);
        QCOMPARE(b->upper, upper);
    }
}

void TestModel::identification() {
    QCOMPARE(modelIdentHex(0), QString("51562D520585FF06"));
    QVERIFY(modelIdentHex(1).isEmpty());
    QVERIFY(m_s->modelIdentHex.isEmpty());
    QCOMPARE(changeModel(*m_s), QString("KT-520RX"));
    QCOMPARE(m_s->modelIdentHex, QString("51562D520585FF06"));
    // No model selected: the identification stays.
    m_s->doc.main.setIndex(MainCtl::Model, -1);
    changeModel(*m_s);
    QCOMPARE(m_s->modelIdentHex, QString("51562D520585FF06"));
}

void TestModel::changeModelKeepsSelection() {
    ControlStore& f = m_s->doc.func;
    f.setIndex("ComboBox1", 5);
    f.setIndex("ComboBox5", 12);
    changeModel(*m_s);
    QCOMPARE(f.items("ComboBox1").size(), 16);
    QCOMPARE(f.items("ComboBox5").size(), 13);
    changeModel(*m_s);
    QCOMPARE(f.index("ComboBox1"), 5);
    QCOMPARE(f.currentItem("ComboBox1"), QString("50M"));
    QCOMPARE(f.currentItem("ComboBox5"), QString("120"));
    QCOMPARE(f.items("ComboBox1").first(), m_s->lang.words.off);
}

void TestModel::changeModelInEnglish() {
    m_s->lang.index = 2;
    changeModel(*m_s);
    if (!m_s->lang.loaded) QSKIP("no English language file beside the test");
    ControlStore& f = m_s->doc.func;
    QCOMPARE(m_s->lang.words.off, QString("OFF"));
    QCOMPARE(f.items("ComboBox1").first(), QString("OFF"));
    QCOMPARE(f.items("ComboBox5").first(), QString("OFF"));
    QCOMPARE(f.items("ComboBox26"), QStringList({"ON", "OFF"}));
    QCOMPARE(f.items("ComboBox16").first(), m_s->lang.text(118));
}

void TestModel::newDocumentValues_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected"); // list index, check 0/1, edit text, up-down position
    const QList<QPair<const char*, const char*>> rows = {
        {"UpDown8", "144"},   {"Edit13", "144"},    {"UpDown9", "146"},       {"Edit14", "146"},
        {"UpDown10", "430"},  {"Edit15", "430"},    {"UpDown17", "440"},      {"Edit28", "440"},
        {"ComboBox1", "0"},   {"ComboBox2", "2"},   {"ComboBox4", "1"},       {"ComboBox5", "3"},
        {"ComboBox10", "4"},  {"ComboBox20", "0"},  {"ComboBox3", "1"},       {"ComboBox19", "1"},
        {"ComboBox27", "1"},  {"ComboBox28", "1"},  {"ComboBox21", "4"},      {"ComboBox18", "2"},
        {"Edit16", "KT-510"}, {"ComboBox9", "2"},   {"ComboBox22", "0"},      {"ComboBox24", "0"},
        {"CheckBox1", "1"},   {"CheckBox2", "0"},   {"CheckBox24", "0"},      {"CheckBox15", "0"},
        {"CheckBox6", "0"},   {"CheckBox5", "0"},   {"CheckBox21", "1"},      {"CheckBox29", "1"},
        {"CheckBox32", "1"},  {"CheckBox39", "0"},  {"ComboBox26", "1"},      {"CheckBox22", "0"},
        {"CheckBox23", "0"},  {"CheckBox25", "0"},  {"CheckBox18", "1"},      {"CheckBox28", "1"},
        {"CheckBox27", "1"},  {"CheckBox26", "1"},  {"CheckBox30", "1"},      {"Edit2", "100"},
        {"UpDown2", "100"},   {"Edit3", "100"},     {"UpDown3", "100"},       {"Edit4", "0"},
        {"UpDown4", "0"},     {"Edit5", "600"},     {"UpDown5", "600"},       {"Edit6", "0"},
        {"UpDown6", "0"},     {"CheckBox7", "0"},   {"CheckBox8", "1"},       {"CheckBox31", "1"},
        {"CheckBox34", "0"},  {"ComboBox16", "1"},  {"Edit7", "510"},         {"Edit8", "510"},
        {"ComboBox15", "5"},  {"ComboBox25", "0"},  {"Edit24", "8"},          {"UpDown12", "8"},
        {"ComboBox17", "0"},  {"Edit9", "1000"},    {"Edit10", "30"},         {"UpDown7", "30"},
        {"CheckBox10", "0"},  {"CheckBox9", "0"},   {"CheckBox11", "0"},      {"CheckBox13", "1"},
        {"Edit11", ""},       {"CheckBox12", "1"},  {"Edit19", ""},           {"CheckBox17", "1"},
        {"ComboBox11", "1"},  {"ComboBox12", "13"}, {"ComboBox8", "3"},       {"ComboBox119", "7"},
        {"ComboBox13", "6"},  {"ComboBox14", "5"},  {"ComboBox23", "0"},      {"CheckBox33", "1"},
        {"CheckBox16", "0"},  {"CheckBox3", "1"},   {"Edit32", "2099-10-01"}, {"Edit31", "2099-10-01"},
        {"CheckBox19", "0"},  {"CheckBox14", "0"},  {"Edit23", "51099"},      {"CheckBox20", "0"},
        {"ComboBox6", "5"},   {"ComboBox7", "0"},   {"CheckBox4", "0"},       {"UpDown1", "15"},
        {"Edit17", "0"},      {"UpDown11", "0"},
    };
    for (const auto& r : rows)
        QTest::newRow(r.first) << QString::fromLatin1(r.first) << QString::fromLatin1(r.second);
}

void TestModel::newDocumentValues() {
    QFETCH(QString, control);
    QFETCH(QString, expected);
    ControlStore& f = m_s->doc.func;
    scramble(f);
    QCOMPARE(newDocument(*m_s), QString("KT-520RX"));
    const ControlState& s = f.state(control);
    QString actual;
    switch (s.kind) {
    case ControlState::Kind::List:
        actual = QString::number(s.index);
        break;
    case ControlState::Kind::Check:
        actual = QString::number(int(s.checked));
        break;
    case ControlState::Kind::Edit:
        actual = s.text;
        break;
    case ControlState::Kind::UpDown:
        actual = QString::number(s.position);
        break;
    default:
        QFAIL("not a value control");
    }
    QCOMPARE(actual, expected);
}

void TestModel::newDocumentLists() {
    ControlStore& f = m_s->doc.func;
    scramble(f);
    for (int row = 1; row <= 32; ++row)
        f.setCell("StringGrid2", 1, row, "100.000");
    for (int row = 1; row <= 16; ++row)
        f.setCell("StringGrid1", 1, row, "9");
    newDocument(*m_s);
    QCOMPARE(f.cell("StringGrid1", 1, 1), QString("1001"));
    QCOMPARE(f.cell("StringGrid1", 1, 2), QString("1002"));
    for (int row = 3; row <= 16; ++row)
        QVERIFY(f.cell("StringGrid1", 1, row).isEmpty());
    QCOMPARE(f.cell("StringGrid1", 0, 5), QString("4")); // labels stay
    QCOMPARE(f.cell("StringGrid2", 1, 1), QString("87") + systemDecimalPoint() + "500");
    for (int row = 2; row <= 32; ++row)
        QVERIFY2(f.cell("StringGrid2", 1, row).isEmpty(), qPrintable(QString::number(row)));
    QCOMPARE(f.text("Edit1"), QString("1") + systemDecimalPoint() + "5");
    QVERIFY(!f.enabled("ComboBox26"));
    QVERIFY(!f.enabled("Edit7"));
    QCOMPARE(f.maxLength("Edit7"), 15);
}

void TestModel::newDocumentEmptiesTables() {
    for (ChannelTable* t : {&m_s->doc.tableA, &m_s->doc.tableB}) {
        t->setRowLabels();
        for (int row = 1; row <= ChannelTable::LastRow; row += 7)
            for (int col = 1; col < ChannelTable::Columns; ++col)
                t->setCell(col, row, "x");
    }
    const QString label = m_s->doc.tableA.cell(0, 5);
    newDocument(*m_s);
    for (ChannelTable* t : {&m_s->doc.tableA, &m_s->doc.tableB})
        for (int row = 1; row <= ChannelTable::LastRow; ++row)
            for (int col = 1; col < ChannelTable::Columns; ++col)
                QVERIFY(t->cell(col, row).isEmpty());
    QCOMPARE(m_s->doc.tableA.cell(0, 5), label);
}

QTEST_GUILESS_MAIN(TestModel)
#include "test_model.moc"
