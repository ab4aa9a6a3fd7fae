// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/problemspanel.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int IndexRole = Qt::UserRole;

QTreeWidget* newProblemList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("ProblemsList"));
    list->setColumnCount(2);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(true);
    return list;
}

// Asks with the list in a dialog of its own: "Write anyway" or Cancel.
bool askInDialog(QWidget* parent, const QList<Problem>& problems, const Session& session) {
    const Language& lang = session.lang;
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ProblemsBeforeWrite"));
    dialog.setWindowTitle(lang.text(Str::ProblemsPanel));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(lang.text(Str::ProblemsBeforeWrite), &dialog);
    text->setWordWrap(true);
    layout->addWidget(text);
    QTreeWidget* list = newProblemList(&dialog);
    list->setAccessibleName(lang.text(Str::ProblemsPanel));
    fillProblemList(list, problems, session);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* write = buttons->addButton(lang.text(Str::WriteAnyway), QDialogButtonBox::AcceptRole);
    write->setObjectName(QStringLiteral("WriteAnyway"));
    buttons->addButton(QDialogButtonBox::Cancel)->setFocus();
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(dialog.fontMetrics().averageCharWidth() * 100, dialog.fontMetrics().height() * 20);
    return dialog.exec() == QDialog::Accepted;
}
} // namespace

void fillProblemList(QTreeWidget* list, const QList<Problem>& problems, const Session& session) {
    const Language& lang = session.lang;
    list->setUpdatesEnabled(false);
    list->clear();
    list->setHeaderLabels({lang.text(Str::ProblemsHeaderSeverity), lang.text(Str::ProblemsHeaderText)});
    const QIcon errorIcon = list->style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = list->style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QString error = lang.text(Str::SeverityError);
    const QString warning = lang.text(Str::SeverityWarning);
    QList<QTreeWidgetItem*> items;
    items.reserve(problems.size());
    // Errors first: they stop the write.
    for (const bool errors : {true, false})
        for (int i = 0; i < problems.size(); ++i) {
            const Problem& p = problems.at(i);
            if ((p.severity == Problem::Severity::Error) != errors) continue;
            auto* item = new QTreeWidgetItem({errors ? error : warning, p.message});
            item->setIcon(0, errors ? errorIcon : warningIcon);
            item->setData(0, IndexRole, i);
            items << item;
        }
    if (items.isEmpty()) {
        auto* none = new QTreeWidgetItem({QString(), lang.text(Str::ProblemsNone)});
        none->setData(0, IndexRole, -1);
        items << none;
    }
    list->addTopLevelItems(items);
    list->setUpdatesEnabled(true);
}

ProblemsPanel::ProblemsPanel(Session& session, QWidget* parent)
    : QDockWidget(parent), m_session(session), m_list(newProblemList(this)), m_count(new QLabel(this)),
      m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("ProblemsPanel"));
    setWidget(m_list);
    m_count->setObjectName(QStringLiteral("ProblemCount"));
    m_count->setProperty("kt520_fixed", true); // worded here, not by the window's translation
    setWindowTitle(QStringLiteral("问题"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &ProblemsPanel::refreshNow);
    ask = [this](QWidget* parent, const QList<Problem>& problems) {
        return askInDialog(parent, problems, m_session);
    };
    Codeplug& doc = session.doc;
    for (ChannelTable* table : {&doc.tableA, &doc.tableB}) {
        connect(table, &ChannelTable::cellChanged, this, &ProblemsPanel::schedule);
        connect(table, &ChannelTable::tableReset, this, &ProblemsPanel::schedule);
    }
    for (ControlStore* store : {&doc.func, &doc.main})
        connect(store, &ControlStore::controlChanged, this, &ProblemsPanel::schedule);
    connect(&session.lang, &Language::applied, this, &ProblemsPanel::applyTexts);
    m_list->setAccessibleName(QStringLiteral("问题"));
    m_count->setText(QStringLiteral(" "));
    // Enter on a row as well as a double-click: the keyboard reaches every place.
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int i = item ? item->data(0, IndexRole).toInt() : -1;
        if (i >= 0 && i < m_problems.size() && goTo) goTo(m_problems.at(i));
    });
    // The first showing takes room for about ten rows; after that the height is the user's.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        auto* window = qobject_cast<QMainWindow*>(parentWidget());
        if (!visible || m_sized || !window || isFloating()) return;
        m_sized = true;
        window->resizeDocks({this}, {preferredHeight()}, Qt::Vertical);
    });
    schedule();
}

void ProblemsPanel::changeEvent(QEvent* event) {
    QDockWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    // The title bar's buttons are named once, when the dock is made: name them again in the
    // language of Qt's texts now installed.
    const std::pair<const char*, QString> buttons[] = {
        {"qt_dockwidget_floatbutton", QDockWidget::tr("Float")},
        {"qt_dockwidget_closebutton", QDockWidget::tr("Close")}};
    for (const auto& [name, text] : buttons)
        if (auto* button = findChild<QAbstractButton*>(QLatin1String(name))) {
            button->setToolTip(text);
            button->setAccessibleName(text);
        }
}

int ProblemsPanel::preferredHeight() const {
    const int row = m_list->fontMetrics().height() + 6;
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return titleBar + m_list->header()->sizeHint().height() + 10 * row + 2 * m_list->frameWidth();
}

void ProblemsPanel::schedule() {
    if (!m_timer->isActive()) m_timer->start();
}

bool ProblemsPanel::refreshPending() const {
    return m_timer->isActive();
}

void ProblemsPanel::applyTexts() {
    setWindowTitle(m_session.lang.text(Str::ProblemsPanel));
    m_list->setAccessibleName(m_session.lang.text(Str::ProblemsPanel));
    m_listed = false; // the headers and the severity words change with the language
    // The switch rewrites the value words of the tables after this: worded once it is done.
    schedule();
}

void ProblemsPanel::refreshNow() {
    m_timer->stop();
    QList<Problem> problems = documentProblems(m_session);
    // Most edits change no finding: the rows stay as they are, scrolled and selected.
    const auto same = [](const Problem& a, const Problem& b) {
        return a.severity == b.severity && a.message == b.message;
    };
    const bool unchanged = m_listed && problems.size() == m_problems.size() &&
                           std::equal(problems.begin(), problems.end(), m_problems.begin(), same);
    m_problems = std::move(problems);
    if (!unchanged) fillProblemList(m_list, m_problems, m_session);
    m_listed = true;
    const ProblemCount count = countProblems(m_problems);
    m_count->setText(m_session.lang.text(Str::ProblemsStatus).arg(count.errors).arg(count.warnings));
    m_count->setAccessibleName(m_count->text());
    emit refreshed();
}

bool ProblemsPanel::confirmWrite(QWidget* parent) {
    refreshNow();
    // Errors are the write's own to refuse, with the same lines, only for the channels it sends.
    if (m_problems.isEmpty() || hasErrors(m_problems)) return true;
    return ask && ask(parent, m_problems);
}
