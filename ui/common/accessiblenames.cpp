// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/accessiblenames.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMultiHash>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

namespace {
// Marks a name this routine gave, so that a later run may replace it with a newer caption.
const char* const OwnName = "kt520_accessible_name";

QString cleaned(QString text) {
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QChar(0xFF1A)))
        text.chop(1);
    return text.trimmed();
}

QString labelText(QLayoutItem* item) {
    auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    return label && !label->isHidden() ? cleaned(label->text()) : QString();
}

QLabel* buddyLabel(const QWidget* x) {
    if (!x->parentWidget()) return nullptr;
    for (QLabel* l : x->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == x) return l;
    return nullptr;
}

QString buddyCaption(const QWidget* x) {
    if (!x->parentWidget()) return {};
    for (const QLabel* l : x->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == x) return cleaned(l->text());
    return {};
}

// The layouts (outermost first) from `layout` down to the one that holds `x` as a direct item,
// each with the index of the item that leads to `x`.
QList<std::pair<QLayout*, int>> pathTo(QLayout* layout, const QWidget* x) {
    if (!layout) return {};
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == x) return {{layout, i}};
        if (item->layout())
            if (auto inner = pathTo(item->layout(), x); !inner.isEmpty())
                return QList{std::pair{layout, i}} + inner;
    }
    return {};
}

// The widget placed just before item `index` of a row or column, looking outwards through the
// enclosing rows and columns when it is the first of its own.
QWidget* widgetBefore(const QList<std::pair<QLayout*, int>>& path) {
    for (auto level = path.crbegin(); level != path.crend(); ++level)
        for (int i = level->second - 1; i >= 0; --i) {
            QLayoutItem* item = level->first->itemAt(i);
            if (item->widget() && !item->widget()->isHidden()) return item->widget();
            if (item->layout()) return nullptr; // a row of its own is another field's
        }
    return nullptr;
}

// In a grid: the label left of the widget in its row, with the heading label above its column;
// in a form: its row's label; in rows and columns: the label just before it.
QString neighbourCaption(const QWidget* x) {
    if (!x->parentWidget()) return {};
    const auto path = pathTo(x->parentWidget()->layout(), x);
    if (path.isEmpty()) return {};
    const auto [layout, index] = path.last();
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, col = 0, rowSpan = 0, colSpan = 0;
        grid->getItemPosition(index, &row, &col, &rowSpan, &colSpan);
        QString left;
        for (int c = col - 1; c >= 0 && left.isEmpty(); --c)
            left = labelText(grid->itemAtPosition(row, c));
        QString above;
        for (int r = row - 1; r >= 0; --r) {
            QLayoutItem* item = grid->itemAtPosition(r, col);
            if (!item || !item->widget()) continue;
            above = labelText(item);
            break; // only a heading straight above counts, not a label of a field further up
        }
        return QStringList({left, above}).join(QLatin1Char(' ')).trimmed();
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(x))))
            return cleaned(label->text());
        return {};
    }
    auto* label = qobject_cast<QLabel*>(widgetBefore(path));
    return label ? cleaned(label->text()) : QString();
}

// The label beside a widget in its row (grid, form or row of widgets), when there is one.
QLabel* neighbourLabel(const QWidget* x) {
    if (!x->parentWidget()) return nullptr;
    const auto path = pathTo(x->parentWidget()->layout(), x);
    if (path.isEmpty()) return nullptr;
    const auto [layout, index] = path.last();
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, col = 0, rowSpan = 0, colSpan = 0;
        grid->getItemPosition(index, &row, &col, &rowSpan, &colSpan);
        QLayoutItem* left = col > 0 ? grid->itemAtPosition(row, col - 1) : nullptr;
        return left ? qobject_cast<QLabel*>(left->widget()) : nullptr;
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout))
        return qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(x)));
    return qobject_cast<QLabel*>(widgetBefore(path));
}

// The field an arrow button steps: the edit placed before the arrows.
const QWidget* steppedField(const QWidget* arrow) {
    for (const QWidget* x = arrow; x && x->parentWidget(); x = x->parentWidget()) {
        QWidget* before = widgetBefore(pathTo(x->parentWidget()->layout(), x));
        if (qobject_cast<QLineEdit*>(before) || qobject_cast<QAbstractSpinBox*>(before)) return before;
        // The down arrow sits below the up arrow: the field lies before the pair.
        if (auto* other = qobject_cast<QToolButton*>(before); other && other->arrowType() != Qt::NoArrow)
            continue;
        if (before) return nullptr;
    }
    return nullptr;
}

QString captionFor(const QWidget* w, const QWidget* root) {
    for (const QWidget* x = w; x; x = x->parentWidget()) {
        if (QString c = buddyCaption(x); !c.isEmpty()) return c;
        if (QString c = neighbourCaption(x); !c.isEmpty()) return c;
        if (x != w)
            if (auto* group = qobject_cast<const QGroupBox*>(x); group && !cleaned(group->title()).isEmpty())
                return cleaned(group->title());
        if (x == root) break;
    }
    if (!w->toolTip().isEmpty()) return cleaned(w->toolTip());
    for (const QWidget* x = w; x; x = x->parentWidget())
        if (!x->windowTitle().isEmpty()) return cleaned(x->windowTitle());
    return {};
}

QString spokenName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}
} // namespace

bool isInteractiveWidget(const QWidget* w) {
    if (w->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<const QScrollBar*>(w)) return false;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p)) return false;
    // Buttons Qt puts into item views (the corner button) belong to the view.
    if (qobject_cast<const QAbstractButton*>(w) && w->parentWidget() &&
        qobject_cast<const QAbstractItemView*>(w->parentWidget()))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w);
}

