// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
class QWidget;
class Session;

// Help > Help: a short user guide (reading, writing, editing, the port on Linux, files) in a
// window of its own. A file "kt520-guide.html" beside the program takes the place of the
// built-in guide; the built-in one is English, or Chinese while a Chinese language is chosen.
void showUserGuide(QWidget* parent, const Session& session);
