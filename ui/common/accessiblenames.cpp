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
#include <QPlainTextEdit>
#include <QScrollBar>
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

QString buddyCaption(const QWidget* x) {
    if (!x->parentWidget()) return {};
    for (const QLabel* l : x->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == x) return cleaned(l->text());
    return {};
}

// The layout (nested anywhere in `layout`) that holds `x` as a direct item, and its index there.
std::pair<QLayout*, int> holder(QLayout* layout, const QWidget* x) {
    if (!layout) return {nullptr, -1};
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == x) return {layout, i};
        if (item->layout())
            if (auto found = holder(item->layout(), x); found.first) return found;
    }
    return {nullptr, -1};
}

// In a grid: the label left of the widget in its row, with the heading label above its column;
// in a form: its row's label; in a row or column of widgets: the nearest label before it.
QString neighbourCaption(const QWidget* x) {
    if (!x->parentWidget()) return {};
    const auto [layout, index] = holder(x->parentWidget()->layout(), x);
    if (!layout) return {};
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
    for (int i = index - 1; i >= 0; --i)
        if (const QString text = labelText(layout->itemAt(i)); !text.isEmpty()) return text;
    return {};
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

void nameWidgetsForAccessibility(QWidget* root, const Language& lang) {
    if (!root) return;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!isInteractiveWidget(w)) continue;
        const bool ours =
            w->property(OwnName).toString() == w->accessibleName() && !w->accessibleName().isEmpty();
        if (!ours && !spokenName(w).isEmpty()) continue;
        QString name = captionFor(w, root);
        if (auto* arrow = qobject_cast<QToolButton*>(w); arrow && arrow->arrowType() != Qt::NoArrow) {
            const bool up = arrow->arrowType() == Qt::UpArrow || arrow->arrowType() == Qt::RightArrow;
            name = lang.text(up ? Str::AccessibleUp : Str::AccessibleDown).arg(name);
        }
        if (name.isEmpty()) name = w->objectName();
        w->setAccessibleName(name);
        w->setProperty(OwnName, name);
    }
}
