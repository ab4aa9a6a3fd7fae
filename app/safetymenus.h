// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/documentdiff.h"
#include <QObject>

class QAction;
class QMenu;
class Session;
class TMainForm;

// The main window's commands for safe transfers: File › Radio backups…, Program › Compare with
// file… and Compare with radio….
class SafetyMenus : public QObject {
    Q_OBJECT
public:
    SafetyMenus(TMainForm& window, Session& session, QMenu* file, QMenu* program);
    void applyTexts();

    void showBackups();
    void compareWithFile();
    void compareWithRadio();
    // Brings the window of a difference to the front, on its cell for a channel.
    void showPlace(const DocumentDifference& difference);
    void openBackup(const QString& path);

private:
    void showDifferences(const QString& other, const Session& otherSession);
    void warn(const QString& text);

    TMainForm& m_window;
    Session& m_session;
    QAction* m_backups;
    QAction* m_compareFile;
    QAction* m_compareRadio;
};
