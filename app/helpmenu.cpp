// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/helpmenu.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
#ifdef Q_OS_WIN
constexpr bool OnWindows = true;
#else
constexpr bool OnWindows = false;
#endif

const char* const EnglishGuide = R"(<h2>KT-520 programming software</h2>
<p>The program reads the memory of a KT-520 radio over its programming cable, lets you edit it,
writes it back, and keeps it in <b>.qv19</b> documents.</p>
%1
<h3>Reading and writing</h3>
<ul>
<li><b>Program &gt; Read</b> (Ctrl+R) and <b>Program &gt; Write</b> (Ctrl+Shift+W) open the
transfer dialog; press its start button. The channel range limits the channels transferred.</li>
<li>Writing refuses a document that holds values the radio cannot take, and says which.</li>
</ul>
<h3>Editing</h3>
<ul>
<li>Channel tables A and B: click a frequency cell and type the frequency; press Enter. Click
the power, bandwidth and on/off cells to step them. Click a tone cell and type a tone
(<tt>88.5</tt>) or a DCS code (<tt>D023N</tt>).</li>
<li>Right-click a channel to cut, copy, paste (also from table A into table B) or insert an
empty channel; hold the mouse over a column header for what the column means.</li>
<li><b>Optional Functions</b> holds the radio-wide settings, the FM presets, DTMF and the call list.</li>
</ul>
<h3>Files</h3>
<ul>
<li><b>File &gt; Open / Save</b> (Ctrl+O, Ctrl+S) read and write .qv19 documents; <b>Recent
files</b> lists the last eight. A file that is damaged or cut short is not opened at all.</li>
<li>Channel lists go in and out as CSV; <b>Print</b> and <b>Export PDF</b> print the document.</li>
<li>Settings are kept in <tt>sysini.ini</tt>; <tt>kt520 --where</tt> shows where.</li>
</ul>)";

const char* const ChineseGuide = R"(<h2>KT-520 编程软件</h2>
<p>本程序通过写频线读取 KT-520 对讲机的存储，供您编辑后写回，并以 <b>.qv19</b> 文档保存。</p>
%1
<h3>读频与写频</h3>
<ul>
<li><b>编程 &gt; 读频</b>（Ctrl+R）和 <b>编程 &gt; 写频</b>（Ctrl+Shift+W）打开传输窗口，按开始按钮即可。信道范围限制传输的信道数。</li>
<li>文档中有对讲机不能接受的数值时，写频会拒绝并列出这些数值。</li>
</ul>
<h3>编辑</h3>
<ul>
<li>信道表 A 和 B：单击频率单元格并输入频率，按回车。单击功率、带宽和开关单元格可切换其值。单击亚音单元格可直接输入亚音（<tt>88.5</tt>）或 DCS 码（<tt>D023N</tt>）。</li>
<li>右键单击信道可剪切、复制、粘贴（也可从表 A 粘贴到表 B）或插入空信道；鼠标停在列标题上可看到该列的说明。</li>
<li><b>可选功能</b> 窗口包含整机设置、收音机频道、DTMF 和呼叫列表。</li>
</ul>
<h3>文件</h3>
<ul>
<li><b>文件 &gt; 打开 / 保存</b>（Ctrl+O、Ctrl+S）读写 .qv19 文档；<b>最近的文件</b> 列出最近八个。损坏或不完整的文件不会被打开。</li>
<li>信道列表可导入导出 CSV；<b>打印</b> 和 <b>导出 PDF</b> 可打印文档。</li>
<li>设置保存在 <tt>sysini.ini</tt> 中；<tt>kt520 --where</tt> 显示其位置。</li>
</ul>)";

