// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
class TMainForm;

// The file named on the command line (a file manager's "open with" runs `kt520 FILE`): the first
// argument that is not an option, or the one after "--"; empty when there is none.
QString startFileArgument(const QStringList& arguments);

// Opens the start file once the main window has run its start-up: a document as File > Open
// does (by its content, whatever its name), or, with `service`, an .m17 alignment file in the
// factory alignment window. A file that cannot be read is reported in the user's language and
// the new document stays.
void openStartFile(TMainForm& window, const QString& path, bool service);
