// Reads RIFF WAVE files: integer PCM of 8, 16, 24 or 32 bits, 32-bit float, and either of
// them inside WAVE_FORMAT_EXTENSIBLE. Chunks are found by id wherever they lie, and a data
// chunk that claims more than the file holds yields only the frames that are there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

struct WaveData {
  double sampleRate = 0.0;
  int channels = 0;
  std::vector<double> firstChannel;  // the only channel the cabinet uses
};

// Larger files are refused rather than read into memory.
constexpr std::size_t kMaxWaveFileBytes = std::size_t{256} << 20;

// Parses a whole file held in memory. False (and out untouched) for anything that is not
// a readable WAVE file with at least one frame.
bool ReadWave(const std::uint8_t* bytes, std::size_t size, WaveData& out);

// Reads an open file from its start and parses it like ReadWave.
bool ReadWaveFile(std::FILE* file, WaveData& out);
