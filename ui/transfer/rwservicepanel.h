// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QPushButton;

// The read/write dialog's service controls: the initialise command (Button3), the debug-rows box
// (CheckBox1) and the transmit-usage adjustment (ComboBox1 with Button5). They change a radio's
// factory calibration, so outside service mode (kt520 --service) the whole group is hidden,
// disabled and takes no focus: no Tab, shortcut, click or screen reader reaches it. The dialog
// runs the commands; the group only says that they were asked for.
class RWServicePanel : public QGroupBox {
    Q_OBJECT
public:
    explicit RWServicePanel(QWidget* parent = nullptr);

    // Shown, enabled and reached by Tab in service mode; out of every user's way otherwise.
    void setServiceMode(bool on);
    bool serviceMode() const { return m_serviceMode; }

    // "调试频": a transfer of the first 20 table rows only.
    bool debugRows() const;
    // The initialise command is marked (Button3's tag is 1) while it runs: the write procedure
    // and the factory alignment write look at the mark.
    void setInitialiseMark(bool on);
    bool initialiseMarked() const;
    // While a transfer or a service command runs, neither command may start again.
    void setCommandsEnabled(bool on);

    int usageLevel() const;
    QString usageText(int level) const;

signals:
    void initialiseRequested();
    void usageRequested(int level);

private:
    void applyFocus();

    QPushButton* m_initialise = nullptr;
    QCheckBox* m_debugRows = nullptr;
    QComboBox* m_usage = nullptr;
    QPushButton* m_usageApply = nullptr;
    bool m_serviceMode = false;
};
