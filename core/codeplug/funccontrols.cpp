// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/funccontrols.h"
#include "core/base/valuewords.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/funcrules.h"
#include <QMutex>
#include <memory>
#include <vector>

namespace {
using Kind = ControlState::Kind;

// "0" ... "9" and the like.
QStringList numbers(int first, int last, int step = 1, const QString& suffix = {}) {
    QStringList out;
    for (int n = first; n <= last; n += step)
        out << QString::number(n) + suffix;
    return out;
}

QStringList withFirst(const QString& first, const QStringList& rest) {
    return QStringList{first} + rest;
}

// Until a language has been applied the word lists show the Simplified Chinese words; the
// language switch and the model change rebuild them keeping the selected position.
QString offWord() {
    return ValueWords::simplifiedChinese().off;
}
QString onWord() {
    return ValueWords::simplifiedChinese().on;
}

QStringList autoPowerOffItems() {
    return withFirst(offWord(), {"10M", "20M", "30M", "40M", "50M", "60M", "90M", "2H", "4H", "6H", "8H",
                                 "10H", "12H", "14H", "16H"});
}
QStringList timeOutItems() {
    return withFirst(offWord(), numbers(10, 120, 10));
}

// Side-key functions by the radio's own menu names, replaced by the language texts on the
// first language switch.
QStringList longPressItems() {
    return {"DC",  "Fm",     "MONI", "MOLO", "SQM",  "MUTE", "SCAN", "LOW",
            "EMG", "VFO/MR", "DTMF", "CALL", "1750", "A/B",  "Talk", "REV"};
}
QStringList shortPressItems() {
    return {"DC",  "Fm",     "BandChange", "Time", "MOLO", "MUTE", "SCAN", "LOW",
            "EMG", "VFO/MR", "DTMF",       "CALL", "1750", "A/B",  "Talk", "REV"};
}

struct Def {
    ControlState state;
    QString name;
};

Def list(const char* name, const char* caption, const QStringList& items, int index, bool enabled = true) {
    Def d{{}, QString::fromLatin1(name)};
    d.state.kind = Kind::List;
    d.state.caption = QString::fromUtf8(caption);
    d.state.items = items;
    d.state.index = index;
    d.state.enabled = enabled;
    return d;
}

Def check(const char* name, const char* caption, bool on, bool enabled = true, bool visible = true) {
    Def d{{}, QString::fromLatin1(name)};
    d.state.kind = Kind::Check;
    d.state.caption = QString::fromUtf8(caption);
    d.state.checked = on;
    d.state.enabled = enabled;
    d.state.visible = visible;
    return d;
}

Def edit(const char* name, const char* caption, const char* text, int maxLength, bool enabled = true,
         bool visible = true) {
    Def d{{}, QString::fromLatin1(name)};
    d.state.kind = Kind::Edit;
    d.state.caption = QString::fromUtf8(caption);
    d.state.text = QString::fromUtf8(text);
    d.state.maxLength = maxLength;
    d.state.enabled = enabled;
    d.state.visible = visible;
    return d;
}

// An up-down with its range and step; its edit's text is set from the position.
Def upDown(const char* name, int minimum, int maximum, int step, int position, bool visible = true) {
    Def d{{}, QString::fromLatin1(name)};
    d.state.kind = Kind::UpDown;
    d.state.minimum = minimum;
    d.state.maximum = maximum;
    d.state.step = step;
    d.state.position = position;
    d.state.visible = visible;
    return d;
}

Def grid(const char* name, const char* caption, int columns, int rows) {
    Def d{{}, QString::fromLatin1(name)};
    d.state.kind = Kind::Grid;
    d.state.caption = QString::fromUtf8(caption);
    d.state.columns = columns;
    for (int r = 0; r < rows; ++r)
        d.state.cells << QStringList(columns);
    return d;
}

Def group(const char* name, const char* caption, bool visible) {
    Def d{{}, QString::fromLatin1(name)};
    d.state.kind = Kind::Other;
    d.state.caption = QString::fromUtf8(caption);
    d.state.visible = visible;
    return d;
}

// Every control of the optional functions window, tab by tab, with its initial state.
const std::vector<Def>& funcControlTable() {
    static const std::vector<Def> table = {
        // Tab "基本功能"
        list(Ctl::ComboBox1, "自动关机", autoPowerOffItems(), 0),
        list(Ctl::ComboBox2, "静噪等级", numbers(0, 9), 2),
        list(Ctl::ComboBox4, "扫描恢复模式", {"CO", "TO"}, 1),
        list(Ctl::ComboBox5, "超时禁止发射", timeOutItems(), 3),
        list(Ctl::ComboBox10, "频率步进", {"2.5KHz", "5KHz", "6.25KHz", "10KHz", "12.5KHz", "25KHz"}, 5),
        list(Ctl::ComboBox20, "静噪模式", {"CTC/DCS", "DTMF", "CTC/DCS与DTMF", "CTC/DCS或DTMF"}, 0),
        list(Ctl::ComboBox21, "音量等级", withFirst("OFF", numbers(1, 15)), 4),
        list(Ctl::ComboBox18, "开机显示", {"全屏", "租赁时间", "用户自定义", "系统"}, 2),
        edit(Ctl::Edit16, "开机语：", "USER", 7),
        list(Ctl::ComboBox9, "背光灯模式", {"OFF", "KEY", "CONT"}, 2),
        list(Ctl::ComboBox22, "锁键模式", {"K+S", "PTT", "KEY", "ALL"}, 0),
        list(Ctl::ComboBox24, "A/B频道", {"B频道", "A频道"}, 0),
        check(Ctl::CheckBox1, "开机提示音", true),
        check(Ctl::CheckBox2, "结束提示音", false),
        check(Ctl::CheckBox24, "键盘锁定", false),
        check(Ctl::CheckBox15, "CT/DCS繁忙锁定", false),
        check(Ctl::CheckBox6, "报警开关", false),
        check(Ctl::CheckBox5, "省电模式", false),
        check(Ctl::CheckBox21, "按键提示音", true),
        check(Ctl::CheckBox36, "复位功能", true),
        check(Ctl::CheckBox32, "小字体", true),
        check(Ctl::CheckBox22, "别名开关", false),
        check(Ctl::CheckBox23, "发射禁止", false),
        check(Ctl::CheckBox25, "双频守候", false),
        check(Ctl::CheckBox18, "启用收音机", true),
        check(Ctl::CheckBox28, "Fm双守候", true),
        check(Ctl::CheckBox27, "收音扫描", true),
        check(Ctl::CheckBox26, "键盘手咪", true),
        check(Ctl::CheckBox30, "开机", true),
        check(Ctl::CheckBox29, "PTT A=B", true),
        list(Ctl::ComboBox6, "VOX S 灵敏度", numbers(1, 8), 2),
        list(Ctl::ComboBox7, "VOX迟时", numbers(1, 4, 1, "S"), 2),
        check(Ctl::CheckBox4, "接收禁止VOX", true),
        edit(Ctl::Edit17, "每分钟通话（次）", "0", 3),
        upDown(Ctl::UpDown11, 0, 255, 1, 0),
        list(Ctl::ComboBox27, "频率/信道", {"信道模式", "频率模式"}, 1),
        list(Ctl::ComboBox28, "专业信道模式", {"特殊信道模式", "普通模式"}, 1),
        list(Ctl::ComboBox3, "频率/信道", {"信道模式", "频率模式"}, 1),
        list(Ctl::ComboBox19, "专业信道模式", {"特殊信道模式", "普通模式"}, 1),
        // 2 columns, rows 0-31 shown; row 32 carries the radio's 32nd FM slot from read to write.
        grid(Ctl::StringGrid2, "Fm", 2, 33),

        // Tab "PTT-ID设置/遥毙/无线改频/租赁/通信密码"
        edit(Ctl::Edit2, "DTMF持续时间[毫秒]", "100", 0, true),
        upDown(Ctl::UpDown2, 50, 200, 10, 100),
        edit(Ctl::Edit3, "DTMF间隔时间[毫秒]", "100", 0),
        upDown(Ctl::UpDown3, 50, 200, 10, 100),
        edit(Ctl::Edit4, "首码延时时间[毫秒]", "0", 0),
        upDown(Ctl::UpDown4, 0, 500, 50, 0),
        edit(Ctl::Edit5, "预载波时间[毫秒]", "600", 0),
        upDown(Ctl::UpDown5, 100, 1000, 100, 600),
        edit(Ctl::Edit6, "*和#音延迟时间[毫秒]", "0", 0),
        upDown(Ctl::UpDown6, 0, 400, 50, 0),
        check(Ctl::CheckBox7, "回复解码", false),
        check(Ctl::CheckBox8, "侧音", true),
        check(Ctl::CheckBox31, "显示PTT ID", true),
        check(Ctl::CheckBox34, "语音播报ID", false),
        list(Ctl::ComboBox16, "PTT ID类型", {"发射开始", "发射结束", "两者"}, 1),
        edit(Ctl::Edit7, "发射开始", "510", 15, false),
        edit(Ctl::Edit8, "发射结束", "510", 15),
        list(Ctl::ComboBox15, "PTT ID结束计时", withFirst("OFF", numbers(100, 1000, 100)), 5),
        list(Ctl::ComboBox25, "语音类型", {"中文女声", "英文女声"}, 0),
        edit(Ctl::Edit24, "语音播报时间[毫秒]", "10", 2),
        upDown(Ctl::UpDown12, 5, 35, 1, 10),
        list(Ctl::ComboBox17, "组ID码", {"A", "B", "C", "D", "E", "F", "*", "#"}, 0),
        edit(Ctl::Edit9, "个呼ID码", "1000", 15),
        edit(Ctl::Edit10, "自动复位时间（秒）", "30", 3),
        upDown(Ctl::UpDown7, 3, 120, 1, 30),
        check(Ctl::CheckBox10, "提示音", false),
        check(Ctl::CheckBox9, "自动回复", false),
        check(Ctl::CheckBox11, "带CT/DCS解码", false),
        check(Ctl::CheckBox38, "显示14位ID", false),
        check(Ctl::CheckBox13, "解码激活开关", true),
        edit(Ctl::Edit11, "遥晕码", "", 15),
        check(Ctl::CheckBox12, "遥晕激活", true),
        edit(Ctl::Edit19, "遥毙码", "", 15),
        check(Ctl::CheckBox17, "遥毙激活", true),
        check(Ctl::CheckBox19, "无线改频功能", false),
        check(Ctl::CheckBox20, "无线改频主机", false, false),
        check(Ctl::CheckBox14, "无线启动", false),
        edit(Ctl::Edit23, "启动码", "51099", 15),
        edit(Ctl::Edit21, "首信道", "1", 3, true, false),
        upDown(Ctl::UpDown15, 1, 199, 1, 1, false),
        check(Ctl::CheckBox16, "租赁功能", false),
        edit(Ctl::Edit32, "到期日期：", "2099-10-01", 10),
        check(Ctl::CheckBox42, " Time Of System", false),
        check(Ctl::CheckBox3, "剩余提示", true),
        group(Ctl::GroupBox16, "租赁", false),
        check(Ctl::CheckBox40, "租赁功能", false, true, false),
        edit(Ctl::Edit31, "到期日期：", "2099-10-01", 10, true, false),
        edit(Ctl::Edit22, "通信密码", "", 12),
        edit(Ctl::Edit20, "新密码", "", 12),
        check(Ctl::CheckBox35, "写入新密码", false),
        edit(Ctl::Edit27, "RSSI400", "50", 3),
        upDown(Ctl::UpDown16, 0, 255, 1, 50),
        edit(Ctl::Edit25, "RSSI245", "100", 3, true, false),
        upDown(Ctl::UpDown13, 0, 255, 1, 100, false),
        edit(Ctl::Edit26, "RSSI136", "100", 3),
        upDown(Ctl::UpDown14, 0, 255, 1, 100),
        check(Ctl::CheckBox37, "调整基值", false),

        // Tab "侧键设定"
        edit(Ctl::Edit1, "长键时间(秒)", "1.5", 4),
        upDown(Ctl::UpDown1, 5, 25, 1, 15),
        list(Ctl::ComboBox11, "P1长键", longPressItems(), 1),
        list(Ctl::ComboBox12, "P1短键", shortPressItems(), 13),
        list(Ctl::ComboBox8, "P2长键", longPressItems(), 3),
        list(Ctl::ComboBox119, "P2短键", shortPressItems(), 7),
        list(Ctl::ComboBox13, "P3长键", longPressItems(), 6),
        list(Ctl::ComboBox14, "P3短键", shortPressItems(), 5),
        list(Ctl::ComboBox23, "M 短键", shortPressItems(), 0, false),
        check(Ctl::CheckBox33, "M键菜单键", true),
        grid(Ctl::StringGrid1, "呼叫列表", 2, 17),

        // Tab "Band Change"
        check(Ctl::CheckBox39, "频段扩展", false),
        list(Ctl::ComboBox26, "Band Two", {onWord(), offWord()}, 1, false),
        edit(Ctl::Edit13, "VHF", "144", 3),
        upDown(Ctl::UpDown8, 136, 173, 1, 144),
        edit(Ctl::Edit14, "TO", "146", 3),
        upDown(Ctl::UpDown9, 145, 174, 1, 146),
        edit(Ctl::Edit15, "UHF", "430", 3),
        upDown(Ctl::UpDown10, 400, 469, 1, 430),
        edit(Ctl::Edit28, "TO", "440", 3),
        upDown(Ctl::UpDown17, 431, 470, 1, 440),
        check(Ctl::CheckBox41, "Write Band Two", false),
    };
    return table;
}

// Fixed labels of the two grids; the header cells come from the language switch.
void labelGrids(ControlStore& func) {
    for (int row = 1; row <= 16; ++row)
        func.setCell(Ctl::StringGrid1, 0, row, QString::number(row - 1));
    func.setCell(Ctl::StringGrid1, 1, 1, QStringLiteral("1001"));
    func.setCell(Ctl::StringGrid1, 1, 2, QStringLiteral("1002"));
    func.setCell(Ctl::StringGrid2, 1, 0, QString(9, QChar(' ')) + QStringLiteral("Fm"));
    for (int row = 2; row <= 32; ++row)
        func.setCell(Ctl::StringGrid2, 0, row, QStringLiteral("   ") + QString::number(row - 1));
    func.setCell(Ctl::StringGrid2, 1, 1, formatFixed(87.5, 3));
}
} // namespace

