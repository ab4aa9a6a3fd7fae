// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/hiddencontrols.h"
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {
// The policy a parked control had when it was last shown.
const char* const ShownPolicy = "kt520_shown_focus_policy";

bool hiddenByProgram(const QWidget* w) {
    return w->testAttribute(Qt::WA_WState_Hidden) && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// Still out of sight: the control itself or a container between it and `shown` is hidden.
bool stillHidden(const QWidget* w, const QWidget* shown) {
    for (; w && w != shown; w = w->parentWidget())
        if (hiddenByProgram(w) || w->isWindow()) return true;
    return false;
}

QList<QWidget*> withInside(QWidget* w) {
    QList<QWidget*> all = w->findChildren<QWidget*>();
    all.prepend(w);
    return all;
}
} // namespace

HiddenControls::HiddenControls(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

bool HiddenControls::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::HideToParent || type == QEvent::ShowToParent)
        if (auto* w = qobject_cast<QWidget*>(watched); w && !w->isWindow())
            type == QEvent::HideToParent ? park(w) : release(w);
    return QObject::eventFilter(watched, event);
}

void HiddenControls::park(QWidget* hidden) {
    for (QWidget* w : withInside(hidden)) {
        if (w->property(ShownPolicy).isValid() || (w != hidden && w->isWindow())) continue;
        w->setProperty(ShownPolicy, int(w->focusPolicy()));
        w->setFocusPolicy(Qt::NoFocus);
    }
}

void HiddenControls::release(QWidget* shown) {
    for (QWidget* w : withInside(shown)) {
        const QVariant policy = w->property(ShownPolicy);
        if (!policy.isValid() || stillHidden(w, shown)) continue;
        w->setFocusPolicy(Qt::FocusPolicy(policy.toInt()));
        w->setProperty(ShownPolicy, QVariant());
    }
}
