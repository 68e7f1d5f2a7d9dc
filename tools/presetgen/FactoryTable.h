// The factory content as one readable text table (data/presets.txt): banks of presets and
// the impulse responses some of them use. Blank lines and lines starting with '#' are
// comments; "[Bank]" starts a bank; "[Impulses]" starts the impulse list. Columns are
// separated by '|':
//   preset:  name | model | level drive low mid high | color presence | cabinet |
//            bass treble volume | gate | impulse
//            gate is "off" or "threshold release"; impulse is empty or
//            "file dry wet" with file a name in Impulses/ (without ".wav").
//   impulse: name | cabinet voicing | room decay ms | room level
// Models and cabinets are named as the editor shows them.
#pragma once

#include <string>
#include <vector>

struct FactoryImpulseUse {
  std::string name;  // file in Impulses/, without ".wav"; empty for none
  double dry = 0.0;
  double wet = 0.5;
};

struct FactoryPreset {
  std::string bank;
  std::string name;
  int model = 0;
  double pedal[5] = {};  // level, drive, low, mid, high
  double color = 0.5;
  double presence = 0.5;
  int cabinet = 0;
  double bass = 0.5, treble = 0.5, volume = 0.5;
  bool gateOn = false;
  double gateThreshold = 0.5, gateRelease = 0.5;
  FactoryImpulseUse impulse;
};

struct FactoryImpulse {
  std::string name;
  int voicing = 0;
  double roomDecayMs = 0.0;
  double roomLevel = 0.0;
};

struct FactoryTable {
  std::vector<FactoryPreset> presets;
  std::vector<FactoryImpulse> impulses;
};

// Parses the table; false with a message naming the line on the first error.
bool ParseFactoryTable(const std::string& text, FactoryTable& out, std::string& error);
