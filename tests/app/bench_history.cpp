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

// The slowest of `runs` undo/redo pairs of the last step, in ms, the screen brought up to date.
std::pair<double, double> timeUndoRedo(Session& s, int runs) {
    double undo = 0, redo = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        s.history.undo();
        if (qEnvironmentVariableIsSet("BENCH_SPLIT"))
            std::printf("  undo alone %.2f ms\n", t.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
        undo = std::max(undo, t.nsecsElapsed() / 1e6);
        t.restart();
        s.history.redo();
        QCoreApplication::processEvents();
        redo = std::max(redo, t.nsecsElapsed() / 1e6);
    }
    return {undo, redo};
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
    QCoreApplication::processEvents();
    const auto open = timeUndoRedo(s, 10);
    {
        HistoryScope step(s.history, QStringLiteral("new"));
        newDocument(s);
    }
    QCoreApplication::processEvents();
    const auto fresh = timeUndoRedo(s, 10);
    s.history.undo();
    QCoreApplication::processEvents();

    const long before = rssKiB();
    for (int i = 0; i < 1000; ++i) {
        s.doc.tableB.setCell(Col::Name, 4 + i % 99, QStringLiteral("E%1").arg(i));
        s.history.flush();
    }
    QCoreApplication::processEvents();
    const long after = rssKiB();

    std::printf("steps recorded: %d (the Open step changes %s)\n", s.history.stepCount(),
                saveDocument(s) == bytes ? "nothing" : "the whole document");
    std::printf("undo/redo of a cell edit:          %.2f / %.2f ms (slowest of 20)\n", cell.first,
                cell.second);
    std::printf("undo/redo of Open, both tables full: %.2f / %.2f ms (slowest of 10)\n", open.first,
                open.second);
    std::printf("undo/redo of New, both tables full:  %.2f / %.2f ms (slowest of 10)\n", fresh.first,
                fresh.second);
    std::printf("memory: idle %ld KiB, 1,000 cell-edit steps %+ld KiB (since the idle figure %+ld KiB)\n",
                idle, after - before, after - idle);
    return 0;
}
