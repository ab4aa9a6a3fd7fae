// SPDX-License-Identifier: GPL-3.0-or-later
// Undo benchmark (not a test): the program's windows on Qt's offscreen platform with both channel
// tables full; prints the time of undo and redo of a cell edit and of whole-document steps
// (Open, New), screen updates included, and the memory that 1,000 cell-edit steps take.
// Run by scripts/bench-history.sh.
#include "app/mainwindow.h"
#include "core/codeplug/document.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
long rssKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Every row of both tables in use, names and tones different from row to row.
void fillTables(Session& s, int seed) {
    for (Side side : {Side::A, Side::B}) {
        ChannelTable& t = s.doc.table(side);
        for (int row = 1; row <= ChannelTable::LastRow; ++row) {
            t.setCell(Col::RxFreq, row, QStringLiteral("%1.%2").arg(400 + row).arg(seed % 10));
            t.sendallcell(Col::RxFreq, row, s.doc.words, QChar('.'));
            t.setCell(Col::RxTone, row, ctcssTones().at((row + seed) % ctcssTones().size()));
            t.setCell(Col::Name, row, QStringLiteral("N%1_%2").arg(row).arg(seed));
        }
    }
}

// Undo and redo of the last step `runs` times, the screen brought up to date each time: the
// median and the slowest, in ms (a machine busy with other work shows in the slowest).
struct Timing {
    double undoMedian, undoMax, redoMedian, redoMax;
};
Timing timeUndoRedo(Session& s, int runs) {
    std::vector<double> undo, redo;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        s.history.undo();
        QCoreApplication::processEvents();
        undo.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        s.history.redo();
        QCoreApplication::processEvents();
        redo.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(undo.begin(), undo.end());
    std::sort(redo.begin(), redo.end());
    return {undo[undo.size() / 2], undo.back(), redo[redo.size() / 2], redo.back()};
}

void print(const char* what, const Timing& t) {
    std::printf("%-36s undo %6.2f ms (slowest %6.2f), redo %6.2f ms (slowest %6.2f)\n", what, t.undoMedian,
                t.undoMax, t.redoMedian, t.redoMax);
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
    // Start-up and the first layout and painting are over before anything is measured.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents();

    fillTables(s, 2);
    const QByteArray bytes = saveDocument(s); // a full document of other contents
    fillTables(s, 1);
    s.history.flush();
    QCoreApplication::processEvents();
    const long idle = rssKiB();

    s.doc.tableA.setCell(Col::Name, 50, QStringLiteral("EDITED"));
    s.history.flush();
    const auto cell = timeUndoRedo(s, 20);

    // Open: a full document of other contents replaces the full one.
    {
        HistoryScope step(s.history, QStringLiteral("open"));
        if (!openDocument(s, bytes).accepted()) std::printf("the document was refused\n");
    }
    const bool opened = saveDocument(s) == bytes;
    QCoreApplication::processEvents();
    const auto open = timeUndoRedo(s, 20);
    {
        HistoryScope step(s.history, QStringLiteral("new"));
        newDocument(s);
    }
    QCoreApplication::processEvents();
    const auto fresh = timeUndoRedo(s, 20);
    s.history.undo();
    QCoreApplication::processEvents();

    const long before = rssKiB();
    for (int i = 0; i < 1000; ++i) {
        s.doc.tableB.setCell(Col::Name, 4 + i % 99, QStringLiteral("E%1").arg(i));
        s.history.flush();
    }
    QCoreApplication::processEvents();
    const long after = rssKiB();

    std::printf("steps recorded: %d; the Open step %s\n", s.history.stepCount(),
                opened ? "replaced the whole document" : "failed");
    print("cell edit (median of 20):", cell);
    print("Open, both tables full (median of 20):", open);
    print("New, both tables full (median of 20):", fresh);
    std::printf("memory: idle %ld KiB, 1,000 cell-edit steps %+ld KiB (since the idle figure %+ld KiB)\n",
                idle, after - before, after - idle);
    return 0;
}
