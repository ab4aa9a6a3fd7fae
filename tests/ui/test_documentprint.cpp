// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/docfixture.h"
#include "ui/print/documentprint.h"
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The PDF a document prints to: a file whose page objects match the pages laid out, more of
// them when the channel tables are full, on both paper sizes.
class TestDocumentPrint : public QObject {
    Q_OBJECT
private slots:
    void pdfPages_data();
    void pdfPages();
};

namespace {
int pdfPageCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return int(
        QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

void fillTables(Session& s) {
    for (ChannelTable* t : {&s.doc.tableA, &s.doc.tableB})
        for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row) {
            t->setCell(Col::RxFreq, row, QStringLiteral("438.50000"));
            t->newChannelDefaults(row, s.doc.words);
        }
}
} // namespace

void TestDocumentPrint::pdfPages_data() {
    QTest::addColumn<Paper>("paper");
    QTest::addColumn<int>("language");
    QTest::newRow("A4 Chinese") << Paper::A4 << 1;
    QTest::newRow("Letter English") << Paper::Letter << 2;
}

void TestDocumentPrint::pdfPages() {
    QFETCH(Paper, paper);
    QFETCH(int, language);
    QTemporaryDir dir;
    auto s = freshDocument(language);
    const PdfResult empty =
        writeDocumentPdf(*s, {QStringLiteral("a.qv19")}, dir.filePath("empty.pdf"), paper);
    QVERIFY2(empty.error.isEmpty(), qPrintable(empty.error));
    // Channel lists, the functions page and the lists page each start a page.
    QVERIFY(empty.pages >= 3);
    QCOMPARE(pdfPageCount(dir.filePath("empty.pdf")), empty.pages);

    fillTables(*s);
    QElapsedTimer timer;
    timer.start();
    const PdfResult full = writeDocumentPdf(*s, {QStringLiteral("a.qv19")}, dir.filePath("full.pdf"), paper);
    qInfo("full document printed in %lld ms", qlonglong(timer.elapsed()));
    QVERIFY(full.pages > empty.pages + 2); // 198 channel rows do not fit on one page
    QCOMPARE(pdfPageCount(dir.filePath("full.pdf")), full.pages);
}

QTEST_MAIN(TestDocumentPrint)
#include "test_documentprint.moc"
