// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <functional>

class BackupStore;
class Session;
class QTableWidget;

// File › Radio backups…: the backups of the reads, newest first, with date, size and channels in
// use; Open (or a double-click) opens the chosen one as the document.
class BackupsDialog : public QDialog {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString& documentPath)>;
    BackupsDialog(const Session& session, const BackupStore& store, Opener open, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    void openSelected();

private:
    QTableWidget* m_table;
    Opener m_open;
};
