// --set NAME=VALUE: a player-facing parameter by its name or symbol, and a value in the
// parameter's own terms (a knob's 0 to 1, a model's number or name, on/off for switches,
// a tuning's name), turned into the normalised value a host automates. Main thread; the
// first call builds the parameter declarations once.
#pragma once

#include <string>
#include <string_view>

struct ParamSetting {
  int index = 0;
  float normalized = 0.0f;
};

// False with a message naming what is wrong (and what would be accepted) in error.
bool ParseParamSetting(std::string_view text, ParamSetting& setting, std::string& error);
