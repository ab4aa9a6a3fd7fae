// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/functooltips.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QLabel>
#include <QMultiHash>
#include <QWidget>
#include <utility>

namespace {
// The controls in the order of their tooltip strings.
const char* const Controls[] = {
    "ComboBox1",  "ComboBox2",   "ComboBox4",  "ComboBox5",  "ComboBox10", "ComboBox20", "ComboBox21",
    "ComboBox18", "Edit16",      "ComboBox9",  "ComboBox22", "ComboBox24", "CheckBox1",  "CheckBox2",
    "CheckBox24", "CheckBox15",  "CheckBox6",  "CheckBox5",  "CheckBox21", "CheckBox36", "CheckBox32",
    "CheckBox22", "CheckBox23",  "CheckBox25", "CheckBox18", "CheckBox28", "CheckBox27", "CheckBox26",
    "CheckBox30", "CheckBox29",  "ComboBox6",  "ComboBox7",  "CheckBox4",  "Edit17",     "ComboBox27",
    "ComboBox28", "ComboBox3",   "ComboBox19", "Edit2",      "Edit3",      "Edit4",      "Edit5",
    "Edit6",      "CheckBox7",   "CheckBox8",  "CheckBox31", "CheckBox34", "ComboBox16", "Edit7",
    "Edit8",      "ComboBox15",  "ComboBox25", "Edit24",     "ComboBox17", "Edit9",      "Edit10",
    "CheckBox10", "CheckBox9",   "CheckBox11", "CheckBox38", "CheckBox13", "Edit11",     "CheckBox12",
    "Edit19",     "CheckBox17",  "CheckBox19", "CheckBox20", "CheckBox14", "Edit23",     "Edit21",
    "CheckBox16", "Edit32",      "CheckBox42", "CheckBox3",  "Edit22",     "Edit20",     "CheckBox35",
    "Edit27",     "Edit25",      "Edit26",     "CheckBox37", "Edit1",      "ComboBox11", "ComboBox12",
    "ComboBox8",  "ComboBox119", "ComboBox13", "ComboBox14", "ComboBox23", "CheckBox33", "CheckBox39",
    "ComboBox26", "Edit13",      "Edit14",     "Edit15",     "Edit28",     "CheckBox41",
};

// The second rental box and date (on the signalling page) mean what the first ones mean.
const std::pair<const char*, const char*> Same[] = {{"CheckBox40", "CheckBox16"}, {"Edit31", "Edit32"}};
} // namespace

void applyFuncTooltips(QWidget* window, const Language& lang) {
    // The caption beside a field tells the same; the captions are gathered once, as the window
    // has hundreds of them.
    QMultiHash<const QWidget*, QLabel*> captions;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy()) captions.insert(label->buddy(), label);
    int number = Str::TipOptionsFirst;
    for (const char* name : Controls) {
        const QString tip = lang.text(number++);
        QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(name));
        if (!control) continue;
        control->setToolTip(tip);
        for (auto it = captions.constFind(control); it != captions.constEnd() && it.key() == control; ++it)
            (*it)->setToolTip(tip);
    }
    for (const auto& [copy, original] : Same) {
        QWidget* to = window->findChild<QWidget*>(QString::fromLatin1(copy));
        const QWidget* from = window->findChild<QWidget*>(QString::fromLatin1(original));
        if (to && from) to->setToolTip(from->toolTip());
    }
}
