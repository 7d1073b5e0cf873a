// SIGINT, SIGTERM and SIGHUP (Ctrl-C, kill, a closed terminal) turned into a
// call on the UI thread, so that a program can stop its work and clean up as
// for a user's Stop instead of dying with a transcoder running on.
#pragma once

#include <functional>

// Installs the handlers once; onSignal gets the signal's number, each time one
// arrives. Needs a QCoreApplication.
void WatchTerminationSignals(std::function<void(int signal)> onSignal);
