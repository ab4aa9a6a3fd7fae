// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/documentdiff.h"
#include <QDialog>
#include <functional>

class Session;
class QTreeWidget;

// Program › Compare with file… / with radio…: the differences as a list of place, this
// document's value and the other's; a double-click shows the place.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    using PlaceShower = std::function<void(const DocumentDifference&)>;
    CompareDialog(const Session& session, const QString& other, QList<DocumentDifference> differences,
                  PlaceShower show, QWidget* parent = nullptr);
    QTreeWidget* list() const { return m_list; }

private:
    QTreeWidget* m_list;
    QList<DocumentDifference> m_differences;
    PlaceShower m_show;
};
