// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/funcwindow.h"
#include "core/base/messages.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/funcrules.h"
#include "core/codeplug/session.h"
#include "ui/common/activationwatch.h"
#include "ui/common/bindwidgets.h"
#include "ui/common/messagebox.h"
#include "ui/common/translatewidgets.h"
#include "ui/options/columnflow.h"
#include "ui/options/funcgridswidgets.h"
#include "ui/options/funcpageswidgets.h"
#include "ui/options/functooltips.h"
#include <QCalendarWidget>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString DateFormat = QStringLiteral("yyyy-MM-dd");
} // namespace

Tfunc::Tfunc(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("Tfunc"));
    setWindowTitle(QStringLiteral("功能选项"));
    warn = [this](const QString& caption, const QString& text) { showWarning(this, caption, text); };
    m_activation = new ActivationWatch(this);
    connect(m_activation, &ActivationWatch::deactivated, this, &Tfunc::deactivated);

    ControlStore& store = session.doc.func;
    FuncFormBuilder b(store);
    m_fm = new FmList(store, nullptr);
    m_calls = new CallList(store, nullptr);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    // On a small screen the window may be narrower or lower than its pages: their blocks flow
    // into fewer columns and the page scrolls up and down, so no caption is ever cut.
    m_tabs->addTab(new FlowPageScroll(buildBasicPage(b, m_fm)), QStringLiteral("基本功能"));
    m_tabs->addTab(new FlowPageScroll(buildSignallingPage(b)),
                   QStringLiteral("PTT-ID设置/遥毙/无线改频/租赁/通信密码"));
    m_tabs->addTab(new FlowPageScroll(buildSideKeyPage(b, m_calls)), QStringLiteral("侧键设定"));
    m_tabs->addTab(new FlowPageScroll(buildBandPage(b)), QStringLiteral("Band Change"));
    // The long second tab title must not widen the window: the tab bar scrolls instead.
    m_tabs->setUsesScrollButtons(true);
    namePages();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_tabs);

    // One month calendar serves both end dates; it floats over the window while chosen from.
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("MonthCalendar1"));
    m_calendar->setAutoFillBackground(true);
    m_calendar->hide();
    connect(m_calendar, &QCalendarWidget::activated, this, [this] { calendarChosen(); });
    // Escape closes the calendar without choosing, as it closes any pop-up.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_calendar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        m_calendar->hide();
        if (m_calendarTarget) m_calendarTarget->setFocus();
        m_calendarTarget = nullptr;
    });

    m_binder = new ControlBinder(this, store);

    for (const char* name : {Ctl::Edit32, Ctl::Edit31})
        if (auto* e = findChild<QLineEdit*>(QString::fromLatin1(name))) e->installEventFilter(this);
    for (const char* name : typedNumberEdits())
        if (auto* e = findChild<QLineEdit*>(QString::fromLatin1(name)))
            connect(
                e, &QLineEdit::textEdited, this,
                [this, n = QString::fromLatin1(name)](const QString& text) { checkTypedNumber(n, text); });

    connect(&session.lang, &Language::applied, this, &Tfunc::applyLanguageTexts);
    applyLanguageTexts();
}

Tfunc::~Tfunc() {
    // QWidget hides the window after this object is gone, and the watch would report that.
    disconnect(m_activation, nullptr, this, nullptr);
}

QSize Tfunc::sizeHint() const {
    // The pages in the current language at their preferred columns.
    const QMargins m = layout()->contentsMargins();
    return m_tabs->sizeHint() + QSize(m.left() + m.right(), m.top() + m.bottom());
}

bool Tfunc::showControl(const QString& name, int gridRow) {
    auto* field = findChild<QWidget*>(name);
    if (!field) return false;
    // The page that holds the field comes to the front and scrolls the field into view.
    for (int i = 0; i < m_tabs->count(); ++i) {
        auto* page = qobject_cast<QScrollArea*>(m_tabs->widget(i));
        if (!page || !page->isAncestorOf(field)) continue;
        m_tabs->setCurrentIndex(i);
        // A page brought to the front lays out its blocks only when it is next shown.
        if (QLayout* flow = page->widget()->layout()) flow->activate();
        page->ensureWidgetVisible(field);
    }
    if (auto* grid = qobject_cast<QTableWidget*>(field); grid && gridRow > 0)
        grid->setCurrentCell(gridRow, 1);
    field->setFocus(Qt::OtherFocusReason);
    return true;
}

void Tfunc::applyLanguageTexts() {
    m_binder->refreshAll();
    applyFuncTooltips(this, m_session.lang);
    if (!m_session.lang.loaded) return; // the built-in captions stay
    translateWidgetTree(this, m_session.lang);
    namePages();
    // "Write Band Two": the write label followed by the band-two group's current title.
    QString bandTwo;
    for (QGroupBox* g : findChildren<QGroupBox*>())
        if (builtinCaption(g, g->title()) == QLatin1String("Band Two")) bandTwo = g->title();
    if (auto* write = findChild<QCheckBox*>(Ctl::CheckBox41))
        write->setText(m_session.lang.text(Str::WriteLabel) + QLatin1Char(' ') + bandTwo);
}

void Tfunc::namePages() {
    // A page scrolls as a whole; a screen reader names it by its tab.
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->widget(i)->setAccessibleName(QString(m_tabs->tabText(i)).remove(QLatin1Char('&')));
}

void Tfunc::checkTypedNumber(const QString& editName, const QString& text) {
    if (text.isEmpty() || parseWholeNumber(text)) return;
    Q_UNUSED(editName);
    warn(m_session.lang.messages.warnCaption, numberConversionText(m_session.lang, text));
}

void Tfunc::deactivated() {
    m_fm->closeEditor();
    m_calls->closeEditor();
    settleFuncEdits(m_session.doc.func);
}

bool Tfunc::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            openCalendarFor(edit);
            return true;
        }
    return QWidget::eventFilter(watched, event);
}

void Tfunc::openCalendarFor(QLineEdit* edit) {
    m_calendarTarget = edit;
    const QDate shown = QDate::fromString(edit->text(), DateFormat);
    m_calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    m_calendar->resize(m_calendar->sizeHint());
    QPoint at = edit->mapTo(this, QPoint(0, edit->height()));
    at.setX(std::clamp(at.x(), 0, std::max(0, width() - m_calendar->width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, height() - m_calendar->height())));
    m_calendar->move(at);
    m_calendar->show();
    m_calendar->raise();
    m_calendar->setFocus();
}

void Tfunc::calendarChosen() {
    m_calendar->hide();
    if (!m_calendarTarget) return;
    m_session.doc.func.setText(m_calendarTarget->objectName(),
                               m_calendar->selectedDate().toString(DateFormat));
    m_calendarTarget = nullptr;
}
