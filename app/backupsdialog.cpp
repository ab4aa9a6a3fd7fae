// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/backupsdialog.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/transfer/backup.h"
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

BackupsDialog::BackupsDialog(const Session& session, const BackupStore& store, Opener open, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)), m_open(std::move(open)) {
    const Language& lang = session.lang;
    setWindowTitle(QString(lang.text(Str::BackupsMenu)).remove(QChar(0x2026)).remove(QStringLiteral("...")));
    m_table->setObjectName(QStringLiteral("BackupList"));
    m_table->setColumnCount(3);
    m_table->setHorizontalHeaderLabels(
        {lang.text(Str::BackupDate), lang.text(Str::BackupSize), lang.text(Str::BackupChannels)});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false); // the arrows choose a backup; Tab goes on to the buttons
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    const QList<BackupEntry> entries = store.list();
    m_table->setRowCount(int(entries.size()));
    const QLocale locale;
    for (int row = 0; row < entries.size(); ++row) {
        const BackupEntry& e = entries[row];
        const int channels = backupChannels(e);
        auto* dateItem = new QTableWidgetItem(backupTitle(e, lang));
        dateItem->setData(Qt::UserRole, e.documentPath);
        m_table->setItem(row, 0, dateItem);
        m_table->setItem(row, 1, new QTableWidgetItem(locale.formattedDataSize(e.size)));
        m_table->setItem(row, 2, new QTableWidgetItem(QString::number(channels)));
    }
    m_table->resizeColumnsToContents();
    if (!entries.isEmpty()) m_table->selectRow(0);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { openSelected(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* openButton = buttons->addButton(lang.text(Str::BackupOpen), QDialogButtonBox::AcceptRole);
    openButton->setEnabled(!entries.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &BackupsDialog::openSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(520, 360);
}

void BackupsDialog::openSelected() {
    const QList<QTableWidgetItem*> chosen = m_table->selectedItems();
    if (chosen.isEmpty()) return;
    const QString path = m_table->item(chosen.first()->row(), 0)->data(Qt::UserRole).toString();
    if (path.isEmpty()) return;
    accept();
    m_open(path);
}
