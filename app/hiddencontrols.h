// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>

class QWidget;

// A control that the program hides while its window shows (a rule's hidden field, a closed
// group, an in-place editor between edits, the band-two list without bands) leaves the focus
// chain until it is shown again, with everything inside it: Tab never lands on something the
// user cannot see. Qt already ignores the shortcuts and clicks of hidden controls. Watches every
// widget of the application from its creation on; the focus policy a control had when shown is
// given back when it shows again, so set a policy while the control is shown.
class HiddenControls : public QObject {
    Q_OBJECT
public:
    explicit HiddenControls(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void park(QWidget* hidden);
    static void release(QWidget* shown);
};
