// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>
class Session;
class ControlBinder;
class FmList;
class CallList;
class QCalendarWidget;
class QLineEdit;
class QTabWidget;

// The optional functions window "功能选项": four tabs with every radio-wide setting, the FM
// list and the call list. The values live in the document's control store; this window shows
// them and carries what is purely interactive (key rules, the in-place list editors, the
// calendar of the end dates, the number-conversion message).
class ActivationWatch;

class Tfunc : public QWidget {
    Q_OBJECT
public:
    explicit Tfunc(Session& session, QWidget* parent = nullptr);
    ~Tfunc() override;

    // Shows a warning message; tests answer here without a modal loop.
    std::function<void(const QString& caption, const QString& text)> warn;

    FmList* fmList() const { return m_fm; }
    CallList* callList() const { return m_calls; }
    QCalendarWidget* calendar() const { return m_calendar; }
    QTabWidget* tabs() const { return m_tabs; }
    QSize sizeHint() const override;

    // The window lost activation: the FM editor closes and the typed numbers settle.
    void deactivated();
    // Takes the user to control `name`: its tab comes to the front, its page scrolls it into
    // view and it takes the keyboard; in a list, row `gridRow` (from 1) becomes current. False
    // when the window has no such control.
    bool showControl(const QString& name, int gridRow = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyLanguageTexts();
    void namePages();
    void openCalendarFor(QLineEdit* edit);
    void calendarChosen();
    void checkTypedNumber(const QString& editName, const QString& text);

    Session& m_session;
    QTabWidget* m_tabs = nullptr;
    FmList* m_fm = nullptr;
    CallList* m_calls = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QPointer<QLineEdit> m_calendarTarget;
    ControlBinder* m_binder = nullptr;
    ActivationWatch* m_activation = nullptr;
};
