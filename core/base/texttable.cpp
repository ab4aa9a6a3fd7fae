#include "core/base/texttable.h"
#include <QHash>
#include <iterator>

namespace {

struct BuiltinText {
    int number;
    const char16_t* text;
};

// The Simplified Chinese text of every string number: the windows' own captions where they have
// one, otherwise the text a Simplified Chinese user of the radio expects. lang/cha_dll.dll holds
// the same texts line for line (the tests compare the two), so a missing or damaged language file
// still leaves readable windows.
constexpr BuiltinText BuiltinTexts[] = {
    {1, u"关于"},
    {2, u"确定"},
    {3, u"KT-520 编程软件 V1."},
    {4, u"版权所有"},
    {5, u"对讲机写频软件"},
    {6, u"技术支持"},
    {9, u"文件"},
    {10, u"编程"},
    {11, u"工具"},
    {12, u"帮助"},
    {13, u"新建"},
    {14, u"打开"},
    {15, u"保存"},
    {16, u"退出"},
    {17, u"读频"},
    {18, u"写频"},
    {19, u"信道编辑"},
    {20, u"可选功能"},
    {22, u"通信端口"},
    {23, u"语言"},
    {25, u"信道"},
    {26, u"接收频率"},
    {27, u"接收亚音"},
    {28, u"发射频率"},
    {29, u"发射亚音"},
    {30, u"功率"},
    {31, u"扫描添加"},
    {32, u"繁忙锁定"},
    {33, u"声控"},
    {34, u"禁用"},
    {35, u"启用"},
    {36, u"高功率"},
    {37, u"低功率"},
    {38, u"静噪等级"},
    {39, u"省电模式"},
    {40, u"超时禁止发射"},
    {42, u"报警开关"},
    {43, u"扫描恢复模式"},
    {44, u"语音类型"},
    {45, u"VOX S 灵敏度"},
    {46, u"VOX迟时"},
    {47, u"接收禁止VOX"},
    {51, u"中文女声"},
    {52, u"英文女声"},
    {53, u"读频"},
    {54, u"写频"},
    {56, u"中文"},
    {57, u"英文"},
    {58, u"警告"},
    {59, u"通信连接失败!请选择别的通信端口!"},
    {60, u"通信连接失败!\n请检查连接是否正确或对讲机电源是否打开!"},
    {61, u"欢迎使用 KT-520 编程软件，请先选择通信端口"},
    {62, u"新建"},
    {64, u"新建将清除当前所有数据，是否继续？"},
    {65, u"信道上移"},
    {66, u"信道下移"},
    {67, u"信道删除"},
    {73, u"带宽"},
    {74, u"宽带"},
    {75, u"窄带"},
    {76, u"信令"},
    {77, u"压扩/扰频"},
    {78, u"压扩"},
    {79, u"扰频"},
    {81, u"自动关机"},
    {83, u"频率步进"},
    {85, u"频段扩展"},
    {88, u"频段一："},
    {89, u"频段二："},
    {96, u"全部删除"},
    {100, u"侧键设定"},
    {101, u"信道名称"},
    {103, u"静噪模式"},
    {104, u"CTC/DCS与DTMF"},
    {105, u"CTC/DCS或DTMF"},
    {106, u"系统"},
    {108, u"DTMF持续时间[毫秒]"},
    {109, u"DTMF间隔时间[毫秒]"},
    {110, u"首码延时时间[毫秒]"},
    {112, u"预载波时间[毫秒]"},
    {113, u"*和#音延迟时间[毫秒]"},
    {114, u"回复解码"},
    {115, u"侧音"},
    {116, u"显示PTT ID"},
    {117, u"PTT ID类型"},
    {118, u"发射开始"},
    {119, u"发射结束"},
    {120, u"两者"},
    {121, u"呼叫列表"},
    {122, u"序号"},
    {123, u"呼叫ID码"},
    {124, u"解码"},
    {125, u"组ID码"},
    {126, u"个呼ID码"},
    {127, u"自动复位时间（秒）"},
    {128, u"自动回复"},
    {129, u"提示音"},
    {130, u"带CT/DCS解码"},
    {134, u"遥晕码"},
    {135, u"遥毙码"},
    {138, u"紧急报警"},
    {139, u"1750Hz"},
    {140, u"解码"},
    {142, u"单口"},
    {145, u"本机信息"},
    {152, u"长键时间(秒)"},
    {153, u"开机提示音"},
    {154, u"结束提示音"},
    {157, u"机型"},
    {158, u"频段"},
    {159, u"管理员"},
    {160, u"销售日期"},
    {161, u"自动添加"},
    {162, u"长键"},
    {163, u"短键"},
    {164, u"监听"},
    {165, u"常开监听"},
    {166, u"静噪关闭"},
    {170, u"扫描"},
    {173, u"解码激活开关"},
    {175, u"尾音消除"},
    {176, u"倒频"},
    {177, u"脱网"},
    {178, u"亚音频率"},
    {179, u"VFO"},
    {182, u"静音"},
    {183, u"M键菜单键"},
    {184, u"PTT-ID设置/遥毙/无线改频/租赁/通信密码"},
    {185, u"语音播报ID"},
    {186, u"PTT ID结束计时"},
    {187, u"语音播报时间[毫秒]"},
    {188, u"无线改频"},
    {189, u"无线改频功能"},
    {190, u"无线启动"},
    {191, u"启动码"},
    {192, u"无线改频主机"},
    {193, u"遥晕激活"},
    {194, u"遥毙激活"},
    {195, u"租赁"},
    {196, u"租赁功能"},
    {197, u"剩余提示"},
    {198, u"租赁时间"},
    {201, u"通信密码"},
    {202, u"通信密码"},
    {203, u"新密码"},
    {204, u"写入新密码"},
    {205, u"静噪基值"},
    {206, u"调整基值"},
    {207, u"请根据您的机器频段调整相应的基值"},
    {208, u"频率/信道"},
    {209, u"信道模式"},
    {210, u"频率模式"},
    {211, u"专业信道模式"},
    {212, u"特殊信道模式"},
    {213, u"普通模式"},
    {214, u"音量等级"},
    {215, u"开机显示"},
    {216, u"全屏"},
    {217, u"租赁时间"},
    {218, u"用户自定义"},
    {219, u"系统"},
    {220, u"开机语："},
    {221, u"背光灯模式"},
    {222, u"锁键模式"},
    {223, u"A/B频道"},
    {224, u"频道"},
    {225, u"键盘锁定"},
    {226, u"CT/DCS繁忙锁定"},
    {227, u"按键提示音"},
    {229, u"小字体"},
    {230, u"别名开关"},
    {231, u"发射禁止"},
    {232, u"双频守候"},
    {233, u"启用收音机"},
    {234, u"Fm双守候"},
    {235, u"收音扫描"},
    {236, u"键盘手咪"},
    {237, u"开机"},
    {238, u"复位功能"},
    {239, u"通话设置"},
    {240, u"每分钟通话（次）"},
    {241, u"用户"},
    {242, u"出厂日期"},
    {248, u"显示14位ID"},
    {249, u"到期日期："},
    {250, u"中功率"},
    {300, u"“%1”不是有效的数值"},
    {301, u"文件中以下行未能应用：%1"},
    {302, u"“%1”已存在，是否替换？"},
    {303, u"文件中有对讲机不能接受的数值，未写入任何数据。"},
    {304, u"信道范围必须是 1 到 99 的数字。"},
    {305, u"密码只能包含数字 0-9。"},
    {306, u"无法读写“%1”：%2"},
    {307, u"记录通信数据"},
    {310, u"信道表 %1，第 %2 行，第 %3 列：%4"},
    {311, u"%1：%2"},
    {312, u"频率无效（100-550 MHz，如 438.50000）"},
    {313, u"亚音不在亚音列表中"},
    {314, u"亚音频率无效（55.0-255.0 Hz）"},
    {315, u"名称最多 7 个英文字符"},
    {316, u"DTMF码无效（0-9、A-D、*、#，最多 15 位）"},
    {317, u"密码无效（只能是数字，最多 12 位）"},
    {318, u"收音频率无效（87.500-108.000 MHz）"},
    {319, u"日期无效（yyyy-MM-dd，2000-2099 年）"},
    {320, u"数值超出范围"},
    {321, u"文字含有“|”、换行或对讲机无法显示的字符"},
    {322, u"完成"},
    {323, u"正在与对讲机通信…"},
    {324, u"虚拟对讲机"},
    {325, u"行过长"},
    {326, u"此行缺失或已损坏"},
    {327, u"频段无效（应如 400-470MHz）"},
    {328, u"未选择任何项"},
    {329, u"不是该列的取值（另一种语言的词可重新选择语言转换）"},
    {340, u"磁盘空间不足"},
    {341, u"超出磁盘配额"},
    {342, u"文件过大"},
    {343, u"没有权限"},
    {344, u"文件系统为只读"},
    {345, u"文件或文件夹不存在"},
    {346, u"输入/输出错误"},
    {350, u"写频在写完 %2 块中的 %1 块后中断：对讲机中现在只有部分新数据。请重新写频，或写入备份。"},
    {351, u"通信端口故障：%1"},
    {352, u"无法打开通信端口：%1"},
    {353, u"对讲机没有应答。"},
    {354, u"对讲机持续忙碌 %1 秒。"},
    {355, u"对讲机的应答持续出错达 %1 秒。"},
    {356, u"对讲机的应答不符合预期：%1"},
};

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

const QHash<int, QString>& builtinTexts() {
    static const QHash<int, QString> texts = [] {
        QHash<int, QString> h;
        for (const BuiltinText& e : BuiltinTexts)
            h.insert(e.number, QString::fromUtf16(e.text));
        return h;
    }();
    return texts;
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
    const auto& texts = builtinTexts();
    const auto it = texts.constFind(number);
    // A number outside the table is a program error; show it rather than an empty caption.
    return it != texts.constEnd() ? *it : QStringLiteral("#%1").arg(number);
}

QList<int> builtinTextNumbers() {
    QList<int> numbers;
    numbers.reserve(int(std::size(BuiltinTexts)));
    for (const BuiltinText& e : BuiltinTexts)
        numbers.append(e.number);
    return numbers;
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
