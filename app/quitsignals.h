// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SIGTERM, SIGINT and SIGHUP end the program through an orderly quit of the event loop (so
// that everything connected to QCoreApplication::aboutToQuit runs), never in the middle of a
// handler. Call once, after the application object exists.
void quitOnTerminationSignals();

// True once a termination signal has arrived. The quit ends every event loop that runs, a modal
// dialog's too; one that came while a dialog of the start-up was open ended that dialog before
// the program's main loop began, and would be forgotten by it: main() looks here first.
bool terminationRequested();
