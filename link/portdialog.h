#pragma once
#include <QWidget>
class Session;

// Placeholder window; grows with its own features.
class Tcommuny : public QWidget {
    Q_OBJECT
public:
    explicit Tcommuny(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};
