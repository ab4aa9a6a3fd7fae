// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/funcpageswidgets.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/controlstore.h"
#include "ui/common/bindwidgets.h"
#include "ui/options/columnflow.h"
#include "ui/options/funcgridswidgets.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QString latin(const char* s) {
    return QString::fromLatin1(s);
}

QGridLayout* gridIn(QWidget* w) {
    auto* g = new QGridLayout(w);
    // Narrow margins: a column of groups must fit the narrow window beside the channel tables.
    g->setContentsMargins(6, 6, 6, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    return g;
}

// A page whose blocks flow into as many columns as its width holds, `preferred` when there is
// room for them.
QWidget* flowingPage(int preferred, const QList<QWidget*>& blocks) {
    auto* page = new QWidget;
    auto* flow = new ColumnFlowLayout(page, preferred);
    flow->setContentsMargins(2, 2, 2, 2); // the tab page has its own frame
    for (QWidget* block : blocks)
        flow->addWidget(block);
    return page;
}

// Check boxes below each other, one block.
QWidget* checkBlock(FuncFormBuilder& b, const QList<const char*>& names) {
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 6, 0, 0);
    column->setSpacing(4);
    for (const char* name : names)
        column->addWidget(b.check(name));
    return block;
}
} // namespace

QComboBox* FuncFormBuilder::combo(const char* name) {
    auto* c = new QComboBox;
    c->setObjectName(latin(name));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Room for the longest word of any language, so a switch never truncates an item.
    c->setMinimumContentsLength(11);
    return c;
}

QCheckBox* FuncFormBuilder::check(const char* name) {
    auto* c = new QCheckBox(m_store.state(latin(name)).caption);
    c->setObjectName(latin(name));
    return c;
}

QLineEdit* FuncFormBuilder::edit(const char* name, std::optional<KeyRule> rule, bool readOnly) {
    auto* e = new QLineEdit;
    e->setObjectName(latin(name));
    e->setReadOnly(readOnly);
    if (rule) {
        e->setValidator(new KeyRuleValidator(*rule, e));
        e->setAcceptDrops(false);
    }
    // As wide as the text it takes, and no wider: a column of the page is as wide as its widest
    // row.
    const int chars = std::clamp(m_store.maxLength(latin(name)), 4, 15);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
    e->setMaximumWidth(e->minimumWidth());
    return e;
}

QWidget* FuncFormBuilder::editUpDown(const char* editName, const char* upDownName, bool readOnly) {
    auto* box = new QWidget;
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    QLineEdit* e = edit(editName, std::nullopt, readOnly);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    auto* u = new UpDownButtons;
    u->setObjectName(latin(upDownName));
    h->addWidget(e);
    h->addWidget(u);
    h->addStretch(1);
    return box;
}

QLabel* FuncFormBuilder::label(const QString& caption) {
    return new QLabel(caption);
}

QLabel* FuncFormBuilder::captionOf(const char* name) {
    return label(m_store.state(latin(name)).caption);
}

QGroupBox* FuncFormBuilder::group(const char* title, const char* objectName) {
    auto* g = new QGroupBox(QString::fromUtf8(title));
    if (objectName) g->setObjectName(latin(objectName));
    return g;
}

void FuncFormBuilder::row(QGridLayout* grid, const char* name, QWidget* field) {
    const int r = grid->rowCount();
    QLabel* caption = captionOf(name);
    caption->setBuddy(field);
    grid->addWidget(caption, r, 0);
    grid->addWidget(field, r, 1);
}

void FuncFormBuilder::hideRow(QGridLayout* grid, QWidget* field) {
    const int index = grid->indexOf(field);
    if (index < 0) return;
    int r = 0, c = 0, rs = 0, cs = 0;
    grid->getItemPosition(index, &r, &c, &rs, &cs);
    for (int col = 0; col < grid->columnCount(); ++col)
        if (QLayoutItem* item = grid->itemAtPosition(r, col); item && item->widget()) item->widget()->hide();
}

