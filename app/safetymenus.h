// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/documentdiff.h"
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QWidget;
class Session;

// The main window's commands for safe transfers: File › Radio backups…, Program › Compare with
// file… and Compare with radio….
class SafetyMenus : public QObject {
    Q_OBJECT
public:
    // What the commands need of the main window.
    struct Host {
        QWidget* window = nullptr;
        std::function<void()> finishEditing;
        // Opens a document file as File > Open does (unsaved changes asked about first).
        std::function<void(const QString& path)> openFile;
        // Brings a child window to the front.
        std::function<void(QWidget* child)> bringForward;
        QWidget* options = nullptr;
        QWidget* tableA = nullptr;
        QWidget* tableB = nullptr;
    };
    SafetyMenus(Host host, Session& session, QMenu* file, QMenu* program);
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

    Host m_host;
    Session& m_session;
    QAction* m_backups;
    QAction* m_compareFile;
    QAction* m_compareRadio;
};
