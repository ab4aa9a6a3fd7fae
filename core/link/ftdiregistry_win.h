// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <windows.h>

// The FTDI driver keeps each adapter's settings under its device key,
// Enum\FTDIBUS\<device>\<instance>\Device Parameters, with the COM port it was given
// (PortName) and its latency timer in ms (LatencyTimer). Reading them needs no administrator
// rights; changing them does, so the program only names the timer.
inline constexpr wchar_t FtdiBusKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS";

// The LatencyTimer of the adapter whose PortName is `port` ("COM3", any letter case), looked
// for under `root`\`bus`; none when no adapter there has that port or it keeps no timer.
std::optional<int> ftdiLatencyTimer(HKEY root, const wchar_t* bus, const std::wstring& port);
