// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "app/unsavedchanges.h"
#include "core/codeplug/channeltable.h"
#include <QObject>
#include <functional>
class QWidget;
class Session;

// The File menu's commands on the document: new, open, save, channel lists, print and PDF.
// The main window lends what they need through `Host`, so that they know no window class.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    struct Host {
        QWidget* window = nullptr;
        // Commits the channel being typed and closes the in-place editors.
        std::function<void()> finishEditing;
        std::function<void(const QString& caption)> captionChanged;
        std::function<void(const QString& outcome)> reportOutcome;
        std::function<UnsavedAnswer()> unsavedAnswer;
    };
    DocumentCommands(Session& session, Host host, QObject* parent = nullptr);

    void newDocument();
    void open();
    // The save dialog every time, on the document's own file name. True when written.
    bool save();
    void openPath(const QString& path);
    void openDropped(const QString& path, Side side);
    void importCsv();
    void exportCsv();
    void print();
    void exportPdf();
    // Before the document is replaced or the program ends: false when the user cancels.
    bool maySetAside();

    // Where the save dialog's answer comes from (the path, empty when cancelled); tests answer here.
    std::function<QString(const QString& current)> askSavePath;

private:
    Session& m_session;
    Host m_host;
};
