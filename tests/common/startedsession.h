// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/appsettings.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/session.h"
#include "core/codeplug/startup.h"
#include <memory>

// A session as the program has it after start-up, in the given language, with a dealer's three
// bands: row 1 of each table belongs to 136-174, row 2 to 220-260, row 3 to 400-470 MHz.
inline std::unique_ptr<Session> startedSession(int language = 1) {
    auto s = std::make_unique<Session>();
    AppSettings settings;
    settings.band1 = {QStringLiteral("136-174MHz"), QStringLiteral("220-260MHz"),
                      QStringLiteral("400-470MHz")};
    settings.band1Index = 2;
    settings.band2 = {QStringLiteral("136-174MHz"), QStringLiteral("400-470MHz")};
    settings.band2Index = 0;
    startUp(*s, settings);
    s->lang.index = language;
    applyLanguage(*s, Language::baseName(language));
    return s;
}
