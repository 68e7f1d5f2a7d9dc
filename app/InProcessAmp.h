// The amp hosted inside this program through the entry point a DAW calls, so the program
// needs no plug-in binary to find; and the two things the program reads or changes in the
// amp's program chunk (what a DAW stores in its session). Main thread; creating the amp
// is its set-up and allocates.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/PluginHost.h"

// A new amp instance, not yet opened; null with a reason on failure.
std::unique_ptr<vsthost::PluginHost> CreateAmp(std::string& error);

// The impulse-response path a program chunk holds ("" when none or not a chunk of ours).
std::string ChunkImpulsePath(const std::vector<uint8_t>& chunk);
// The chunk with its impulse-response path replaced; empty when it is not a chunk of ours.
std::vector<uint8_t> ChunkWithImpulsePath(const std::vector<uint8_t>& chunk, const std::string& path);
