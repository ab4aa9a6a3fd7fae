// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/iconwidgets.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
constexpr int Size = 32;
const QColor Ink(40, 60, 90);
const QColor Accent(30, 120, 200);
const QColor Paper(250, 250, 245);

void drawRadio(QPainter& p) {
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(QRectF(9, 9, 12, 20), 2, 2);
    p.drawRect(QRectF(11, 2, 2, 8)); // antenna
    p.setBrush(QColor(160, 220, 160));
    p.drawRect(QRectF(11, 12, 8, 5)); // display
}

void drawArrow(QPainter& p, bool down) {
    p.setBrush(Accent);
    p.setPen(Qt::NoPen);
    QPainterPath path;
    const qreal x = 25;
    if (down) {
        path.moveTo(x - 3, 14);
        path.lineTo(x + 3, 14);
        path.lineTo(x + 3, 21);
        path.lineTo(x + 6, 21);
        path.lineTo(x, 28);
        path.lineTo(x - 6, 21);
        path.lineTo(x - 3, 21);
    } else {
        path.moveTo(x - 3, 28);
        path.lineTo(x + 3, 28);
        path.lineTo(x + 3, 21);
        path.lineTo(x + 6, 21);
        path.lineTo(x, 14);
        path.lineTo(x - 6, 21);
        path.lineTo(x - 3, 21);
    }
    path.closeSubpath();
    p.drawPath(path);
}

void paint(QPainter& p, ToolIcon which) {
    p.setPen(QPen(Ink, 1.5));
    switch (which) {
    case ToolIcon::New:
        p.setBrush(Paper);
        p.drawPolygon(
            QPolygonF({QPointF(7, 3), QPointF(20, 3), QPointF(26, 9), QPointF(26, 29), QPointF(7, 29)}));
        p.drawLine(QPointF(20, 3), QPointF(20, 9));
        p.drawLine(QPointF(20, 9), QPointF(26, 9));
        break;
    case ToolIcon::Open:
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(3, 9, 24, 18));
        p.drawRect(QRectF(3, 6, 10, 4));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({QPointF(7, 14), QPointF(30, 14), QPointF(27, 27), QPointF(3, 27)}));
        break;
    case ToolIcon::Save:
        p.setBrush(Accent);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.drawRect(QRectF(8, 18, 16, 10));
        break;
    case ToolIcon::Read:
        drawRadio(p);
        drawArrow(p, true);
        break;
    case ToolIcon::Write:
        drawRadio(p);
        drawArrow(p, false);
        break;
    case ToolIcon::Port:
        p.setBrush(QColor(90, 90, 100));
        p.drawRoundedRect(QRectF(5, 10, 22, 12), 3, 3);
        p.setBrush(QColor(220, 220, 220));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(9.5 + i * 4.3, 14), 1.2, 1.2);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(11.5 + i * 4.3, 18), 1.2, 1.2);
        p.drawLine(QPointF(16, 22), QPointF(16, 30));
        break;
    case ToolIcon::ChannelEdit:
        p.setBrush(Paper);
        p.drawRect(QRectF(3, 5, 26, 22));
        for (int y = 11; y < 27; y += 5)
            p.drawLine(QPointF(3, y), QPointF(29, y));
        p.drawLine(QPointF(10, 5), QPointF(10, 27));
        p.setBrush(QColor(166, 202, 240));
        p.drawRect(QRectF(10, 5, 19, 6));
        break;
    case ToolIcon::Options:
        for (int i = 0; i < 3; ++i) {
            const qreal y = 8 + i * 8;
            p.drawLine(QPointF(4, y), QPointF(28, y));
            p.setBrush(Accent);
            p.drawRect(QRectF(8 + i * 7, y - 3, 5, 6));
        }
        break;
    case ToolIcon::RadioInfo:
        p.setBrush(Accent);
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(QPointF(16, 14), QPointF(16, 23));
        p.drawPoint(QPointF(16, 9.5));
        break;
    case ToolIcon::Alignment:
        p.setPen(QPen(Ink, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 25), QPointF(20, 13));
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(18, 5, 9, 9));
        break;
    }
}
} // namespace

QIcon toolIcon(ToolIcon which) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pm(Size * scale, Size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p, which);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}
