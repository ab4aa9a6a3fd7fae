#pragma once
#include <QWidget>
class Session;

// Placeholder window; grows with its own features.
class Taddmessage : public QWidget {
    Q_OBJECT
public:
    explicit Taddmessage(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};
