// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
class QLabel;
class QLineEdit;
class QStatusBar;
class Session;

// "本机信息": what the radio reports about itself, filled by every read.
class Taddmessage : public QWidget {
    Q_OBJECT
public:
    explicit Taddmessage(Session& session, QWidget* parent = nullptr);
    // Once, at start-up: after the first language switch, or with the built-in caption where no
    // language file was found.
    void showAdministrator();

private:
    void refresh();
    void applyTexts();
    bool m_administratorShown = false;

    Session& m_session;
    QLineEdit* m_model;
    QLineEdit* m_band;
    QLineEdit* m_administrator;
    QLineEdit* m_salesDate;
    QLineEdit* m_factoryDate;
    QLineEdit* m_user;
    QLabel* m_administratorLabel = nullptr;
    QStatusBar* m_status;
};
