// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QMdiArea>
#include <QRect>
#include <QSize>
#include <functional>

// Where the child windows stand at start-up in a work area of `area`: table B at the top left,
// table A in front of it a title bar lower, the optional functions beside them. Every window fits
// the area; the optional functions never lie under table A while the area holds MinTableWidth
// and MinOptionsWidth side by side (both scroll when narrower than their contents).
struct ChildGeometry {
    QRect tableA, tableB, options;
};
inline constexpr int MinOptionsWidth = 320;
// The tables give up width down to this (their grids scroll) before the options overlap them:
inline constexpr int MinTableWidth = 680; // the five buttons and ">>" side by side
ChildGeometry placeChildren(QSize area, QSize table, QSize options);

// `frame` moved and, where it must, shrunk so that it lies inside an area of `area`.
QRect fitInto(QRect frame, QSize area);

class QWidget;
// Arranges the child windows at the next turn of the event loop, and again whenever `area`
// changes size while none of `frames` has been moved or resized since: a window manager
// maximises the main window only after its first layout, and the arrangement must fit the area
// the user finally sees.
void keepArranged(QWidget* area, const QList<QWidget*>& frames, std::function<void()> arrange);

// The main window's work area. Without scroll bars a QMdiArea asks for room for the smallest
// size of every child window, which pushed the main window past the bottom of the screen when
// the Problems dock opened; the child windows are kept inside the area by fitInto instead.
class WorkArea : public QMdiArea {
public:
    using QMdiArea::QMdiArea;
    QSize minimumSizeHint() const override;
};
