#include "app/childlayout.h"
#include <algorithm>

namespace {
constexpr int TitleStep = 32; // table A shows table B's title bar above it
constexpr int Gap = 8;
constexpr int ScrollBarRoom = 20;
} // namespace

ChildGeometry placeChildren(QSize area, QSize table, QSize options) {
    ChildGeometry g;
    const int tableWidth = std::min(
        table.width(), std::max(area.width() - Gap - MinOptionsWidth, std::min(MinTableWidth, area.width())));
    const int tableHeight = std::max(3 * TitleStep, area.height() - TitleStep);
    g.tableB = QRect(0, 0, tableWidth, tableHeight);
    g.tableA = QRect(0, TitleStep, tableWidth, tableHeight);
    int x = std::min(tableWidth + Gap, area.width() - MinOptionsWidth);
    if (area.width() - x >= options.width()) x = tableWidth + Gap; // all of it fits beside
    x = std::max(0, x);
    g.options =
        QRect(x, 0, std::min(options.width(), area.width() - x), std::min(options.height(), area.height()));
    return g;
}
