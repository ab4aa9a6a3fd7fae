// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/childlayout.h"
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int TitleStep = 32; // table A shows table B's title bar above it
constexpr int Gap = 8;
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

QRect fitInto(QRect frame, QSize area) {
    frame.setSize(frame.size().boundedTo(area));
    frame.moveLeft(std::clamp(frame.left(), 0, area.width() - frame.width()));
    frame.moveTop(std::clamp(frame.top(), 0, area.height() - frame.height()));
    return frame;
}

namespace {
class ArrangementKeeper : public QObject {
public:
    ArrangementKeeper(QWidget* area, const QList<QWidget*>& frames, std::function<void()> arrange)
        : QObject(area), m_area(area), m_arrange(std::move(arrange)) {
        for (QWidget* f : frames)
            m_frames << f;
        area->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { arrangeNow(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_area && event->type() == QEvent::Resize && m_arranged && untouched())
            QTimer::singleShot(0, this, [this] {
                if (untouched()) arrangeNow();
            });
        return false;
    }

private:
    bool untouched() const {
        for (qsizetype i = 0; i < m_frames.size(); ++i)
            if (!m_frames[i] || m_frames[i]->geometry() != m_placed.value(i)) return false;
        return true;
    }
    void arrangeNow() {
        m_arrange();
        m_placed.clear();
        for (const QPointer<QWidget>& f : m_frames)
            m_placed << (f ? f->geometry() : QRect());
        m_arranged = true;
    }

    QWidget* m_area;
    QList<QPointer<QWidget>> m_frames;
    std::function<void()> m_arrange;
    QList<QRect> m_placed;
    bool m_arranged = false;
};
} // namespace

void keepArranged(QWidget* area, const QList<QWidget*>& frames, std::function<void()> arrange) {
    new ArrangementKeeper(area, frames, std::move(arrange));
}

QSize WorkArea::minimumSizeHint() const {
    // Room for a minimised child window's title bar, as a work area without children asks.
    return QAbstractScrollArea::minimumSizeHint().expandedTo(QSize(160, 60));
}
