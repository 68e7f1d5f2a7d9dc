// The table of tiny positive offsets added after the gate, which keep the recursive
// filters that follow out of denormal numbers while the gate is closed.
#pragma once

#include <cstdint>

constexpr int kAntiDenormalTableSize = 44100;

// Fills the table from the process-wide generator, which continues where the previous
// fill (of any plug-in instance, on any thread) left off. Each fill takes one unbroken
// run of the sequence.
void FillAntiDenormalTable(double* table);

// The generator's state as the next fill will start from it.
std::uint32_t AntiDenormalGeneratorState();

// Fills the table from an explicit generator state and advances that state.
void FillAntiDenormalTableFrom(std::uint32_t& state, double* table);
