// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/appsettings.h"
#include "core/base/programfiles.h"
#include "core/base/settingsfile.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The user's configuration folder: named by this variable, else the system's default.
#ifdef Q_OS_WIN
const char* const ConfigVariable = "APPDATA";
QString defaultConfigHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}
#else
const char* const ConfigVariable = "XDG_CONFIG_HOME";
QString defaultConfigHome() {
    return QDir::home().filePath(QStringLiteral(".config"));
}
#endif
} // namespace

// Where the settings and language files are. Whether a folder can be written is given to the
// rule rather than found out, so that the cases hold for root too, who may write anywhere.
class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void location_data();
    void location();
    void xdgConfigHomeHonoured_data();
    void xdgConfigHomeHonoured();
    void firstUse_data();
    void firstUse();
    void languageFilesBesideFirst();
    void windowsSetupCopyIsPerUser_data();
    void windowsSetupCopyIsPerUser();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    void write(const QString& relative, const QByteArray& bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProgramFiles::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(path(QStringLiteral("build"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("prefix/bin"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("prefix/share/kt520"))));
}

void TestProgramFiles::write(const QString& relative, const QByteArray& bytes) {
    QFile f(path(relative));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void TestProgramFiles::location_data() {
    QTest::addColumn<QString>("appDir"); // "/…" as it is, else under the temporary folder
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("settings"); // under the temporary folder
    QTest::addColumn<QString>("shared");   // the delivered default; "" for none
    QTest::newRow("writable build folder keeps today's place") << "build" << true << "build/sysini.ini"
                                                               << "";
    QTest::newRow("read-only folder: the user's, from its own default")
        << "build" << false << "config/kt520/sysini.ini"
        << "build/sysini.ini";
    QTest::newRow("installed beside share/kt520, even when writable")
        << "prefix/bin" << true << "config/kt520/sysini.ini"
        << "prefix/share/kt520/sysini.ini";
    QTest::newRow("under /usr, even for root")
        << "/usr/kt520-test-nowhere/bin" << true << "config/kt520/sysini.ini"
        << "";
}

void TestProgramFiles::location() {
    QFETCH(QString, appDir);
    QFETCH(bool, writable);
    QFETCH(QString, settings);
    QFETCH(QString, shared);
    write(QStringLiteral("build/sysini.ini"), "[open]\ncom=2\n");
    write(QStringLiteral("prefix/share/kt520/sysini.ini"), "[open]\ncom=3\n");
    const QString dir = appDir.startsWith('/') ? appDir : path(appDir);
    const ProgramFiles files = ProgramFiles::locate(dir, writable, path(QStringLiteral("config")));
    QCOMPARE(files.settingsFile, path(settings));
    QCOMPARE(files.sharedSettings, shared.isEmpty() ? QString() : path(shared));
    QCOMPARE(files.perUser, !settings.startsWith(QStringLiteral("build")));
    // Until the user's file exists, start-up reads the delivered default.
    QCOMPARE(files.settingsToRead(), shared.isEmpty() ? files.settingsFile : files.sharedSettings);
}

void TestProgramFiles::xdgConfigHomeHonoured_data() {
    QTest::addColumn<QByteArray>("xdg");   // "<tmp>" stands for the temporary folder
    QTest::addColumn<QString>("expected"); // under "<tmp>" or the default "<home>"
    QTest::newRow("set") << QByteArray("<tmp>/cfg") << "<tmp>/cfg/kt520/sysini.ini";
    QTest::newRow("unset") << QByteArray() << "<home>/kt520/sysini.ini";
    QTest::newRow("relative is ignored") << QByteArray("cfg") << "<home>/kt520/sysini.ini";
}

void TestProgramFiles::xdgConfigHomeHonoured() {
    QFETCH(QByteArray, xdg);
    QFETCH(QString, expected);
    xdg.replace("<tmp>", m_dir->path().toLocal8Bit());
    const QByteArray saved = qgetenv(ConfigVariable);
    qunsetenv(ConfigVariable);
    expected.replace(QStringLiteral("<tmp>"), m_dir->path())
        .replace(QStringLiteral("<home>"), defaultConfigHome());
    if (!xdg.isEmpty()) qputenv(ConfigVariable, xdg);
    // A program folder that cannot be written: its settings are the user's.
    const ProgramFiles files = ProgramFiles::forProgram(m_dir->filePath(QStringLiteral("no-such-folder")));
    if (saved.isNull())
        qunsetenv(ConfigVariable);
    else
        qputenv(ConfigVariable, saved);
    QCOMPARE(QDir::cleanPath(files.settingsFile), QDir::cleanPath(expected));
}

void TestProgramFiles::firstUse_data() {
    QTest::addColumn<QByteArray>("shared");   // the delivered default; empty: none is delivered
    QTest::addColumn<QByteArray>("existing"); // the user's file before; empty: none yet
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("com");
    const QByteArray delivered = "[open]\r\ncom=3\r\n[list1]\r\nlist1count=1\r\ncom1bo0=136-174MHz\r\n";
    QTest::newRow("copied from the default") << delivered << QByteArray() << delivered << 3;
    QTest::newRow("the user's own file is kept")
        << delivered << QByteArray("[open]\ncom=9\n") << QByteArray("[open]\ncom=9\n") << 9;
    QTest::newRow("no default: an empty file") << QByteArray() << QByteArray() << QByteArray() << 1;
    const QByteArray damaged("\x00\xff[op\x01\ncom\xfe=7\n", 14);
    QTest::newRow("damaged default: built-in values") << damaged << QByteArray() << damaged << 1;
}

void TestProgramFiles::firstUse() {
    QFETCH(QByteArray, shared);
    QFETCH(QByteArray, existing);
    QFETCH(QByteArray, after);
    QFETCH(int, com);
    if (!shared.isEmpty()) write(QStringLiteral("prefix/share/kt520/sysini.ini"), shared);
    const ProgramFiles files =
        ProgramFiles::locate(path(QStringLiteral("prefix/bin")), true, path(QStringLiteral("a/b/config")));
    if (!existing.isEmpty()) {
        QVERIFY(QDir().mkpath(path(QStringLiteral("a/b/config/kt520"))));
        write(QStringLiteral("a/b/config/kt520/sysini.ini"), existing);
    }
    QCOMPARE(files.prepareSettings(), std::nullopt);
    QCOMPARE(files.settingsToRead(), files.settingsFile);
    QFile f(files.settingsFile);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes, after);
    QCOMPARE(AppSettings::read(IniFile::parse(bytes)).com, com);
}

void TestProgramFiles::languageFilesBesideFirst() {
    write(QStringLiteral("prefix/bin/ENG_DLL.dll"), "1\tbeside\n");
    write(QStringLiteral("prefix/share/kt520/eng_dll.dll"), "1\tshared\n");
    write(QStringLiteral("prefix/share/kt520/ty.dll"), "1\tshared\n");
    const ProgramFiles files =
        ProgramFiles::locate(path(QStringLiteral("prefix/bin")), false, path(QStringLiteral("config")));
    QCOMPARE(files.languageFile(QStringLiteral("eng_dll")), path(QStringLiteral("prefix/bin/ENG_DLL.dll")));
    QCOMPARE(files.languageFile(QStringLiteral("ty")), path(QStringLiteral("prefix/share/kt520/ty.dll")));
    QCOMPARE(files.languageFile(QStringLiteral("cha_dll")), QString());
    const QString where = files.describe();
    QVERIFY2(where.contains(QStringLiteral("cha_dll.dll: missing (looked in %1, %2)")
                                .arg(QDir::toNativeSeparators(path(QStringLiteral("prefix/bin"))),
                                     QDir::toNativeSeparators(path(QStringLiteral("prefix/share/kt520"))))),
             qPrintable(where));
    QVERIFY(where.contains(QStringLiteral("settings: %1").arg(QDir::toNativeSeparators(files.settingsFile))));
}

void TestProgramFiles::windowsSetupCopyIsPerUser_data() {
    QTest::addColumn<bool>("uninstaller");
    QTest::newRow("unzipped folder keeps its settings") << false;
    QTest::newRow("installed by the setup: the user's") << true;
}

// A per-user install folder can be written; the setup's uninstaller beside the program tells.
void TestProgramFiles::windowsSetupCopyIsPerUser() {
#ifndef Q_OS_WIN
    QSKIP("the setup program is Windows only");
#endif
    QFETCH(bool, uninstaller);
    write(QStringLiteral("build/sysini.ini"), "[open]\ncom=2\n");
    if (uninstaller) write(QStringLiteral("build/uninstall.exe"), "MZ");
    const QByteArray saved = qgetenv("APPDATA");
    qputenv("APPDATA", path(QStringLiteral("roaming")).toLocal8Bit());
    const ProgramFiles files = ProgramFiles::forProgram(path(QStringLiteral("build")));
    qputenv("APPDATA", saved);
    QCOMPARE(files.perUser, uninstaller);
    QCOMPARE(files.settingsFile, path(uninstaller ? QStringLiteral("roaming/kt520/sysini.ini")
                                                  : QStringLiteral("build/sysini.ini")));
    QCOMPARE(files.settingsToRead(), path(QStringLiteral("build/sysini.ini")));
}

QTEST_GUILESS_MAIN(TestProgramFiles)
#include "test_programfiles.moc"