QWidget* buildBasicPage(FuncFormBuilder& b, FmList* fmList) {
    auto* lists = new QWidget;
    QGridLayout* l = gridIn(lists);
    l->setContentsMargins(0, 6, 0, 0);
    for (const char* name : {Ctl::ComboBox1, Ctl::ComboBox2, Ctl::ComboBox4, Ctl::ComboBox5, Ctl::ComboBox10,
                             Ctl::ComboBox20, Ctl::ComboBox21, Ctl::ComboBox18})
        b.row(l, name, b.combo(name));
    b.row(l, Ctl::Edit16, b.edit(Ctl::Edit16, KeyRule::RadioText));
    for (const char* name : {Ctl::ComboBox9, Ctl::ComboBox22, Ctl::ComboBox24})
        b.row(l, name, b.combo(name));

    QWidget* checks =
        checkBlock(b, {Ctl::CheckBox1, Ctl::CheckBox2, Ctl::CheckBox24, Ctl::CheckBox15, Ctl::CheckBox6,
                       Ctl::CheckBox5, Ctl::CheckBox21, Ctl::CheckBox36, Ctl::CheckBox32});
    QWidget* moreChecks =
        checkBlock(b, {Ctl::CheckBox22, Ctl::CheckBox23, Ctl::CheckBox25, Ctl::CheckBox18, Ctl::CheckBox28,
                       Ctl::CheckBox27, Ctl::CheckBox26, Ctl::CheckBox30, Ctl::CheckBox29});

    QGroupBox* vox = b.group("VOX");
    QGridLayout* v = gridIn(vox);
    b.row(v, Ctl::ComboBox6, b.combo(Ctl::ComboBox6));
    b.row(v, Ctl::ComboBox7, b.combo(Ctl::ComboBox7));
    v->addWidget(b.check(Ctl::CheckBox4), v->rowCount(), 0, 1, 2);

    QGroupBox* calls = b.group("通话设置");
    b.row(gridIn(calls), Ctl::Edit17, b.editUpDown(Ctl::Edit17, Ctl::UpDown11, false));

    // The two side groups read "Channel A" and "Channel B" in every language: no language text
    // names them.
    QGroupBox* sideA = b.group("Channel A");
    QGridLayout* a = gridIn(sideA);
    b.row(a, Ctl::ComboBox27, b.combo(Ctl::ComboBox27));
    b.row(a, Ctl::ComboBox28, b.combo(Ctl::ComboBox28));
    QGroupBox* sideB = b.group("Channel B");
    QGridLayout* bb = gridIn(sideB);
    b.row(bb, Ctl::ComboBox3, b.combo(Ctl::ComboBox3));
    b.row(bb, Ctl::ComboBox19, b.combo(Ctl::ComboBox19));

    QGroupBox* fm = b.group("Fm");
    (new QVBoxLayout(fm))->addWidget(fmList);

    return flowingPage(4, {lists, checks, moreChecks, vox, calls, sideA, sideB, fm});
}

