// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The browser build's start-up beside the page (packaging/web/index.html): the fonts the page
// served (the browser's Qt brings none with Chinese characters). Call once, after the
// application object exists and before any window is shown. Built for the browser only.
void preparePage();