const QList<UpDownPair>& upDownPairs() {
    static const QList<UpDownPair> pairs = {
        {Ctl::UpDown1, Ctl::Edit1, EditShows::Tenths},   {Ctl::UpDown2, Ctl::Edit2, EditShows::Number},
        {Ctl::UpDown3, Ctl::Edit3, EditShows::Number},   {Ctl::UpDown4, Ctl::Edit4, EditShows::Number},
        {Ctl::UpDown5, Ctl::Edit5, EditShows::Number},   {Ctl::UpDown6, Ctl::Edit6, EditShows::Number},
        {Ctl::UpDown7, Ctl::Edit10, EditShows::Number},  {Ctl::UpDown8, Ctl::Edit13, EditShows::Number},
        {Ctl::UpDown9, Ctl::Edit14, EditShows::Number},  {Ctl::UpDown10, Ctl::Edit15, EditShows::Number},
        {Ctl::UpDown11, Ctl::Edit17, EditShows::Number}, {Ctl::UpDown12, Ctl::Edit24, EditShows::Number},
        {Ctl::UpDown13, Ctl::Edit25, EditShows::Number}, {Ctl::UpDown14, Ctl::Edit26, EditShows::Number},
        {Ctl::UpDown15, Ctl::Edit21, EditShows::Number}, {Ctl::UpDown16, Ctl::Edit27, EditShows::Number},
        {Ctl::UpDown17, Ctl::Edit28, EditShows::Number},
    };
    return pairs;
}

