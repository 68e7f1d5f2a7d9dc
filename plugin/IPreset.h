// A program: a name and the state it holds, in the state-chunk format.
#pragma once

#include "plugin/ByteChunk.h"

struct IPreset {
  static constexpr int kNameBytes = 256;

  bool initialized = false;
  char name[kNameBytes] = {};
  ByteChunk chunk;
};
