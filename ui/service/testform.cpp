// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/service/testform.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/link.h"
#include "core/link/radioport.h"
#include "core/memmap/alignmentblocks.h"
#include "core/transfer/alignmentexchange.h"
#include "ui/common/accessiblenames.h"
#include "ui/common/filechooser.h"
#include "ui/common/messagebox.h"
#include "ui/service/alignfieldedit.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString FileFilter = QStringLiteral("DVS-207  文件 (*.m17)");
// The sample fill: the reply texts the radio software keeps for a quick start.
constexpr QStringView SamplePower =
    u"520301B0FFFFFF30467D6106D00F0A04013008066C7D20405B0000749ED0714D70430DC0";
constexpr QStringView SampleLevels = u"520301B06C7D20405B0000749ED0714D70430DC0";
constexpr int NameMaxLength = 7;

enum Table { Display, Entries, Options };

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QPlainTextEdit* column(QWidget* parent, const QString& name, bool readOnly) {
    auto* e = new QPlainTextEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    e->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    e->setFont(mono);
    return e;
}
} // namespace

TTestForm::TTestForm(Session& session, Link& link, QWidget* parent)
    : QWidget(parent), m_session(session), m_link(link) {
    setObjectName(QStringLiteral("TTestForm"));
    setWindowTitle(QStringLiteral("调试"));
    // The service technician's window: the program keeps it out of reach without --service.
    setProperty("kt520_service", true);
    auto* outer = new QHBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->addTab(buildBasicTab(), QStringLiteral("基本"));
    m_tabs->addTab(buildOtherTab(), QStringLiteral("其它"));
    m_tabs->addTab(buildMenuTab(Display), QStringLiteral("显示列表"));
    m_tabs->addTab(buildMenuTab(Entries), QStringLiteral("菜单列表"));
    m_tabs->addTab(buildMenuTab(Options), QStringLiteral("菜单子表"));
    outer->addWidget(m_tabs, 1);
    m_side = buildSidePanel();
    outer->addWidget(m_side);
    refresh();
    connect(&session.lang, &Language::applied, this, &TTestForm::nameControls);
    nameControls();
}

TTestForm::~TTestForm() = default;

void TTestForm::addField(QGridLayout* grid, int row, int column, int number, const QString& caption,
                         const QString& spoken) {
    const AlignField* f = alignField(number);
    if (!f) return;
    auto* editor = new AlignFieldEdit(*f, this);
    m_fields.insert(number, editor);
    m_fieldCaptions.insert(number, spoken.isEmpty() ? caption : spoken);
    connect(editor, &AlignFieldEdit::edited, this,
            [this](int n, const QString& text) { m_session.alignment.setText(n, text); });
    if (!caption.isEmpty()) grid->addWidget(label(caption, this), row, column);
    grid->addWidget(editor, row, column + 1);
}

