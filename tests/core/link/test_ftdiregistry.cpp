// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

// Includes windows.h, which comes after Qt's headers.
#include "core/link/ftdiregistry_win.h"

namespace {
// A bus key of the test's own, laid out as the FTDI driver lays out Enum\FTDIBUS.
const wchar_t* const Bus = L"Software\\kt520-test\\FTDIBUS";

bool writeDevice(const std::wstring& device, const wchar_t* port, const DWORD* timer) {
    const std::wstring path = std::wstring(Bus) + L"\\" + device + L"\\0000\\Device Parameters";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExW(key, L"PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                             DWORD((wcslen(port) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    if (timer)
        ok = ok && RegSetValueExW(key, L"LatencyTimer", 0, REG_DWORD, reinterpret_cast<const BYTE*>(timer),
                                  sizeof *timer) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}
} // namespace

class TestFtdiRegistry : public QObject {
    Q_OBJECT
private slots:
    void init() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\kt520-test"); }
    void cleanup() { init(); }
    void timerOfPort_data();
    void timerOfPort();
};

void TestFtdiRegistry::timerOfPort_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("timerMs"); // -1: none found
    QTest::newRow("first adapter") << "COM7" << 16;
    QTest::newRow("second adapter, another letter case") << "com12" << 2;
    QTest::newRow("adapter without a timer") << "COM8" << -1;
    QTest::newRow("no such port") << "COM9" << -1;
}

void TestFtdiRegistry::timerOfPort() {
    QFETCH(QString, port);
    QFETCH(int, timerMs);
    const DWORD sixteen = 16, two = 2;
    QVERIFY(writeDevice(L"VID_0403+PID_6001+A50285BIA", L"COM7", &sixteen));
    QVERIFY(writeDevice(L"VID_0403+PID_6015+DK0AHAJZA", L"COM12", &two));
    QVERIFY(writeDevice(L"VID_0403+PID_6001+FT0001A", L"COM8", nullptr));
    const std::optional<int> found = ftdiLatencyTimer(HKEY_CURRENT_USER, Bus, port.toStdWString());
    QCOMPARE(found, timerMs < 0 ? std::nullopt : std::optional<int>(timerMs));
}

QTEST_GUILESS_MAIN(TestFtdiRegistry)
#include "test_ftdiregistry.moc"
