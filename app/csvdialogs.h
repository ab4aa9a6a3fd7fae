// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <functional>
class QWidget;
class Session;

// Each returns the outcome for the status line; empty when the user cancelled or was warned.

// "Import CSV...": asks for the table and options, then for the file, imports it and shows the
// report with the line numbers.
QString importCsvDialog(QWidget* parent, Session& session, std::function<void()> commitPendingEdit);
// The same without the questions, for a file dropped on a channel table.
QString importCsvFile(QWidget* parent, Session& session, const QString& path, Side side);
// "Export CSV...": asks for the table and the file name, then writes the file.
QString exportCsvDialog(QWidget* parent, Session& session, std::function<void()> commitPendingEdit);