QWidget* TTestForm::buildBasicTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    auto* trim = new QGroupBox(QStringLiteral("频率调整"), page);
    auto* trimGrid = new QGridLayout(trim);
    trimGrid->addWidget(label(QStringLiteral("低段"), trim), 0, 0);
    trimGrid->addWidget(label(QStringLiteral("高段"), trim), 0, 1);
    trimGrid->addWidget(label(QStringLiteral("微调"), trim), 1, 0);
    addField(trimGrid, 1, 0, 413, {}, QStringLiteral("微调"));
    grid->addWidget(trim, 0, 0);

    auto* deviation = new QGroupBox(page);
    auto* devGrid = new QGridLayout(deviation);
    const std::pair<int, const char*> devFields[] = {
        {405, "频偏"},        {407, "CTC频偏"},  {408, "DCS频偏"},  {409, "窄带频偏"},  {410, "窄带CTC频偏"},
        {411, "窄带DCS频偏"}, {412, "扰频调整"}, {414, "DTMF基值"}, {221, "DTMF 细调"}, {415, "DTMF 阶梯"},
    };
    int row = 0;
    for (const auto& [n, caption] : devFields)
        addField(devGrid, row++, 0, n, QString::fromUtf8(caption));
    grid->addWidget(deviation, 0, 1, 3, 1);

    auto* mod = new QGroupBox(QStringLiteral("1846 MOD"), page);
    auto* modGrid = new QGridLayout(mod);
    addField(modGrid, 0, 0, 311, QStringLiteral("基本"));
    addField(modGrid, 1, 0, 309, QStringLiteral("特"));
    addField(modGrid, 2, 0, 310, QString(), QStringLiteral("特"));
    grid->addWidget(mod, 1, 0);

    auto* power = new QGroupBox(page);
    power->setObjectName(QStringLiteral("PowerTable"));
    auto* powerGrid = new QGridLayout(power);
    const char* columns[] = {"400", "470", "136", "174"};
    for (int c = 0; c < 4; ++c)
        powerGrid->addWidget(label(QString::fromLatin1(columns[c]), power), 0, 2 * c + 2);
    const std::pair<const char*, std::array<int, 4>> rows[] = {
        {"高功率", {401, 402, 420, 421}}, {"中功率", {416, 417, 418, 419}}, {"低功率", {403, 404, 422, 423}}};
    row = 1;
    for (const auto& [caption, numbers] : rows) {
        powerGrid->addWidget(label(QString::fromUtf8(caption), power), row, 0);
        for (int c = 0; c < 4; ++c)
            addField(powerGrid, row, 2 * c + 1, numbers[c], {},
                     QString::fromUtf8(caption) + QLatin1Char(' ') + QString::fromLatin1(columns[c]));
        ++row;
    }
    grid->addWidget(power, 2, 0);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* TTestForm::buildOtherTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    // Four columns of fields, grouped as the technician works through them.
    const std::pair<int, const char*> groups[][10] = {
        {{301, "省电开启迟时"},
         {302, "扫描开启迟时"},
         {306, "省电开(毫秒)"},
         {307, "省电关(毫秒)"},
         {308, "扫描时间(毫秒)"},
         {219, "扫描等待"},
         {220, "PTT等待"}},
        {{216, "SQL VAL"},
         {305, "400SQL"},
         {312, "245SQL"},
         {313, "136SQL"},
         {218, "400差频"},
         {3, "136差频"},
         {4, "144"},
         {5, "440"}},
        {{201, "TX_MOD 增益粗调"},
         {202, "MOD增益细调"},
         {206, "TX BEEP MOD"},
         {207, "TX BEEP Vol 高"},
         {208, "TX BEEP Vol 低"},
         {211, "VOX 基值"},
         {212, "TX3210压扩"},
         {213, "RX3210压扩"},
         {209, "高电压提示电平"},
         {210, "低电压自动关机"}},
        {{204, "VOL高位,RX_AAF增益"},
         {205, "VOL低位"},
         {203, "TX_AAF增益"},
         {214, "RX BEEP HI"},
         {215, "RX BEEP LOW"}},
    };
    int column = 0;
    for (const auto& group : groups) {
        int row = 0;
        for (const auto& [n, caption] : group)
            if (n) addField(grid, row++, column, n, QString::fromUtf8(caption));
        column += 2;
    }
    grid->setRowStretch(10, 1);
    return page;
}

QWidget* TTestForm::buildMenuTab(int table) {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    const char* names[] = {"Display", "Entries", "Options"};
    const QString base = QString::fromLatin1(names[table]);
    m_numbers[table] = column(page, base + QStringLiteral("Numbers"), true);
    m_texts[table] = column(page, base + QStringLiteral("Texts"), false);
    m_hex[table] = column(page, base + QStringLiteral("Hex"), true);
    m_numbers[table]->setMaximumWidth(50);
    row->addWidget(m_numbers[table]);
    row->addWidget(m_texts[table]);
    row->addWidget(m_hex[table], 2);
    if (table == Entries) {
        m_second = column(page, QStringLiteral("EntriesSecond"), true);
        row->addWidget(m_second, 2);
    }
    connect(m_texts[table], &QPlainTextEdit::textChanged, this, [this, table] { menuTextsEdited(table); });
    return page;
}