QWidget* buildSignallingPage(FuncFormBuilder& b) {
    QGroupBox* system = b.group("系统");
    QGridLayout* s = gridIn(system);
    for (auto [edit, upDown] : {std::pair{Ctl::Edit2, Ctl::UpDown2},
                                {Ctl::Edit3, Ctl::UpDown3},
                                {Ctl::Edit4, Ctl::UpDown4},
                                {Ctl::Edit5, Ctl::UpDown5},
                                {Ctl::Edit6, Ctl::UpDown6}})
        b.row(s, edit, b.editUpDown(edit, upDown, true));
    s->addWidget(b.check(Ctl::CheckBox7), s->rowCount(), 0);
    s->addWidget(b.check(Ctl::CheckBox8), s->rowCount() - 1, 1);

    QGroupBox* pttId = b.group("PTT ID");
    QGridLayout* t = gridIn(pttId);
    // Check boxes take a row each: side by side their long captions would widen the column.
    t->addWidget(b.check(Ctl::CheckBox31), 0, 0, 1, 2);
    t->addWidget(b.check(Ctl::CheckBox34), 1, 0, 1, 2);
    b.row(t, Ctl::ComboBox16, b.combo(Ctl::ComboBox16));
    b.row(t, Ctl::Edit7, b.edit(Ctl::Edit7, KeyRule::DigitCode));
    b.row(t, Ctl::Edit8, b.edit(Ctl::Edit8, KeyRule::DigitCode));
    b.row(t, Ctl::ComboBox15, b.combo(Ctl::ComboBox15));
    b.row(t, Ctl::ComboBox25, b.combo(Ctl::ComboBox25));
    b.row(t, Ctl::Edit24, b.editUpDown(Ctl::Edit24, Ctl::UpDown12, false));

    QGroupBox* decode = b.group("解码");
    QGridLayout* d = gridIn(decode);
    b.row(d, Ctl::ComboBox17, b.combo(Ctl::ComboBox17));
    b.row(d, Ctl::Edit9, b.edit(Ctl::Edit9, KeyRule::DtmfCode));
    b.row(d, Ctl::Edit10, b.editUpDown(Ctl::Edit10, Ctl::UpDown7, false));
    for (const char* name : {Ctl::CheckBox10, Ctl::CheckBox9, Ctl::CheckBox11, Ctl::CheckBox38})
        d->addWidget(b.check(name), d->rowCount(), 0, 1, 2);

    // The second decode group's built-in title carries one trailing blank, which tells the
    // language table the two groups apart.
    QGroupBox* stun = b.group("解码 ");
    QGridLayout* k = gridIn(stun);
    k->addWidget(b.check(Ctl::CheckBox13), 0, 0, 1, 2);
    b.row(k, Ctl::Edit11, b.edit(Ctl::Edit11, KeyRule::DtmfCode));
    k->addWidget(b.check(Ctl::CheckBox12), k->rowCount(), 1);
    b.row(k, Ctl::Edit19, b.edit(Ctl::Edit19, KeyRule::DtmfCode));
    k->addWidget(b.check(Ctl::CheckBox17), k->rowCount(), 1);

    QGroupBox* ota = b.group("无线改频");
    QGridLayout* o = gridIn(ota);
    for (const char* name : {Ctl::CheckBox19, Ctl::CheckBox20, Ctl::CheckBox14})
        o->addWidget(b.check(name), o->rowCount(), 0, 1, 2);
    b.row(o, Ctl::Edit23, b.edit(Ctl::Edit23, KeyRule::DtmfCode));
    QWidget* firstChannel = b.editUpDown(Ctl::Edit21, Ctl::UpDown15, true);
    b.row(o, Ctl::Edit21, firstChannel);
    o->addWidget(b.label(QStringLiteral("被改信道")), o->rowCount() - 1, 2);
    b.hideRow(o, firstChannel);

    QGroupBox* rental = b.group("租赁");
    QGridLayout* r = gridIn(rental);
    r->addWidget(b.check(Ctl::CheckBox16), 0, 0);
    QGroupBox* rentalTime = b.group("租赁时间");
    QGridLayout* rt = gridIn(rentalTime);
    b.row(rt, Ctl::Edit32, b.edit(Ctl::Edit32, std::nullopt, true));
    rt->addWidget(b.check(Ctl::CheckBox42), rt->rowCount(), 0, 1, 2);
    r->addWidget(rentalTime, 1, 0);
    r->addWidget(b.check(Ctl::CheckBox3), 2, 0);

    QGroupBox* rental2 = b.group("租赁", Ctl::GroupBox16);
    QGridLayout* r2 = gridIn(rental2);
    r2->addWidget(b.check(Ctl::CheckBox40), 0, 0, 1, 2);
    b.row(r2, Ctl::Edit31, b.edit(Ctl::Edit31, std::nullopt, true));

    QGroupBox* password = b.group("通信密码");
    QGridLayout* w = gridIn(password);
    b.row(w, Ctl::Edit22, b.edit(Ctl::Edit22, KeyRule::DigitCode));
    b.row(w, Ctl::Edit20, b.edit(Ctl::Edit20, KeyRule::DigitCode));
    w->addWidget(b.check(Ctl::CheckBox35), w->rowCount(), 1);

    QGroupBox* squelch = b.group("静噪基值");
    QGridLayout* q = gridIn(squelch);
    QLabel* hint = b.label(QStringLiteral("请根据您的机器频段调整相应的基值"));
    hint->setWordWrap(true);
    q->addWidget(hint, 0, 0, 1, 2);
    b.row(q, Ctl::Edit27, b.editUpDown(Ctl::Edit27, Ctl::UpDown16, true));
    QWidget* rssi245 = b.editUpDown(Ctl::Edit25, Ctl::UpDown13, true);
    b.row(q, Ctl::Edit25, rssi245);
    b.hideRow(q, rssi245);
    b.row(q, Ctl::Edit26, b.editUpDown(Ctl::Edit26, Ctl::UpDown14, true));
    q->addWidget(b.check(Ctl::CheckBox37), q->rowCount(), 0, 1, 2);

    return flowingPage(3, {system, pttId, decode, stun, ota, rental, rental2, password, squelch});
}

