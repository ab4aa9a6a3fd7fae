// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/problems.h"
#include <QDockWidget>
#include <functional>
class QLabel;
class QTimer;
class QTreeWidget;
class Session;

// The rows of a problem list: severity and where and why, in the current language; a list
// without problems says so in one row. Each row keeps its problem's index in `problems`.
void fillProblemList(QTreeWidget* list, const QList<Problem>& problems, const Session& session);

// "Problems": a dock of the main window that lists, while the user edits, everything that would
// stop or change a write (documentProblems). A change of the document is looked at once the
// event loop has finished its turn, so that a burst of edits is looked at once. Enter or a
// double-click on a row asks for its place (`goTo`). The count goes to a label of the status
// bar.
class ProblemsPanel : public QDockWidget {
    Q_OBJECT
public:
    ProblemsPanel(Session& session, QWidget* parent);

    QLabel* countLabel() const { return m_count; }
    QTreeWidget* list() const { return m_list; }
    const QList<Problem>& problems() const { return m_problems; }
    // Looks at the document now (the coalesced refresh runs this).
    void refreshNow();
    bool refreshPending() const;
    // The height that shows about ten rows of the list under the title bar.
    int preferredHeight() const;

    std::function<void(const Problem&)> goTo;

    // Before a write: with warnings, shows the list and asks whether to go on; with errors the
    // write's own validation refuses and lists them. True when the write may start. Tests answer
    // through `ask`.
    bool confirmWrite(QWidget* parent);
    std::function<bool(QWidget* parent, const QList<Problem>& problems)> ask;

signals:
    void refreshed(); // the list has been computed again

protected:
    void changeEvent(QEvent* event) override;

private:
    void schedule();
    void applyTexts();

    Session& m_session;
    QTreeWidget* m_list;
    QLabel* m_count;
    QTimer* m_timer;
    QList<Problem> m_problems;
    bool m_listed = false; // the list shows m_problems in the current language
    bool m_sized = false;  // the first showing has had its height
};
