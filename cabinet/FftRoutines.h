// The transform routine of every supported size for one arithmetic kit, as tables indexed
// by log2(N) - 1, so that a call dispatches once by size.
#pragma once

#include <array>
#include <utility>

#include "cabinet/SplitRadix.h"

namespace fft_routines {

constexpr int kSizeCount = 15;  // 2^1 .. 2^15

using Transform = void (*)(double*);
using PaddedTransform = void (*)(const double*, double*);

template <class K, bool kInverse, int N>
constexpr Transform RoutineOf() {
  if constexpr (kInverse)
    return split_radix::Inverse<K, N>;
  else
    return split_radix::Forward<K, N>;
}

template <class K, bool kInverse, int... kLog2>
constexpr std::array<Transform, sizeof...(kLog2)> TableOf(std::integer_sequence<int, kLog2...>) {
  return {RoutineOf<K, kInverse, (2 << kLog2)>()...};
}

// Size 2 has no quarters to pad: its slot stays empty and callers start at 4.
template <class K, int N>
constexpr PaddedTransform PaddedRoutine() {
  if constexpr (N < 4)
    return nullptr;
  else
    return split_radix::ForwardPaddedReal<K, N>;
}

template <class K, bool kInverse, int N>
constexpr Transform PassRoutine() {
  if constexpr (N < 4)
    return nullptr;
  else if constexpr (kInverse)
    return split_radix::InversePass<K, N>;
  else
    return split_radix::ForwardPass<K, N>;
}

template <class K, int N>
constexpr PaddedTransform PaddedPassRoutine() {
  if constexpr (N < 4)
    return nullptr;
  else
    return split_radix::ForwardPaddedRealPass<K, N>;
}

template <class K, bool kInverse, int... kLog2>
constexpr std::array<Transform, sizeof...(kLog2)> PassTableOf(std::integer_sequence<int, kLog2...>) {
  return {PassRoutine<K, kInverse, (2 << kLog2)>()...};
}

template <class K, int... kLog2>
constexpr std::array<PaddedTransform, sizeof...(kLog2)> PaddedPassTableOf(std::integer_sequence<int, kLog2...>) {
  return {PaddedPassRoutine<K, (2 << kLog2)>()...};
}

template <class K, int... kLog2>
constexpr std::array<PaddedTransform, sizeof...(kLog2)> PaddedTableOf(std::integer_sequence<int, kLog2...>) {
  return {PaddedRoutine<K, (2 << kLog2)>()...};
}

template <class K>
struct Routines {
  static constexpr auto kSizes = std::make_integer_sequence<int, kSizeCount>();
  static constexpr std::array<Transform, kSizeCount> kForward = TableOf<K, false>(kSizes);
  static constexpr std::array<Transform, kSizeCount> kInverse = TableOf<K, true>(kSizes);
  static constexpr std::array<PaddedTransform, kSizeCount> kPaddedReal = PaddedTableOf<K>(kSizes);
  static constexpr std::array<Transform, kSizeCount> kForwardPass = PassTableOf<K, false>(kSizes);
  static constexpr std::array<Transform, kSizeCount> kInversePass = PassTableOf<K, true>(kSizes);
  static constexpr std::array<PaddedTransform, kSizeCount> kPaddedRealPass = PaddedPassTableOf<K>(kSizes);
};

}  // namespace fft_routines
