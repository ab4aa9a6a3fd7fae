// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

class AlignFieldEdit;
class Link;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class RadioPort;
class Session;
struct AlignResult;

// "调试": the factory alignment window. Five tabs of fields (bound to the session's alignment
// data) and a side panel whose buttons run the alignment exchanges with the radio through the
// read/write dialog's link. The window is never destroyed: closing only hides it.
class TTestForm : public QWidget {
    Q_OBJECT
public:
    TTestForm(Session& session, Link& link, QWidget* parent = nullptr);
    ~TTestForm() override;

    AlignFieldEdit* field(int number) const { return m_fields.value(number); }
    // Every field's edit again from the alignment data (after a read, an open, the sample fill).
    void refresh();

    // The side panel's commands.
    void readClick();           // "读出"
    void writeClick();          // "调整"
    void identificationClick(); // "通信协议"
    void batteryClick();        // "电源调整"
    void squelchClick();        // "调整SQL"
    void sampleFillClick();     // "Button8"
    void nameToHexClick();      // "生成"
    bool openFile(const QString& path);
    bool saveFile(const QString& path);

    // --- Seams for tests ---
    using MessageSink = std::function<void(const QString& caption, const QString& text)>;
    void setMessageSink(MessageSink sink) { m_message = std::move(sink); }
    using PortFactory = std::function<std::unique_ptr<RadioPort>()>;
    void setPortFactory(PortFactory factory) { m_portFactory = std::move(factory); }
    bool exchangeRunning() const { return m_running; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildBasicTab();
    QWidget* buildOtherTab();
    QWidget* buildMenuTab(int table);
    QWidget* buildSidePanel();
    // `spoken` names the field for a screen reader where the caption beside it does not say it all.
    void addField(QGridLayout* grid, int row, int column, int number, const QString& caption = {},
                  const QString& spoken = {});
    void nameControls();
    void buildMenuTables();
    void showMenuTables();
    void menuTextsEdited(int table);
    void run(const std::function<AlignResult()>& exchange);
    void warn(const QString& text);

    Session& m_session;
    Link& m_link;
    QHash<int, AlignFieldEdit*> m_fields;
    QHash<int, QString> m_fieldCaptions; // what each field is called, beside its number
    bool m_running = false;
    bool m_tablesBuilt = false;
    bool m_showingTables = false;

    QTabWidget* m_tabs = nullptr;
    QWidget* m_side = nullptr;
    QComboBox* m_power = nullptr;
    QLabel* m_powerLabel = nullptr;
    QCheckBox* m_menus = nullptr;
    QCheckBox* m_factoryDate = nullptr;
    QLabel* m_batteryResult = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_nameHex = nullptr;
    QPlainTextEdit* m_texts[3] = {};
    QPlainTextEdit* m_hex[3] = {};
    QPlainTextEdit* m_numbers[3] = {};
    QPlainTextEdit* m_second = nullptr;

    MessageSink m_message;
    PortFactory m_portFactory;
};