QWidget* TTestForm::buildSidePanel() {
    auto* side = new QWidget(this);
    side->setObjectName(QStringLiteral("Panel1"));
    auto* col = new QVBoxLayout(side);
    auto button = [&](const QString& caption, const QString& name, void (TTestForm::*slot)()) {
        auto* b = new QPushButton(caption, side);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        col->addWidget(b);
        return b;
    };
    button(QStringLiteral("读出"), QStringLiteral("Button1"), &TTestForm::readClick);
    button(QStringLiteral("调整"), QStringLiteral("Button2"), &TTestForm::writeClick);
    auto* open = new QPushButton(QStringLiteral("打开"), side);
    open->setObjectName(QStringLiteral("Button3"));
    connect(open, &QPushButton::clicked, this, [this] {
        const QString path = FileChooser::toOpen(this, {QStringLiteral("打开"), FileFilter, {}, {}});
        if (!path.isEmpty()) openFile(path);
    });
    col->addWidget(open);
    auto* save = new QPushButton(QStringLiteral("保存"), side);
    save->setObjectName(QStringLiteral("Button4"));
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path =
            FileChooser::toSave(this, {QStringLiteral("保存"), FileFilter, QStringLiteral("m17"), {}});
        if (!path.isEmpty() && saveFile(path)) FileChooser::saved(path);
    });
    col->addWidget(save);
    button(QStringLiteral("通信协议"), QStringLiteral("Button5"), &TTestForm::identificationClick);

    m_menus = new QCheckBox(QStringLiteral("写入菜单"), side);
    m_menus->setObjectName(QStringLiteral("CheckBox1"));
    connect(m_menus, &QCheckBox::toggled, this, [this](bool on) { m_session.alignment.writeMenus = on; });
    col->addWidget(m_menus);
    m_factoryDate = new QCheckBox(QStringLiteral("写入出厂日期"), side);
    m_factoryDate->setObjectName(QStringLiteral("CheckBox2"));
    connect(m_factoryDate, &QCheckBox::toggled, this,
            [this](bool on) { m_session.alignment.writeFactoryDate = on; });
    col->addWidget(m_factoryDate);
    // Labelled, since a screen reader on Linux names a list by its label, not by its own name.
    m_powerLabel = new QLabel(side);
    m_powerLabel->setProperty("kt520_fixed", true);
    col->addWidget(m_powerLabel);
    m_power = new QComboBox(side);
    m_powerLabel->setBuddy(m_power);
    m_power->setObjectName(QStringLiteral("ComboBox1"));
    m_power->addItems({QStringLiteral("10W"), QStringLiteral("25W")});
    connect(m_power, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { m_session.alignment.powerClass = text; });
    col->addWidget(m_power);

    auto* battery = new QGroupBox(QStringLiteral("电源调整"), side);
    auto* batteryCol = new QVBoxLayout(battery);
    batteryCol->addWidget(label(QStringLiteral("调整前请先测量电压!"), battery));
    batteryCol->addWidget(label(QStringLiteral("标准电压12.4V!"), battery));
    m_batteryResult = new QLabel(battery);
    m_batteryResult->setObjectName(QStringLiteral("Label50"));
    m_batteryResult->setProperty("kt520_fixed", true);
    batteryCol->addWidget(m_batteryResult);
    auto* calibrate = new QPushButton(QStringLiteral("电源调整"), battery);
    calibrate->setObjectName(QStringLiteral("Button6"));
    connect(calibrate, &QPushButton::clicked, this, &TTestForm::batteryClick);
    batteryCol->addWidget(calibrate);
    col->addWidget(battery);
    col->addWidget(label(QStringLiteral("机器调好后，才能使用"), side));
    button(QStringLiteral("调整SQL"), QStringLiteral("Button7"), &TTestForm::squelchClick);
    // Fills the alignment fields with sample values, a starting point for a new radio.
    button(QStringLiteral("填入示例调整值"), QStringLiteral("Button8"), &TTestForm::sampleFillClick);

    m_name = new QLineEdit(side);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setMaxLength(NameMaxLength);
    m_nameHex = new QLineEdit(side);
    m_nameHex->setObjectName(QStringLiteral("Edit2"));
    col->addWidget(m_name);
    col->addWidget(m_nameHex);
    button(QStringLiteral("生成"), QStringLiteral("Button9"), &TTestForm::nameToHexClick);
    col->addStretch(1);
    return side;
}

