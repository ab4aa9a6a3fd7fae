// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/texttable.h"
#include "core/base/language.h"
#include <QHash>
#include <iterator>

// The bytes of lang/cha_dll.dll, compiled in by core/base/CMakeLists.txt.
QByteArray builtinLanguageFile();

namespace {

struct CaptionEntry {
    const char16_t* builtin;
    int number;
    const char16_t* prefix;
    const char16_t* suffix;
};

// Window elements by their built-in Simplified Chinese caption. Elements that share a caption
// share one string. Two pairs of elements carry the same caption but different strings:
// - the optional-functions window has two decode groups, 124 and 140; the second one is created
//   with the title "解码 " (one trailing blank) so that it can be told apart here;
// - the password group (201) and the password label (202) are both "通信密码"; the language
//   files give 201 and 202 the same text, so the group's string serves both.
// "Write Band Two" is composed of two strings (54 and the band-two group text) by its window.
constexpr CaptionEntry CaptionTable[] = {
    // Main window: menus, selection panel.
    {u"文件", 9, u"", u""},
    {u"新建", 13, u"", u""},
    {u"打开", 14, u"", u""},
    {u"保存", 15, u"", u""},
    {u"退出", 16, u"", u""},
    {u"编程", 10, u"", u""},
    {u"读频", 17, u"", u""},
    {u"写频", 18, u"", u""},
    {u"信道编辑", 19, u"", u""},
    {u"可选功能", 20, u"", u""},
    {u"本机信息", 145, u"", u""},
    {u"工具", 11, u"", u""},
    {u"通信端口", 22, u"", u""},
    {u"语言", 23, u"", u""},
    {u"中文", 56, u"", u""},
    {u"英文", 57, u"", u""},
    {u"帮助", 12, u"", u""},
    {u"频段一：", 88, u"", u""},
    {u"频段二：", 89, u"", u""},
    {u"型号：", 157, u"", u""},
    // About box: the window caption and the menu item both read "关于..."; the version label
    // ends in the minor version digit.
    {u"关于", 1, u"", u"..."},
    {u"KT-520 编程软件 V1.", 3, u"", u"7"},
    {u"版权所有", 4, u"", u""},
    {u"对讲机写频软件", 5, u"", u""},
    {u"技术支持", 6, u"", u""},
    // OK buttons of the about box, port dialog and radio information, and the exit button of the
    // read/write dialog.
    {u"确定", 2, u"", u""},
    {u"退 出", 2, u"", u""},
    {u"单口", 142, u"", u""},
    // Radio information window.
    {u"机型", 157, u"", u""},
    {u"频段", 158, u"", u""},
    {u"管理员", 159, u"", u""},
    {u"销售日期", 160, u"", u""},
    {u"出厂日期", 242, u"", u""},
    {u"用户", 241, u"", u""},
    // Channel windows A and B.
    {u"信道编辑 A", 19, u"", u" A"},
    {u"信道编辑 B", 19, u"", u" B"},
    {u"自动添加", 161, u"", u""},
    {u"全部删除", 96, u"", u""},
    {u"信道上移", 65, u"", u""},
    {u"信道下移", 66, u"", u""},
    {u"信道删除", 67, u"", u""},
    // Optional-functions window: caption, tabs, groups.
    {u"功能选项", 20, u"", u""},
    {u"基本功能", 20, u"", u""},
    {u"侧键设定", 100, u"", u""},
    {u"PTT-ID设置/遥毙/无线改频/租赁/通信密码", 184, u"", u""},
    {u"频段选择", 85, u"", u""},
    {u"Band Change", 85, u"", u""},
    {u"频段扩展", 85, u"", u""},
    {u"Band Two", 89, u"", u""},
    {u"系统", 106, u"", u""},
    {u"呼叫列表", 121, u"", u""},
    {u"解码", 124, u"", u""},
    {u"解码 ", 140, u"", u""},
    {u"无线改频", 188, u"", u""},
    {u"租赁", 195, u"", u""},
    {u"租赁时间", 198, u"", u""},
    {u"通信密码", 201, u"", u""},
    {u"静噪基值", 205, u"", u""},
    {u"通话设置", 239, u"", u""},
    // Optional-functions window: labels.
    {u"静噪模式", 103, u"", u""},
    {u"DTMF持续时间[毫秒]", 108, u"", u""},
    {u"DTMF间隔时间[毫秒]", 109, u"", u""},
    {u"首码延时时间[毫秒]", 110, u"", u""},
    {u"预载波时间[毫秒]", 112, u"", u""},
    {u"*和#音延迟时间[毫秒]", 113, u"", u""},
    {u"PTT ID类型", 117, u"", u""},
    {u"语音类型", 44, u"", u""},
    {u"发射开始", 118, u"", u""},
    {u"发射结束", 119, u"", u""},
    {u"组ID码", 125, u"", u""},
    {u"个呼ID码", 126, u"", u""},
    {u"自动复位时间（秒）", 127, u"", u""},
    {u"遥晕码", 134, u"", u""},
    {u"遥毙码", 135, u"", u""},
    {u"静噪等级", 38, u"", u""},
    {u"扫描恢复模式", 43, u"", u""},
    {u"超时禁止发射", 40, u"", u""},
    {u"VOX S 灵敏度", 45, u"", u""},
    {u"VOX迟时", 46, u"", u""},
    {u"频率步进", 83, u"", u""},
    {u"自动关机", 81, u"", u""},
    {u"P1长键", 162, u"P1 ", u""},
    {u"P2长键", 162, u"P2 ", u""},
    {u"P3长键", 162, u"P3 ", u""},
    {u"P1短键", 163, u"P1 ", u""},
    {u"P2短键", 163, u"P2 ", u""},
    {u"P3短键", 163, u"P3 ", u""},
    {u"M 短键", 163, u"M ", u""},
    {u"长键时间(秒)", 152, u"", u""},
    {u"到期日期：", 249, u"", u""},
    {u"PTT ID结束计时", 186, u"", u""},
    {u"语音播报时间[毫秒]", 187, u"", u""},
    {u"启动码", 191, u"", u""},
    {u"新密码", 203, u"", u""},
    {u"请根据您的机器频段调整相应的基值", 207, u"", u""},
    {u"频率/信道", 208, u"", u""},
    {u"专业信道模式", 211, u"", u""},
    {u"音量等级", 214, u"", u""},
    {u"开机显示", 215, u"", u""},
    {u"开机语：", 220, u"", u""},
    {u"背光灯模式", 221, u"", u""},
    {u"锁键模式", 222, u"", u""},
    {u"A/B频道", 223, u"", u""},
    {u"填入示例调整值", 854, u"", u""},
    {u"每分钟通话（次）", 240, u"", u""},
    // Optional-functions window: check boxes.
    {u"回复解码", 114, u"", u""},
    {u"侧音", 115, u"", u""},
    {u"显示PTT ID", 116, u"", u""},
    {u"自动回复", 128, u"", u""},
    {u"提示音", 129, u"", u""},
    {u"带CT/DCS解码", 130, u"", u""},
    {u"解码激活开关", 173, u"", u""},
    {u"省电模式", 39, u"", u""},
    {u"报警开关", 42, u"", u""},
    {u"接收禁止VOX", 47, u"", u""},
    {u"开机提示音", 153, u"", u""},
    {u"结束提示音", 154, u"", u""},
    {u"M键菜单键", 183, u"", u""},
    {u"语音播报ID", 185, u"", u""},
    {u"无线改频功能", 189, u"", u""},
    {u"无线启动", 190, u"", u""},
    {u"无线改频主机", 192, u"", u""},
    {u"遥晕激活", 193, u"", u""},
    {u"遥毙激活", 194, u"", u""},
    {u"租赁功能", 196, u"", u""},
    {u"剩余提示", 197, u"", u""},
    {u"写入新密码", 204, u"", u""},
    {u"调整基值", 206, u"", u""},
    {u"键盘锁定", 225, u"", u""},
    {u"CT/DCS繁忙锁定", 226, u"", u""},
    {u"按键提示音", 227, u"", u""},
    {u"小字体", 229, u"", u""},
    {u"别名开关", 230, u"", u""},
    {u"发射禁止", 231, u"", u""},
    {u"双频守候", 232, u"", u""},
    {u"启用收音机", 233, u"", u""},
    {u"Fm双守候", 234, u"", u""},
    {u"收音扫描", 235, u"", u""},
    {u"键盘手咪", 236, u"", u""},
    {u"开机", 237, u"", u""},
    {u"复位功能", 238, u"", u""},
    {u"显示14位ID", 248, u"", u""},
};

// Header strings of channel table columns 0-18; columns 12 and 13 keep "PTT ID" and "DTMF".
constexpr int ChannelHeaders[] = {25, 26, 27, 28, 29,  30,  73,  31,  32, 76,
                                  77, 33, 0,  0,  101, 175, 176, 177, 178};

// The Simplified Chinese file is the built-in table, parsed once.
const StringTable& builtinTable() {
    static const StringTable table = StringTable::parse(builtinLanguageFile());
    return table;
}

const QHash<QString, CaptionRule>& captionRules() {
    static const QHash<QString, CaptionRule> rules = [] {
        QHash<QString, CaptionRule> h;
        for (const CaptionEntry& e : CaptionTable)
            h.insert(QString::fromUtf16(e.builtin),
                     CaptionRule{e.number, QString::fromUtf16(e.prefix), QString::fromUtf16(e.suffix)});
        return h;
    }();
    return rules;
}

} // namespace

std::optional<CaptionRule> captionRule(const QString& builtin) {
    const auto& rules = captionRules();
    const auto it = rules.constFind(builtin);
    if (it == rules.constEnd()) return std::nullopt;
    return *it;
}

QString builtinText(int number) {
    if (auto t = builtinTable().text(number)) return *t;
    // A number outside the table is a program error; show it rather than an empty caption.
    return QStringLiteral("#%1").arg(number);
}

QList<int> builtinTextNumbers() {
    return builtinTable().numbers();
}

QStringList captionRuleCaptions() {
    QStringList captions;
    captions.reserve(int(std::size(CaptionTable)));
    for (const CaptionEntry& e : CaptionTable)
        captions.append(QString::fromUtf16(e.builtin));
    return captions;
}

int channelHeaderNumber(int column) {
    if (column < 0 || column >= int(std::size(ChannelHeaders))) return 0;
    return ChannelHeaders[column];
}
