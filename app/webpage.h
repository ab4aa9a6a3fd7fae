// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

// The browser build's start-up beside the page (packaging/web/index.html): the fonts the page
// served (the browser's Qt brings none with Chinese characters). Call once, after the
// application object exists and before any window is shown. Built for the browser only.
void preparePage();
// The page asks the program to write its settings every few seconds and as it is left, then
// keeps the file in the browser's storage (packaging/web/index.html).
void keepSettingsForPage(std::function<void()> write);
