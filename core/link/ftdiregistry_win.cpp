// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/ftdiregistry_win.h"
#include <cwctype>
#include <string_view>
#include <vector>

namespace {
// The names of the subkeys of `key`.
std::vector<std::wstring> subkeys(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = DWORD(std::size(name));
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

// COM port names compare without regard to case; views, so that no copy is made of the
// registry's buffer.
bool samePort(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

// PortName and LatencyTimer of one Device Parameters key.
std::optional<int> timerOfPort(HKEY parameters, const std::wstring& port) {
    wchar_t name[64] = {};
    DWORD type = 0;
    DWORD size = DWORD(sizeof name - sizeof(wchar_t));
    if (RegQueryValueExW(parameters, L"PortName", nullptr, &type, reinterpret_cast<LPBYTE>(name), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || !samePort(name, port))
        return std::nullopt;
    DWORD timer = 0;
    size = sizeof timer;
    if (RegQueryValueExW(parameters, L"LatencyTimer", nullptr, &type, reinterpret_cast<LPBYTE>(&timer),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return int(timer);
}
} // namespace

std::optional<int> ftdiLatencyTimer(HKEY root, const wchar_t* bus, const std::wstring& port) {
    HKEY busKey = nullptr;
    if (RegOpenKeyExW(root, bus, 0, KEY_READ, &busKey) != ERROR_SUCCESS) return std::nullopt;
    std::optional<int> found;
    for (const std::wstring& device : subkeys(busKey)) {
        HKEY deviceKey = nullptr;
        if (RegOpenKeyExW(busKey, device.c_str(), 0, KEY_READ, &deviceKey) != ERROR_SUCCESS) continue;
        for (const std::wstring& instance : subkeys(deviceKey)) {
            HKEY parameters = nullptr;
            const std::wstring path = instance + L"\\Device Parameters";
            if (RegOpenKeyExW(deviceKey, path.c_str(), 0, KEY_READ, &parameters) != ERROR_SUCCESS) continue;
            found = timerOfPort(parameters, port);
            RegCloseKey(parameters);
            if (found) break;
        }
        RegCloseKey(deviceKey);
        if (found) break;
    }
    RegCloseKey(busKey);
    return found;
}
