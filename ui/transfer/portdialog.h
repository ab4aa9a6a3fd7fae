// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <array>
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class PortDirectory;
class Session;

// The port dialog: sixteen radio buttons com1 ... com16 (four to a row), each with the device
// it stands for and, when it cannot be opened, why (the adapter the system names for it on
// pointing at it); the single-port check box, a field for the device of the chosen COM number (kept in
// section "ports" of sysini.ini) and the OK button. Every showing probes the ports again: a button is enabled
// only when its exclusive open succeeds, and with no device at all the dialog says so below the buttons. The
// choice goes straight into the session; the dialog is modal and stays on top.
class Tcommuny : public QDialog {
    Q_OBJECT
public:
    explicit Tcommuny(Session& session, QWidget* parent = nullptr);

    QRadioButton* portButton(int com) const { return m_ports.at(com - 1); }
    QLabel* deviceLabel(int com) const { return m_devices.at(com - 1); }
    QCheckBox* singlePortBox() const { return m_single; }
    QLineEdit* deviceField() const { return m_deviceEdit; }
    QLabel* noPortsLabel() const { return m_none; }
    QLabel* adapterLabel() const { return m_adapter; }
    QLabel* replyDelayLabel() const { return m_replyDelay; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void comClick();        // any radio button: the first checked one becomes the port number
    void singlePortClick(); // "单口": single-port mode follows the box
    void applyTexts();
    void showChoiceCaption();
    void showDeviceOfChoice(const PortDirectory& directory);
    bool storeTypedDevice(); // false when the settings file cannot be written

    Session& m_session;
    QGroupBox* m_group = nullptr;
    std::array<QRadioButton*, 16> m_ports{};
    std::array<QLabel*, 16> m_devices{};
    QLabel* m_none = nullptr;
    QLabel* m_deviceCaption = nullptr;
    QLineEdit* m_deviceEdit = nullptr;
    QString m_shownDevice;                    // the device field's text as the dialog filled it
    QLabel* m_adapter = nullptr;              // what the system names the chosen port's adapter
    QLabel* m_replyDelay = nullptr;           // slow replies at the chosen port's last transfer
    std::array<QString, 16> m_adapterTexts{}; // of this showing, COM1 first
    QCheckBox* m_single = nullptr;
};
