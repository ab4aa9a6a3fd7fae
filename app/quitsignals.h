#pragma once

// SIGTERM, SIGINT and SIGHUP end the program through an orderly quit of the event loop (so
// that everything connected to QCoreApplication::aboutToQuit runs), never in the middle of a
// handler. Call once, after the application object exists.
void quitOnTerminationSignals();
