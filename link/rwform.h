#pragma once
#include <QWidget>
class Session;

// Placeholder window; grows with its own features.
class TRWForm : public QWidget {
    Q_OBJECT
public:
    explicit TRWForm(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};
