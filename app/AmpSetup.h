// Bringing the in-process amp to where the player starts: opened at a rate and the
// largest block it will see, the saved state restored, then the start settings applied
// (preset, program, impulse response, parameters, in that order). Main thread, before
// processing starts; everything here may allocate and read files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ParamSettings.h"
#include "tools/vsthost/PluginHost.h"

// Start settings checked against the installed presets and the file system, so that a
// mistake is reported before anything changes.
struct ResolvedStart {
  int bank = -1;  // --preset: bank and preset index in the browser's order
  int bankCount = 0;
  int preset = -1;
  int program = -1;
  std::string impulse;  // absolute path
  std::vector<ParamSetting> settings;
};
bool ResolveStartSettings(const StartSettings& start, ResolvedStart& resolved, std::string& error);

// A new amp, started at this rate with room for blocks up to maxBlock frames, told it is
// processed offline (a load it requests completes before the next block) or live.
std::unique_ptr<vsthost::PluginHost> StartAmp(double sampleRate, int maxBlock, vst2::ProcessLevel level,
                                              std::string& error);

enum class StateRestore { kRestored, kNone, kDamaged };
// Restores the state file into the amp. A damaged file is reported on stderr and moved
// aside, and the amp is replaced by a fresh one at its defaults; kDamaged then, with
// savable false when the file could not be moved (so it must not be written over).
StateRestore RestoreState(std::unique_ptr<vsthost::PluginHost>& amp, const std::string& path, double sampleRate,
                          int maxBlock, vst2::ProcessLevel level, bool& savable);

// The state file applied as it is, for commands that must not move the player's files:
// false with a message when it is missing, damaged or refused.
bool LoadStateAsIs(vsthost::PluginHost& amp, const std::string& path, std::string& error);

void ApplyStartSettings(vsthost::PluginHost& amp, const ResolvedStart& start);

// The data folder of the factory content, beside this program.
std::string ProgramDataFolder();
