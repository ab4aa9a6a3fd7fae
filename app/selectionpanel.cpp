// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selectionpanel.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include <QComboBox>
#include <QLabel>
#include <QToolBar>

namespace {
void bindMainList(QComboBox* combo, const QString& name, Session& session,
                  const std::function<void(const QString&)>& modelChanged) {
    ControlStore& store = session.doc.main;
    auto refresh = [combo, &store, name](const QString& changed) {
        if (changed != name) return;
        const QSignalBlocker block(combo);
        if (combo->count() != store.items(name).size() || [&] {
                for (int i = 0; i < combo->count(); ++i)
                    if (combo->itemText(i) != store.items(name).at(i)) return true;
                return false;
            }()) {
            combo->clear();
            combo->addItems(store.items(name));
        }
        combo->setCurrentIndex(store.index(name));
    };
    QObject::connect(&store, &ControlStore::controlChanged, combo, refresh);
    refresh(name);
    QObject::connect(combo, &QComboBox::activated, combo, [&session, name, modelChanged](int index) {
        session.doc.main.setIndex(name, index);
        if (name == MainCtl::Model) modelChanged(changeModel(session));
    });
}
} // namespace

QToolBar* newSelectionPanel(Session& session, std::function<void(const QString& caption)> modelChanged,
                            QWidget* parent) {
    auto* bar = new QToolBar(QStringLiteral("selection"), parent);
    bar->setObjectName(QStringLiteral("SelectionPanel"));
    bar->setMovable(false);
    auto add = [&](const QString& caption, const QString& name, int width) {
        auto* label = new QLabel(caption, bar);
        label->setContentsMargins(8, 0, 4, 0);
        bar->addWidget(label);
        auto* combo = new QComboBox(bar);
        combo->setObjectName(name);
        combo->setMinimumWidth(width);
        label->setBuddy(combo); // the name a screen reader gives the list
        bar->addWidget(combo);
        bindMainList(combo, name, session, modelChanged);
    };
    add(QStringLiteral("频段一："), MainCtl::Band1, 120);
    add(QStringLiteral("频段二："), MainCtl::Band2, 120);
    add(QStringLiteral("型号："), MainCtl::Model, 110);
    return bar;
}
