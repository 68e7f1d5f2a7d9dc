// `vsthost stress PLUGIN [--seconds N]`: several instances of a plug-in driven at once as
// busy hosts and players drive them. Each instance has an audio thread processing small,
// changing blocks (1 to 2048 frames, now and then more than announced) and a control
// thread that automates random parameters (out-of-range and NaN values included), queues
// controllers and program changes for the audio thread, saves and restores program and
// bank chunks, steps presets, models, cabinets and impulse responses, and suspends the
// instance to change its rate and block size. One more thread opens and closes the
// editors where a window can be made. A watchdog fails the run when any call into the
// plug-in takes longer than the hang limit. The output must stay finite and bounded.
#pragma once

#include <string>

namespace vsthost {

struct StressOptions {
  std::string plugin;
  double seconds = 10.0;
  int instances = 3;
};

// Prints a summary (the longest audio call among it); returns 0 when no fault was seen.
int RunStress(const StressOptions& options);

// The command: parses its arguments (those after "stress"), runs, returns the exit status.
int StressCommand(int argc, char** argv);

// Parses `PLUGIN [--seconds N]` (the arguments after the command); false on bad input.
bool ParseStressArguments(int argc, char** argv, StressOptions* options);

}  // namespace vsthost
