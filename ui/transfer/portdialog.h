#pragma once
#include <QDialog>
#include <array>
class QCheckBox;
class QLabel;
class QRadioButton;
class Session;

// The port dialog: sixteen radio buttons com1 ... com16 (four to a row), each with the device
// it stands for beside it, the single-port check box and the OK button. Every showing probes the
// sixteen ports again and disables those that are missing or held by another program. The
// choice goes straight into the session; the dialog is modal and stays on top.
class Tcommuny : public QDialog {
    Q_OBJECT
public:
    explicit Tcommuny(Session& session, QWidget* parent = nullptr);

    QRadioButton* portButton(int com) const { return m_ports.at(com - 1); }
    QLabel* deviceLabel(int com) const { return m_devices.at(com - 1); }
    QCheckBox* singlePortBox() const { return m_single; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void comClick();        // any radio button: the first checked one becomes the port number
    void singlePortClick(); // "单口": single-port mode follows the box

    Session& m_session;
    std::array<QRadioButton*, 16> m_ports{};
    std::array<QLabel*, 16> m_devices{};
    QCheckBox* m_single = nullptr;
};