void TTestForm::nameControls() {
    // The captions stay the same in every language; what a screen reader says around them
    // follows the language. Fields repeat their captions ("中功率" heads a row of four), so each
    // is named by its number as well.
    const Language& lang = m_session.lang;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        const QString name =
            lang.text(Str::SpokenAlignField).arg(it.key()).arg(m_fieldCaptions.value(it.key()));
        it.value()->edit()->setAccessibleName(name);
        const auto arrows = it.value()->findChildren<QToolButton*>();
        for (QToolButton* arrow : arrows)
            arrow->setAccessibleName(
                lang.text(arrow->arrowType() == Qt::UpArrow ? Str::AccessibleUp : Str::AccessibleDown)
                    .arg(name));
    }
    for (int t = 0; t < 3; ++t) {
        const QString tab = m_tabs->tabText(t + 2);
        m_numbers[t]->setAccessibleName(lang.text(Str::SpokenMenuNumbers).arg(tab));
        m_texts[t]->setAccessibleName(lang.text(Str::SpokenMenuTexts).arg(tab));
        m_hex[t]->setAccessibleName(lang.text(Str::SpokenMenuHex).arg(tab));
    }
    m_second->setAccessibleName(lang.text(Str::SpokenMenuSecondHalves).arg(m_tabs->tabText(3)));
    m_name->setAccessibleName(lang.text(Str::SpokenNameField));
    m_nameHex->setAccessibleName(lang.text(Str::SpokenNameHexField));
    m_power->setAccessibleName(lang.text(Str::SpokenPowerClass));
    m_powerLabel->setText(lang.text(Str::SpokenPowerClass));
    // The buttons and boxes say their own captions.
    nameWidgetsForAccessibility(this, lang);
}

void TTestForm::refresh() {
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        it.value()->setText(m_session.alignment.text(it.key()));
    const QSignalBlocker block(m_power);
    const int index = m_power->findText(m_session.alignment.powerClass);
    if (index >= 0) m_power->setCurrentIndex(index);
    m_menus->setChecked(m_session.alignment.writeMenus);
    m_factoryDate->setChecked(m_session.alignment.writeFactoryDate);
}

void TTestForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_tablesBuilt) buildMenuTables();
}

void TTestForm::buildMenuTables() {
    m_tablesBuilt = true;
    m_session.alignment.menus.loadSecondHalves(MenuTables::findCaiIni(m_session.files.languageDirs));
    showMenuTables();
}

void TTestForm::showMenuTables() {
    const MenuTables& menus = m_session.alignment.menus;
    m_showingTables = true;
    const QStringList* lists[] = {&menus.display, &menus.names, &menus.options};
    for (int t = 0; t < 3; ++t) {
        m_texts[t]->setPlainText(lists[t]->join(QChar('\n')));
        QStringList numbers;
        for (int n = 0; n < lists[t]->size(); ++n)
            numbers << (t == Options ? QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0'))
                                     : QString::number(n));
        m_numbers[t]->setPlainText(numbers.join(QChar('\n')));
        menuTextsEdited(t);
    }
    m_second->setPlainText(menus.second.join(QChar('\n')));
    m_showingTables = false;
}

