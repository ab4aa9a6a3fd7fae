#pragma once
#include <QRect>
#include <QSize>

// Where the child windows stand at start-up in a work area of `area`: table B at the top left,
// table A in front of it a title bar lower, the optional functions beside them. Every window fits
// the area; the optional functions never lie under table A while at least MinOptionsWidth is
// left beside the tables (they scroll when narrower than their pages).
struct ChildGeometry {
    QRect tableA, tableB, options;
};
inline constexpr int MinOptionsWidth = 320;
ChildGeometry placeChildren(QSize area, QSize table, QSize options);
