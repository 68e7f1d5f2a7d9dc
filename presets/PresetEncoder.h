// Writing preset files: the factory-content generator and the tests make them this way.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using PresetStrings = std::array<std::string, 5>;  // S0 to S3 free text, S4 impulse path

// The bytes of a file of the given version (1 to 4) with these strings and values. The
// values are written as given, so a test can write fewer than the version holds.
std::vector<std::uint8_t> EncodePreset(int version, const PresetStrings& strings,
                                       const std::vector<float>& values);
