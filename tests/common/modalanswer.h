// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

// Answers the modal dialogs a command opens, as the user would, from inside their own loops.
// The first message box whose object name is `boxName` (any message box when empty) goes to
// `answer`; every other modal dialog after it is closed and counted.
class ModalAnswer : public QObject {
public:
    ModalAnswer(QString boxName, std::function<void(QMessageBox*)> answer)
        : m_boxName(std::move(boxName)), m_answer(std::move(answer)) {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::poll);
        m_timer.start();
    }
    bool answered() const { return m_answered; }
    int closedAfter() const { return m_closedAfter; }
    QString text() const { return m_text; }

private:
    void poll() {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible() || modal == m_last) return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!m_answered && box && (m_boxName.isEmpty() || box->objectName() == m_boxName)) {
            m_answered = true;
            m_text = box->text();
            m_last = modal;
            m_answer(box);
        } else if (m_answered) {
            ++m_closedAfter;
            m_last = modal;
            modal->reject();
        }
    }

    QString m_boxName;
    std::function<void(QMessageBox*)> m_answer;
    QTimer m_timer;
    QPointer<QDialog> m_last;
    bool m_answered = false;
    int m_closedAfter = 0;
    QString m_text;
};