const char* const TraditionalGuide = R"(<h2>KT-520 編程軟件</h2>
<p>本程式透過寫頻線讀取 KT-520 對講機的記憶體，供您編輯後寫回，並以 <b>.qv19</b> 文件儲存。</p>
%1
<h3>讀頻與寫頻</h3>
<ul>
<li><b>編程 &gt; 讀頻</b>（Ctrl+R）和 <b>編程 &gt; 寫頻</b>（Ctrl+Shift+W）開啟傳輸視窗，按開始按鈕即可。信道範圍限制傳輸的信道數。</li>
<li>文件中有對講機不能接受的數值時，寫頻會拒絕並列出這些數值。</li>
</ul>
<h3>編輯</h3>
<ul>
<li>信道表 A 和 B：按一下頻率儲存格並輸入頻率，按 Enter。按一下功率、頻寬和開關儲存格可切換其值。按一下亞音儲存格可直接輸入亞音（<tt>88.5</tt>）或 DCS 碼（<tt>D023N</tt>）。</li>
<li>右鍵按一下信道可剪下、複製、貼上（也可從表 A 貼到表 B）或插入空信道；滑鼠停在欄標題上可看到該欄的說明。</li>
<li><b>可選功能</b> 視窗包含整機設定、收音機頻道、DTMF 和呼叫列表。</li>
</ul>
<h3>檔案</h3>
<ul>
<li><b>檔案 &gt; 開啟 / 儲存</b>（Ctrl+O、Ctrl+S）讀寫 .qv19 文件；<b>最近的檔案</b> 列出最近八個。損壞或不完整的檔案不會被開啟。</li>
<li>信道列表可匯入匯出 CSV；<b>列印</b> 和 <b>匯出 PDF</b> 可列印文件。</li>
<li>設定儲存在 <tt>sysini.ini</tt> 中；<tt>kt520 --where</tt> 顯示其位置。</li>
</ul>)";

// Finding and opening the cable differs by system: each guide takes its own system's part.
struct ConnectHelp {
    const char* linuxPart;
    const char* windowsPart;
};
const ConnectHelp EnglishConnect{R"(<h3>Connecting the radio (Linux)</h3>
<ul>
<li>Plug the cable into the PC and the radio, and switch the radio on.</li>
<li><b>Tools &gt; COM Port</b> lists COM1 to COM16 with the device each stands for
(<tt>/dev/ttyUSB0</tt> …). A greyed port says why: <i>missing</i>, <i>in use</i> by another
program, or <i>no permission</i>. Type another device in the <b>Device…</b> field to let the
chosen COM number stand for it.</li>
<li><i>No permission</i>: add yourself to the <tt>dialout</tt> group
(<tt>sudo adduser $USER dialout</tt>), then log out and in again.</li>
<li>Tick <b>Single Port</b> for a one-wire cable that echoes every byte.</li>
</ul>
)",
                                 R"(<h3>Connecting the radio (Windows)</h3>
<ul>
<li>Plug the cable into the PC and the radio, and switch the radio on. <b>Device Manager &gt;
Ports (COM &amp; LPT)</b> shows the cable's COM number; a cable missing there needs its maker's
driver.</li>
<li><b>Tools &gt; COM Port</b> lists COM1 to COM16 with the adapter beside each. A greyed port
says why: <i>missing</i>, or <i>in use</i> by another program (close that program). A cable
numbered above COM16: type its name (<tt>COM17</tt>) in the <b>Device…</b> field, or give it
a lower number in Device Manager (<b>Port Settings &gt; Advanced</b>).</li>
<li>Tick <b>Single Port</b> for a one-wire cable that echoes every byte.</li>
</ul>
)"};
const ConnectHelp ChineseConnect{R"(<h3>连接对讲机（Linux）</h3>
<ul>
<li>将写频线连接电脑和对讲机，打开对讲机电源。</li>
<li><b>工具 &gt; 通信端口</b> 列出 COM1 至 COM16 及其对应设备（<tt>/dev/ttyUSB0</tt> 等）。灰色的端口会说明原因：
<i>不存在</i>、被其他程序<i>占用</i>或<i>无权限</i>。在 <b>设备…</b> 栏中输入其他设备，即可让所选 COM 号对应该设备。</li>
<li><i>无权限</i>：将自己加入 <tt>dialout</tt> 组（<tt>sudo adduser $USER dialout</tt>），然后注销并重新登录。</li>
<li>单线写频线（回显每个字节）请勾选 <b>单口</b>。</li>
</ul>
)",
                                 R"(<h3>连接对讲机（Windows）</h3>
