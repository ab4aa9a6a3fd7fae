// SPDX-License-Identifier: GPL-3.0-or-later
// Problems benchmark (not a test): the program's windows on Qt's offscreen platform with both
// channel tables full and the Problems panel shown; prints the time from a cell edit until the
// panel has listed the document again (screen update included), the time of the look alone, and
// how often a burst of edits is looked at. Run by scripts/bench-problems.sh.
#include "app/mainwindow.h"
#include "app/problemspanel.h"
#include "core/codeplug/problems.h"
#include "core/codeplug/session.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// Every row of both tables in use, 401 to 502 MHz: the rows above 470 MHz lie outside the band.
void fillTables(Session& s) {
    for (Side side : {Side::A, Side::B}) {
        ChannelTable& t = s.doc.table(side);
        for (int row = 1; row <= ChannelTable::LastRow; ++row) {
            t.setCell(Col::RxFreq, row, QStringLiteral("%1.5").arg(400 + row));
            t.sendallcell(Col::RxFreq, row, s.doc.words, QChar('.'));
            t.setCell(Col::RxTone, row, ctcssTones().at(row % ctcssTones().size()));
            t.setCell(Col::Name, row, QStringLiteral("N%1").arg(row));
        }
    }
}

struct Timing {
    double median, slowest;
};
Timing summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Session s;
    QTemporaryDir dir;
    s.files = ProgramFiles::besideExecutable(dir.path());
    TMainForm window(s);
    window.showMaximized();
    ProblemsPanel* panel = window.problemsPanel();
    panel->show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents();
    fillTables(s);
    while (panel->refreshPending())
        QCoreApplication::processEvents();
    const auto count = countProblems(panel->problems());
    std::printf("both tables full: %d rows, %d errors, %d warnings listed\n", 2 * ChannelTable::LastRow,
                count.errors, count.warnings);

    const int runs = 200;
    std::vector<double> edit, look, refresh;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        s.doc.tableA.setCell(Col::Name, 4 + i % 99, QStringLiteral("E%1").arg(i));
        while (panel->refreshPending())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents(); // the list painted
        edit.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        (void)documentProblems(s);
        look.push_back(t.nsecsElapsed() / 1e6);
        // A change of a finding: every row of the list written again.
        s.doc.tableB.setCell(Col::RxFreq, 4 + i % 60, QStringLiteral("480.00000"));
        t.restart();
        panel->refreshNow();
        refresh.push_back(t.nsecsElapsed() / 1e6);
        s.doc.tableB.setCell(Col::RxFreq, 4 + i % 60, QStringLiteral("%1.50000").arg(404 + i % 60));
        panel->refreshNow();
    }
    const Timing e = summary(edit);
    const Timing l = summary(look);
    std::printf("cell edit until the panel is up to date: %6.2f ms (slowest %6.2f)\n", e.median, e.slowest);
    std::printf("looking at the document alone:           %6.2f ms (slowest %6.2f)\n", l.median, l.slowest);
    const Timing r = summary(refresh);
    std::printf("refresh with a new finding (look + list): %6.2f ms (slowest %6.2f)\n", r.median, r.slowest);

    int refreshes = 0;
    QObject::connect(panel, &ProblemsPanel::refreshed, [&refreshes] { ++refreshes; });
    for (int row = 4; row <= ChannelTable::LastRow; ++row)
        s.doc.tableB.setCell(Col::Name, row, QStringLiteral("B%1").arg(row));
    while (panel->refreshPending())
        QCoreApplication::processEvents();
    std::printf("a burst of %d cell edits was looked at %d time(s)\n", ChannelTable::ChannelCount, refreshes);
    return 0;
}