QWidget* buildSideKeyPage(FuncFormBuilder& b, CallList* callList) {
    QGroupBox* keys = b.group("侧键设定");
    QGridLayout* k = gridIn(keys);
    b.row(k, Ctl::Edit1, b.editUpDown(Ctl::Edit1, Ctl::UpDown1, false));
    for (const char* name : {Ctl::ComboBox11, Ctl::ComboBox12, Ctl::ComboBox8, Ctl::ComboBox119,
                             Ctl::ComboBox13, Ctl::ComboBox14, Ctl::ComboBox23})
        b.row(k, name, b.combo(name));
    k->addWidget(b.check(Ctl::CheckBox33), k->rowCount(), 1);

    QGroupBox* calls = b.group("呼叫列表");
    (new QVBoxLayout(calls))->addWidget(callList);

    return flowingPage(2, {keys, calls});
}

QWidget* buildBandPage(FuncFormBuilder& b) {
    QGroupBox* select = b.group("频段选择");
    QGridLayout* s = gridIn(select);
    s->addWidget(b.check(Ctl::CheckBox39), 0, 0, 1, 2);
    b.row(s, Ctl::ComboBox26, b.combo(Ctl::ComboBox26));

    QGroupBox* bandTwo = b.group("Band Two");
    QGridLayout* t = gridIn(bandTwo);
    const std::pair<const char*, const char*> rows[][2] = {
        {{Ctl::Edit13, Ctl::UpDown8}, {Ctl::Edit14, Ctl::UpDown9}},
        {{Ctl::Edit15, Ctl::UpDown10}, {Ctl::Edit28, Ctl::UpDown17}},
    };
    for (int r = 0; r < 2; ++r) {
        const auto [lower, upper] = rows[r];
        t->addWidget(b.captionOf(lower.first), r, 0);
        t->addWidget(b.editUpDown(lower.first, lower.second, true), r, 1);
        t->addWidget(b.captionOf(upper.first), r, 2);
        t->addWidget(b.editUpDown(upper.first, upper.second, true), r, 3);
    }
    QCheckBox* write = b.check(Ctl::CheckBox41);
    write->setProperty("kt520_fixed", true); // composed by the window from two language texts
    t->addWidget(write, 2, 0, 1, 4);

    return flowingPage(1, {select, bandTwo});
}