<ul>
<li>将写频线连接电脑和对讲机，打开对讲机电源。<b>设备管理器 &gt; 端口 (COM 和 LPT)</b> 显示写频线的 COM 号；其中没有写频线时，请安装写频线厂家的驱动程序。</li>
<li><b>工具 &gt; 通信端口</b> 列出 COM1 至 COM16 及各自的适配器。灰色的端口会说明原因：<i>不存在</i>，或被其他程序<i>占用</i>（请关闭该程序）。
COM 号大于 16 的写频线：在 <b>设备…</b> 栏中输入其名称（<tt>COM17</tt>），或在设备管理器中（<b>端口设置 &gt; 高级</b>）改用较小的号码。</li>
<li>单线写频线（回显每个字节）请勾选 <b>单口</b>。</li>
</ul>
)"};
const ConnectHelp TraditionalConnect{R"(<h3>連接對講機（Linux）</h3>
<ul>
<li>將寫頻線連接電腦和對講機，打開對講機電源。</li>
<li><b>工具 &gt; 通訊埠</b> 列出 COM1 至 COM16 及其對應裝置（<tt>/dev/ttyUSB0</tt> 等）。灰色的連接埠會說明原因：
<i>不存在</i>、被其他程式<i>佔用</i>或<i>無權限</i>。在 <b>裝置…</b> 欄中輸入其他裝置，即可讓所選 COM 號對應該裝置。</li>
<li><i>無權限</i>：將自己加入 <tt>dialout</tt> 群組（<tt>sudo adduser $USER dialout</tt>），然後登出並重新登入。</li>
<li>單線寫頻線（回傳每個位元組）請勾選 <b>單口</b>。</li>
</ul>
)",
                                     R"(<h3>連接對講機（Windows）</h3>
<ul>
<li>將寫頻線連接電腦和對講機，打開對講機電源。<b>裝置管理員 &gt; 連接埠 (COM 和 LPT)</b> 顯示寫頻線的 COM 號；其中沒有寫頻線時，請安裝寫頻線廠商的驅動程式。</li>
<li><b>工具 &gt; 通訊埠</b> 列出 COM1 至 COM16 及各自的介面卡。灰色的連接埠會說明原因：<i>不存在</i>，或被其他程式<i>佔用</i>（請關閉該程式）。
COM 號大於 16 的寫頻線：在 <b>裝置…</b> 欄中輸入其名稱（<tt>COM17</tt>），或在裝置管理員中（<b>連接埠設定 &gt; 進階</b>）改用較小的號碼。</li>
<li>單線寫頻線（回傳每個位元組）請勾選 <b>單口</b>。</li>
</ul>
)"};

QString guideHtml(const Session& s) {
    QFile beside(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kt520-guide.html")));
    if (beside.open(QIODevice::ReadOnly)) return QString::fromUtf8(beside.read(1 << 20));
    // The guide names the menus as the chosen language's menu bar does, and the system's own
    // example device (COM17 on Windows).
    return builtInGuide(s.lang.index, OnWindows)
        .replace(QStringLiteral("/dev/ttyUSB0"), PortDirectory::exampleDevice());
}
} // namespace

QString builtInGuide(int language, bool windows) {
    const char* guide = language == 2 ? EnglishGuide : language == 3 ? TraditionalGuide : ChineseGuide;
    const ConnectHelp& connect = language == 2   ? EnglishConnect
                                 : language == 3 ? TraditionalConnect
                                                 : ChineseConnect;
    return QString::fromUtf8(guide).arg(QString::fromUtf8(windows ? connect.windowsPart : connect.linuxPart));
}

void showUserGuide(QWidget* parent, const Session& session) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("UserGuide"));
    dialog.setWindowTitle(session.lang.text(Str::HelpGuideCaption));
    auto* text = new QTextBrowser(&dialog);
    text->setAccessibleName(dialog.windowTitle());
    text->setOpenExternalLinks(true);
    text->setHtml(guideHtml(session));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->button(QDialogButtonBox::Close)->setText(session.lang.text(Str::CloseButton));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.resize(640, 560);
    dialog.exec();
}
