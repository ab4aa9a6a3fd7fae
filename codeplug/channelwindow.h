#pragma once
#include <QWidget>
class Session;

// Placeholder window; grows with its own features.
class ChannelWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChannelWindow(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};

class Tchannela : public ChannelWindow {
    Q_OBJECT
public:
    explicit Tchannela(Session& session, QWidget* parent = nullptr) : ChannelWindow(session, parent) {
        setObjectName(QStringLiteral("Tchannela"));
    }
};

class Tchannelb : public ChannelWindow {
    Q_OBJECT
public:
    explicit Tchannelb(Session& session, QWidget* parent = nullptr) : ChannelWindow(session, parent) {
        setObjectName(QStringLiteral("Tchannelb"));
    }
};
