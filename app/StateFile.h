// The amp's saved state between runs: the program chunk in a small file with a header
// and a checksum, so a damaged file is recognised instead of half applied. Main thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// $XDG_CONFIG_HOME/voltrex/state, else ~/.config/voltrex/state; "" without either.
std::string DefaultStatePath();

enum class StateRead {
  kRead,     // chunk holds the saved state
  kMissing,  // no file: a first run
  kDamaged,  // unreadable or corrupt: reason says why
};
StateRead ReadStateFile(const std::string& path, std::vector<uint8_t>& chunk, std::string& reason);

// The file's bytes for a chunk, and the reverse (false for anything but such bytes).
std::vector<uint8_t> EncodeState(const std::vector<uint8_t>& chunk);
bool DecodeState(const uint8_t* bytes, size_t size, std::vector<uint8_t>& chunk);

// Moves a damaged file aside to the first free "<path>.damaged", "<path>.damaged-2", ...;
// the new name in aside. False when it cannot be moved.
bool SetStateAside(const std::string& path, std::string& aside);

// Writes beside the file and renames over it, creating the folder, so the old state stays
// whole until the new one is.
bool WriteStateFile(const std::string& path, const std::vector<uint8_t>& chunk, std::string& error);
