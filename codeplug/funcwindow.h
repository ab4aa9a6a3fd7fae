#pragma once
#include <QWidget>
class Session;

// Placeholder window; grows with its own features.
class Tfunc : public QWidget {
    Q_OBJECT
public:
    explicit Tfunc(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};
