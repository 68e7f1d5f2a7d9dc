// voltrex render IN OUT: re-amps a recorded track offline, as a DAW's bounce does, block
// by block on the main thread.
#pragma once

#include "app/CommandLine.h"

// The process exit status: 0, or 1 with a message on stderr and no OUT left behind.
int RunRender(const Options& options);
