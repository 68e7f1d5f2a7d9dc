#include "engine/AntiDenormal.h"

#include <bit>
#include <mutex>

namespace {

constexpr std::uint32_t kMultiplier = 1234567u;
constexpr std::uint32_t kIncrement = 890123u;
// Keeps bits 16 to 22 as the mantissa's top bits under the exponent of 2^-67.
constexpr std::uint32_t kMantissaMask = 0x7F0000u;
constexpr std::uint32_t kExponentBits = 0x1E000000u;

std::mutex generatorMutex;
std::uint32_t generatorState = 1;  // the sequence starts when the library loads

}  // namespace

void FillAntiDenormalTableFrom(std::uint32_t& state, double* table) {
  float sum = 0.0f;
  for (int i = 0; i < kAntiDenormalTableSize; ++i) {
    state = state * kMultiplier + kIncrement;
    sum += std::bit_cast<float>((state & kMantissaMask) | kExponentBits);
    table[i] = sum;
  }
}

void FillAntiDenormalTable(double* table) {
  const std::lock_guard<std::mutex> hold(generatorMutex);
  FillAntiDenormalTableFrom(generatorState, table);
}

std::uint32_t AntiDenormalGeneratorState() {
  const std::lock_guard<std::mutex> hold(generatorMutex);
  return generatorState;
}