void TTestForm::menuTextsEdited(int table) {
    MenuTables& menus = m_session.alignment.menus;
    QStringList* lists[] = {&menus.display, &menus.names, &menus.options};
    const int sizes[] = {MenuTables::DisplayCount, MenuTables::EntryCount, MenuTables::OptionCount};
    const int bytes[] = {MenuTables::DisplayBytes, MenuTables::EntryNameBytes, MenuTables::OptionBytes};
    if (!m_showingTables) {
        // A line the user removed leaves its entry empty rather than moving the others up.
        QStringList lines = m_texts[table]->toPlainText().split(QChar('\n'));
        while (lines.size() < sizes[table])
            lines << QString();
        *lists[table] = lines.mid(0, sizes[table]);
    }
    QStringList hex;
    const QStringList fixed = MenuTables::fixedDisplayHex();
    for (int n = 0; n < lists[table]->size(); ++n) {
        if (table == Display && n < MenuTables::FixedDisplayCount) {
            hex << fixed.at(n).toLower();
            continue;
        }
        // A text that does not fit its entry shows "?": the write names it and sends nothing.
        hex << menuTextHex(lists[table]->at(n), bytes[table], table == Options).value_or(QStringLiteral("?"));
    }
    m_hex[table]->setPlainText(hex.join(QChar('\n')));
}

void TTestForm::warn(const QString& text) {
    const QString caption = m_session.lang.text(Str::AlignCaption);
    if (m_message)
        m_message(caption, text);
    else
        showWarning(this, caption, text);
}

void TTestForm::run(const std::function<AlignResult()>& exchange) {
    if (m_running) return;
    if (!m_tablesBuilt) buildMenuTables();
    m_link.setSinglePortMode(m_session.singlePortMode);
    m_link.setPort(m_portFactory
                       ? m_portFactory()
                       : PortDirectory(m_session.files.settingsToRead()).create(m_session.portNumber));
    m_running = true;
    m_side->setEnabled(false);
    const AlignResult result = exchange();
    m_side->setEnabled(true);
    m_running = false;
    refresh();
    if (!result.battery.isEmpty()) m_batteryResult->setText(result.battery);
    const QString message = alignMessage(result, m_session.lang);
    if (!message.isEmpty()) warn(message);
}

void TTestForm::readClick() {
    run([this] {
        AlignResult r = readAlignment(m_session, m_link);
        // The model change renames the main window as a read of the radio does.
        if (r.caption && window()) window()->setWindowTitle(*r.caption);
        return r;
    });
}

void TTestForm::writeClick() {
    run([this] { return writeAlignment(m_session, m_link, m_menus->isChecked()); });
}

void TTestForm::identificationClick() {
    run([this] { return writeIdentification(m_session, m_link); });
}

void TTestForm::batteryClick() {
    m_batteryResult->clear();
    run([this] { return calibrateBattery(m_session, m_link); });
}

void TTestForm::squelchClick() {
    run([this] { return writeMenuEntry17(m_session, m_link); });
}

void TTestForm::sampleFillClick() {
    decodeAlignBlock(m_session.alignment, AlignAddr::Power,
                     QStringLiteral("00") + SamplePower.mid(10, 30).toString());
    decodeAlignBlock(m_session.alignment, AlignAddr::Levels, SampleLevels.mid(8, 32).toString());
    refresh();
}

void TTestForm::nameToHexClick() {
    QString hex;
    for (const QChar c : m_name->text())
        hex += QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    m_nameHex->setText(hex);
}

bool TTestForm::openFile(const QString& path) {
    if (const auto error = readAlignmentFileAt(m_session.alignment, path, m_session.lang)) {
        warn(*error);
        return false;
    }
    refresh();
    return true;
}

bool TTestForm::saveFile(const QString& path) {
    if (const auto error = writeAlignmentFileAt(m_session.alignment, path, m_session.lang)) {
        warn(*error);
        return false;
    }
    return true;
}