QString pairedEdit(const QString& upDown) {
    for (const UpDownPair& p : upDownPairs())
        if (upDown == QLatin1String(p.upDown)) return QString::fromLatin1(p.edit);
    return {};
}

QString pairedUpDown(const QString& edit) {
    for (const UpDownPair& p : upDownPairs())
        if (edit == QLatin1String(p.edit)) return QString::fromLatin1(p.upDown);
    return {};
}

QString upDownText(const QString& upDown, int position, QChar decimalPoint) {
    for (const UpDownPair& p : upDownPairs())
        if (upDown == QLatin1String(p.upDown) && p.shows == EditShows::Tenths)
            return formatFixed(position / 10.0, 1, decimalPoint);
    return QString::number(position);
}

const ControlState& funcControlDefinition(const QString& name) {
    for (const Def& d : funcControlTable())
        if (d.name == name) return d.state;
    qFatal("funcControlDefinition: no control is named \"%s\"", qPrintable(name));
}

void defineFuncControls(ControlStore& func) {
    // Some three hundred controls with their lists make most of the cost of a new document; they
    // are built once (again only if the decimal point differs) and every store starts as a copy.
    // Sessions of several ports start on their own threads at the same time.
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    static std::unique_ptr<ControlStore> defined;
    static const FuncRules* definedRules = nullptr; // owned by `defined`
    static QChar definedPoint;
    const QChar point = systemDecimalPoint();
    if (!defined || definedPoint != point) {
        defined = std::make_unique<ControlStore>();
        definedPoint = point;
        for (const Def& d : funcControlTable())
            defined->define(d.name, d.state);
        defined->setText(Ctl::Edit1, upDownText(Ctl::UpDown1, 15, point));
        labelGrids(*defined);
        definedRules = attachFuncRules(*defined);
    }
    func.copyControls(*defined);
    new FuncRules(func, *definedRules);
}
