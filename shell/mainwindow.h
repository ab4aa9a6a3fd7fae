#pragma once
#include <QMainWindow>
class Session;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};
