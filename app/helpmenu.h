// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
class QWidget;
class Session;

// Help > Help: a short user guide (reading, writing, editing, connecting the cable, files) in a
// window of its own. A file "kt520-guide.html" beside the program takes the place of the
// built-in guide; the built-in one is English, or Chinese while a Chinese language is chosen.
void showUserGuide(QWidget* parent, const Session& session);
// The built-in guide in `language` (1-3), with the part on connecting the cable for Windows or
// for Linux.
QString builtInGuide(int language, bool windows);
