// The plug-in's audio channels. Each keeps a scratch buffer of doubles: the 32-bit audio
// paths convert through it, and an unconnected channel reads (zeros) or writes it in place
// of a host buffer.
#pragma once

#include <vector>

struct InChannel {
  bool connected = true;
  const double* source = nullptr;  // where ProcessBlock reads this channel
  std::vector<double> scratch;
};

struct OutChannel {
  bool connected = true;
  double* destination = nullptr;  // where ProcessBlock writes this channel
  std::vector<double> scratch;
};
