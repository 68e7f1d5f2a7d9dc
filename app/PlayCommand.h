// voltrex (no command): the amp played live on JACK, with its editor in a window of its
// own or headless, its state restored at start and saved at quit.
#pragma once

#include "app/CommandLine.h"

// The process exit status: 0 after a clean quit (window closed, Ctrl+C, SIGTERM, SIGHUP,
// the server going away), 1 with a message when it cannot start.
int RunPlay(const Options& options);
