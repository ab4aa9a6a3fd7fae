// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/comparedialog.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

CompareDialog::CompareDialog(const Session& session, const QString& other,
                             QList<DocumentDifference> differences, PlaceShower show, QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)), m_differences(std::move(differences)),
      m_show(std::move(show)) {
    const Language& lang = session.lang;
    setWindowTitle(lang.text(Str::DiffTitle) + QStringLiteral(" \u2014 ") + other);
    m_list->setObjectName(QStringLiteral("DifferenceList"));
    m_list->setAccessibleName(lang.text(Str::DiffTitle));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({lang.text(Str::DiffPlace), lang.text(Str::DiffThis), lang.text(Str::DiffOther)});
    for (const DocumentDifference& d : m_differences)
        m_list->addTopLevelItem(new QTreeWidgetItem({d.place, d.before, d.after}));
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int index = m_list->indexOfTopLevelItem(item);
        if (index >= 0 && m_show) m_show(m_differences[index]);
    });
    auto* layout = new QVBoxLayout(this);
    if (m_differences.isEmpty()) layout->addWidget(new QLabel(lang.text(Str::DiffNone), this));
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 420);
}
