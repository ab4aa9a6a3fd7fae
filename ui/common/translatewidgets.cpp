// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/translatewidgets.h"
#include "core/base/language.h"
#include "ui/common/accessiblenames.h"
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTabWidget>
#include <QWidget>

namespace {
const char* const BuiltinProperty = "kt520_builtin";
const char* const TitleSetProperty = "kt520_title_set";

QString builtinFor(QObject* o, const char* key, const QString& current) {
    const QVariant v = o->property(key);
    if (v.isValid()) return v.toString();
    o->setProperty(key, current);
    return current;
}

QString tr(const Language& lang, QObject* o, const char* key, const QString& current) {
    return lang.caption(builtinFor(o, key, current));
}

void translateCaptions(QWidget* root, const Language& lang);
} // namespace

QString builtinCaption(const QObject* element, const QString& current) {
    const QVariant v = element->property(BuiltinProperty);
    return v.isValid() ? v.toString() : current;
}

void translateWidgetTree(QWidget* root, const Language& lang) {
    if (!root) return;
    translateCaptions(root, lang);
    // What a screen reader speaks follows the captions shown.
    nameWidgetsForAccessibility(root, lang);
}

namespace {
void translateCaptions(QWidget* root, const Language& lang) {
    // Before any language file has been applied the windows keep their built-in captions: the
    // compiled-in table is a fallback for numbered texts, not a replacement for the windows'.
    if (!lang.loaded) return;
    // A caption that the program has set since the last translation (the main window's model
    // and band) is the new built-in one.
    const QVariant lastTitle = root->property(TitleSetProperty);
    if (lastTitle.isValid() && lastTitle.toString() != root->windowTitle())
        root->setProperty(BuiltinProperty, root->windowTitle());
    if (!root->windowTitle().isEmpty() || root->property(BuiltinProperty).isValid()) {
        root->setWindowTitle(tr(lang, root, BuiltinProperty, root->windowTitle()));
        root->setProperty(TitleSetProperty, root->windowTitle());
    }
    for (QLabel* l : root->findChildren<QLabel*>())
        if (!l->property("kt520_fixed").toBool()) l->setText(tr(lang, l, BuiltinProperty, l->text()));
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (!b->property("kt520_fixed").toBool()) b->setText(tr(lang, b, BuiltinProperty, b->text()));
    for (QGroupBox* g : root->findChildren<QGroupBox*>())
        g->setTitle(tr(lang, g, BuiltinProperty, g->title()));
    for (QTabWidget* t : root->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) {
            QWidget* page = t->widget(i);
            page->setProperty("kt520_tab", true);
            const QString key = QStringLiteral("kt520_tabtitle");
            QVariant v = page->property(key.toLatin1());
            if (!v.isValid()) page->setProperty(key.toLatin1(), t->tabText(i));
            t->setTabText(i, lang.caption(page->property(key.toLatin1()).toString()));
        }
    // A menu's title is the text of its menu action: the action is translated with the menu,
    // or it would remember the menu's already translated title as its built-in text.
    QSet<QAction*> menuActions;
    for (QMenu* m : root->findChildren<QMenu*>()) {
        menuActions.insert(m->menuAction());
        if (!m->property("kt520_fixed").toBool()) m->setTitle(tr(lang, m, BuiltinProperty, m->title()));
    }
    for (QAction* a : root->findChildren<QAction*>())
        if (!a->isSeparator() && !menuActions.contains(a) && !a->property("kt520_fixed").toBool())
            a->setText(tr(lang, a, BuiltinProperty, a->text()));
}
} // namespace
