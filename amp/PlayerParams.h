// The parameters a player plays and automates, with the names a player looks for. Formats
// that name their controls (LV2 ports, the standalone's --set) read this one table; the
// rest of the 162 parameters are the editor's own state and stay unnamed.
#pragma once

#include <span>
#include <string_view>

#include "amp/ParamIds.h"

struct PlayerParam {
  ParamId id;
  const char* symbol;  // a C identifier, unique: LV2 port symbols
  const char* name;    // generic, not a model's own knob label
};

std::span<const PlayerParam> PlayerParams();

// The row whose symbol or name equals text (case-insensitive, '_', '-' and ' ' alike),
// or null.
const PlayerParam* FindPlayerParam(std::string_view text);
