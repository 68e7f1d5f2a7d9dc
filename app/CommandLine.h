// The voltrex command line: which command, and its options. Main thread.
#pragma once

#include <string>
#include <vector>

enum class Command { kPlay, kRender, kPresets, kExportPreset, kHelp, kVersion };

struct StartSettings {
  std::string preset;  // "BANK/NAME"
  int program = -1;    // MIDI program 0 to 127 in the current bank, -1 for none
  std::string impulse;
  std::vector<std::string> settings;  // NAME=VALUE texts, in order
};

struct Options {
  Command command = Command::kPlay;
  StartSettings start;
  std::string statePath;  // --state; "" for the default (render: none)
  // render IN OUT, export-preset FILE (in output)
  std::string input;
  std::string output;
  int blockSize = 512;
  // playing
  bool headless = false;
  bool connect = true;
  std::vector<std::string> inPorts, outPorts, midiPorts;
};

constexpr int kMaxBlockSize = 8192;

// False with a message in error for anything not understood.
bool ParseCommandLine(const std::vector<std::string>& args, Options& options, std::string& error);

// The --help text.
std::string UsageText();