namespace {
// The window a control belongs to: `root`, or a child window of the main window's area in it.
const QWidget* ownerOf(const QWidget* w, const QWidget* root) {
    for (const QWidget* x = w->parentWidget(); x && x != root; x = x->parentWidget())
        if (x->isWindow() || qobject_cast<const QMdiSubWindow*>(x->parentWidget())) return x;
    return root;
}

// The arrows of an up-down control (a spin box that shows no number of its own).
bool isArrowPair(const QWidget* w) {
    auto* spin = qobject_cast<const QAbstractSpinBox*>(w);
    auto* edit = spin ? spin->findChild<QLineEdit*>() : nullptr;
    return edit && edit->isHidden();
}

// "%1, up", "%1, down", or for a pair "%1, up and down".
int arrowText(const QToolButton* arrow) {
    if (!arrow) return Str::AccessibleArrows;
    const bool up = arrow->arrowType() == Qt::UpArrow || arrow->arrowType() == Qt::RightArrow;
    return up ? Str::AccessibleUp : Str::AccessibleDown;
}

// What a screen reader says for `w`: a combo box is named by its label on Linux.
QString saidFor(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (QLabel* label = buddyLabel(combo))
            return label->accessibleName().isEmpty() ? cleaned(label->text()) : label->accessibleName();
        return combo->accessibleName();
    }
    return spokenName(w);
}

// The caption of the nearest group or tab page around `w` that says more than `name`.
QString placeOf(const QWidget* w, const QWidget* root, const QString& name) {
    for (const QWidget* x = w->parentWidget(); x && x != root; x = x->parentWidget()) {
        if (auto* group = qobject_cast<const QGroupBox*>(x))
            if (const QString title = cleaned(group->title()); !title.isEmpty() && title != name)
                return title;
        if (auto* tabs = qobject_cast<const QTabWidget*>(x))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(w)) return cleaned(tabs->tabText(i));
    }
    return {};
}

// Gives `w` the name `name` in the way its screen reader reads it.
void rename(QWidget* w, const QString& name) {
    QList<QWidget*> targets{w};
    if (auto* combo = qobject_cast<QComboBox*>(w))
        if (QLabel* label = buddyLabel(combo)) targets << label;
    for (QWidget* target : targets) {
        target->setAccessibleName(name);
        target->setProperty(OwnName, name);
    }
}

// Two controls of one window never share a name: the second of a pair with one caption (the
// same label in two groups) takes its group's caption first, then a number.
void tellApart(const QList<QWidget*>& controls, const QWidget* root) {
    for (int pass = 0; pass < 2; ++pass) {
        QMultiHash<QString, QWidget*> byName;
        for (QWidget* w : controls)
            byName.insert(saidFor(w), w);
        for (const QString& name : byName.uniqueKeys()) {
            QList<QWidget*> same = byName.values(name);
            if (same.size() < 2 || name.isEmpty()) continue;
            std::sort(same.begin(), same.end(),
                      [&](QWidget* a, QWidget* b) { return controls.indexOf(a) < controls.indexOf(b); });
            for (int i = 0; i < same.size(); ++i) {
                const QString place = placeOf(same[i], root, name);
                if (pass == 0 && !place.isEmpty())
                    rename(same[i], place + QStringLiteral(" - ") + name);
                else if (pass == 1 && i > 0)
                    rename(same[i], name + QStringLiteral(" ") + QString::number(i + 1));
            }
        }
    }
}
} // namespace

void nameWidgetsForAccessibility(QWidget* root, const Language& lang) {
    if (!root) return;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    QHash<const QWidget*, QList<QWidget*>> focusable; // by the window they belong to
    for (QWidget* w : widgets) {
        if (!isInteractiveWidget(w)) continue;
        // A name given before the control had text of its own (a check box captioned after the
        // window was named) gives way to that text; a label renamed to tell two lists apart
        // speaks its own text again until they are told apart once more.
        if (auto* combo = qobject_cast<QComboBox*>(w))
            if (QLabel* label = buddyLabel(combo);
                label && label->property(OwnName).toString() == label->accessibleName())
                label->setAccessibleName({});
        const bool ours =
            w->property(OwnName).toString() == w->accessibleName() && !w->accessibleName().isEmpty();
        if (ours) w->setAccessibleName({});
        if (w->focusPolicy() != Qt::NoFocus || w->property("kt520_shown_focus_policy").isValid())
            focusable[ownerOf(w, root)] << w;
        auto* arrow = qobject_cast<QToolButton*>(w);
        const bool arrows = (arrow && arrow->arrowType() != Qt::NoArrow) || isArrowPair(w);
        // A combo box without a name of its own speaks its current item, which names nothing.
        const bool named =
            qobject_cast<QComboBox*>(w) ? !w->accessibleName().isEmpty() : !spokenName(w).isEmpty();
        if (named && !(arrows && w->accessibleName().isEmpty())) continue;
        // Screen readers on Linux name a combo box by the label whose buddy it is: the caption
        // beside it becomes that label.
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && !buddyLabel(combo))
            if (QLabel* label = neighbourLabel(combo)) label->setBuddy(combo);
        QString name;
        if (arrows) {
            const QWidget* field = steppedField(w);
            name = lang.text(arrowText(arrow)).arg(captionFor(field ? field : w, root));
        } else {
            name = captionFor(w, root);
        }
        if (name.isEmpty()) name = w->objectName();
        w->setAccessibleName(name);
        w->setProperty(OwnName, name);
    }
    for (auto it = focusable.cbegin(); it != focusable.cend(); ++it)
        tellApart(it.value(), it.key());
}
