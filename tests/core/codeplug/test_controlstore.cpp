// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/controlstore.h"
#include "tests/common/runprocess.h"
#include <QtTest>

namespace {
constexpr char CallFlag[] = "--call-unknown-name";
const QString Unknown = QStringLiteral("ComboBox99");

// The child's part: one store call on a name no control has; exit 0 when the store lets it pass.
int callUnknownName(const QByteArray& call) {
    ControlStore store;
    if (call == "index")
        store.index(Unknown);
    else if (call == "setChecked")
        store.setChecked(Unknown, true);
    else if (call == "setCell")
        store.setCell(Unknown, 0, 0, QStringLiteral("x"));
    else if (call == "has")
        store.has(Unknown);
    return 0;
}
} // namespace

// A misspelt control name must not compile into a call that quietly does nothing. Each case
// runs this program again as a child making one such call, since a strict store ends it.
class TestControlStore : public QObject {
    Q_OBJECT
private slots:
    void unknownName_data();
    void unknownName();
};

void TestControlStore::unknownName_data() {
    QTest::addColumn<QByteArray>("call");
    QTest::addColumn<bool>("strictVariable");
    QTest::addColumn<bool>("stops");
#ifdef QT_NO_DEBUG
    const bool debugBuild = false;
#else
    const bool debugBuild = true;
#endif
    QTest::newRow("read") << QByteArray("index") << true << true;
    QTest::newRow("setter") << QByteArray("setChecked") << true << true;
    QTest::newRow("grid setter") << QByteArray("setCell") << true << true;
    QTest::newRow("has() asks quietly") << QByteArray("has") << true << false;
    QTest::newRow("user's build without the variable") << QByteArray("setChecked") << false << debugBuild;
}

void TestControlStore::unknownName() {
    QFETCH(QByteArray, call);
    QFETCH(bool, strictVariable);
    QFETCH(bool, stops);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("KT520_STRICT_NAMES"));
    if (strictVariable) env.insert(QStringLiteral("KT520_STRICT_NAMES"), QStringLiteral("1"));
    // Windows sends a program's messages to the debugger unless told otherwise.
    env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    startProgram(child, QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(CallFlag), QString::fromLatin1(call)});
    QVERIFY(child.waitForFinished(30000));
    const QByteArray err = child.readAllStandardError();
    // Stopped: killed by the abort signal on Linux, exit code 3 from abort() on Windows.
    QCOMPARE(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0, stops);
    QCOMPARE(err.contains(Unknown.toLatin1()), stops);
}

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], CallFlag) == 0) return callUnknownName(argv[2]);
    QCoreApplication app(argc, argv);
    TestControlStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_controlstore.moc"
