// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/webpage.h"
#include <QDir>
#include <QFontDatabase>
#include <emscripten.h>

namespace {
std::function<void()>& settingsWriter() {
    static std::function<void()> write;
    return write;
}
} // namespace

// Called by the page's script.
extern "C" EMSCRIPTEN_KEEPALIVE void kt520_keep_settings() {
    if (settingsWriter()) settingsWriter()();
}

void keepSettingsForPage(std::function<void()> write) {
    settingsWriter() = std::move(write);
}

void preparePage() {
    // The page puts them here before the program starts; a font that is missing or damaged
    // leaves the built-in Latin fonts, and Chinese texts show as boxes.
    const QDir fonts(QStringLiteral("/kt520/fonts"));
    for (const QString& name :
         fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.ttc")}, QDir::Files))
        if (QFontDatabase::addApplicationFont(fonts.filePath(name)) < 0)
            qWarning("kt520: the font %s could not be loaded", qUtf8Printable(name));
}
