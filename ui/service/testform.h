#pragma once
#include <QWidget>
class Session;

// Placeholder window; grows with its own features.
class TTestForm : public QWidget {
    Q_OBJECT
public:
    explicit TTestForm(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};
