// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/filesave.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/model.h"
#include "core/link/link.h"
#include "core/link/tracefile.h"
#include "tests/common/startedsession.h"
#include "tests/core/link/scriptport.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Runs `save` in a child process whose files cannot grow beyond `limit` bytes, which fails
// writes the way a nearly full disk does, without root and without a disk to fill. Returns what
// the child reported, or nothing when it did not end normally.
std::optional<QString> withFileSizeLimit(rlim_t limit, const std::function<QString()>& save) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return std::nullopt;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        // Past the limit the system sends SIGXFSZ, which would end the process; ignored, the
        // write fails with EFBIG instead, as it fails with ENOSPC on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fsize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fsize);
        const QByteArray report = save().toUtf8();
        const bool sent = write(pipeFds[1], report.constData(), size_t(report.size())) == report.size();
        _exit(sent ? 0 : 1);
    }
    close(pipeFds[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    close(pipeFds[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(report);
}

enum Format { Document, Settings, Trace };
} // namespace

class TestSaveFailure : public QObject {
    Q_OBJECT
private slots:
    void oldFileSurvives_data();
    void oldFileSurvives();
};

void TestSaveFailure::oldFileSurvives_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("limit");
    QTest::newRow("document, no room") << int(Document) << 1 << 0;
    QTest::newRow("document, 8 KiB free") << int(Document) << 2 << 8192;
    QTest::newRow("settings file") << int(Settings) << 3 << 40;
    QTest::newRow("trace") << int(Trace) << 2 << 600;
}

// A save that cannot complete leaves the old file as it was and says why in the user's language.
void TestSaveFailure::oldFileSurvives() {
    QFETCH(int, format);
    QFETCH(int, language);
    QFETCH(int, limit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto s = startedSession(language);
    const QString reason = s->lang.text(Str::FileTooLarge);
    QVERIFY(!reason.isEmpty());

    if (format == Document) {
        const QString path = dir.filePath(QStringLiteral("old.qv19"));
        newDocument(*s);
        const QByteArray old = saveDocument(*s);
        put(path, old);
        s->doc.tableA.setCell(Col::Name, 4, QStringLiteral("NEW"));
        const auto report =
            withFileSizeLimit(limit, [&] { return writeDocumentFile(path, *s).value_or(""); });
        QVERIFY(report);
        QVERIFY2(report->contains(reason), qPrintable(*report));
        QCOMPARE(contents(path), old);
    } else if (format == Settings) {
        const QString path = dir.filePath(QStringLiteral("sysini.ini"));
        const QByteArray old = "[open]\r\ncom=2\r\n[list0]\r\ncom0bo0=136-174MHz\r\ncom0bo1=400-470MHz\r\n";
        put(path, old);
        const auto report = withFileSizeLimit(
            limit, [&] { return saveSettings(path, ExitSettings{}, s->lang).value_or(QString()); });
        QVERIFY(report);
        QCOMPARE(*report, QStringLiteral("Unable to write to %1: %2").arg(path, reason));
        QCOMPARE(contents(path), old);
    } else {
        // A trace grows while a transfer runs: it stops at the first failed write and keeps
        // whole lines only.
        const QString path = dir.filePath(QStringLiteral("trace.txt"));
        const QByteArray old = "# an earlier transfer\n      0.000 > 0206514F5652414E11\n";
        put(path, old);
        const auto report = withFileSizeLimit(limit, [&] {
            Link link; // outlives the trace attached to it
            link.setPort(std::make_unique<ScriptPort>());
            if (!link.openPort()) return QStringLiteral("the script port did not open");
            auto opened = TraceFile::open(path);
            auto& trace = std::get<std::unique_ptr<TraceFile>>(opened);
            trace->attach(link, QStringLiteral("script"));
            for (int i = 0; i < 40; ++i)
                if (!link.SendFrame(Frame::Handshake)) return QStringLiteral("a frame was not sent");
            return trace->failure() ? failureReason(*trace->failure(), s->lang) : QString();
        });
        QVERIFY(report);
        QCOMPARE(*report, reason);
        const QByteArray now = contents(path);
        QVERIFY(now.startsWith(old));
        QVERIFY(now.size() > old.size() && now.size() <= limit);
        QVERIFY(now.endsWith("> 0206514F5652414E11\n"));
    }
}

QTEST_GUILESS_MAIN(TestSaveFailure)
#include "test_savefailure.moc"
