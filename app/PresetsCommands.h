// voltrex presets (the installed banks with their MIDI program numbers) and voltrex
// export-preset (the saved sound as a preset file the editor's browser lists). Main thread.
#pragma once

#include "app/CommandLine.h"

// Process exit statuses: 0, or 1 with a message on stderr.
int RunListPresets();
int RunExportPreset(const Options& options);
