#include "cabinet/WaveReader.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr int kFormatPcm = 1;
constexpr int kFormatFloat = 3;
constexpr int kFormatExtensible = 0xFFFE;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatBytes = 16;
constexpr std::size_t kExtensibleFormatBytes = 40;
constexpr std::size_t kSubFormatOffset = 24;
// The GUID tail shared by the PCM and float sub-formats (after their 16-bit tag).
constexpr std::uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                             0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr double kMinSampleRateHz = 1000.0;
constexpr double kMaxSampleRateHz = 1000000.0;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Format {
  int tag = 0;  // PCM or float after resolving the extensible sub-format
  int channels = 0;
  std::uint32_t sampleRate = 0;
  int blockAlign = 0;
  int bitsPerSample = 0;
};

struct Chunk {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

bool ParseFormat(Chunk chunk, Format& format) {
  if (chunk.size < kFormatBytes) return false;
  const std::uint8_t* p = chunk.data;
  format.tag = U16(p);
  format.channels = static_cast<std::int16_t>(U16(p + 2));
  format.sampleRate = U32(p + 4);
  format.blockAlign = static_cast<std::int16_t>(U16(p + 12));
  format.bitsPerSample = static_cast<std::int16_t>(U16(p + 14));
  if (format.tag == kFormatExtensible) {
    if (chunk.size < kExtensibleFormatBytes) return false;
    const std::uint8_t* guid = p + kSubFormatOffset;
    if (std::memcmp(guid + 2, kSubFormatTail, sizeof kSubFormatTail) != 0) return false;
    format.tag = U16(guid);
  }
  return true;
}

bool FormatIsReadable(const Format& f) {
  const bool integer = f.tag == kFormatPcm && (f.bitsPerSample == 8 || f.bitsPerSample == 16 ||
                                              f.bitsPerSample == 24 || f.bitsPerSample == 32);
  const bool floating = f.tag == kFormatFloat && f.bitsPerSample == 32;
  return (integer || floating) && f.channels > 0 && f.blockAlign >= f.channels * (f.bitsPerSample / 8) &&
         f.sampleRate >= kMinSampleRateHz && f.sampleRate <= kMaxSampleRateHz;
}

// Walks the chunks after "WAVE" for "fmt " and "data"; odd-sized chunks carry a pad byte.
// A chunk that runs past the end of the file is cut at the end.
bool FindChunks(const std::uint8_t* bytes, std::size_t size, Chunk& format, Chunk& data) {
  std::size_t position = 12;
  while (position + kChunkHeaderBytes <= size && !(format.data && data.data)) {
    const std::uint8_t* header = bytes + position;
    const std::size_t declared = U32(header + 4);
    position += kChunkHeaderBytes;
    const Chunk chunk{bytes + position, declared < size - position ? declared : size - position};
    if (std::memcmp(header, "fmt ", 4) == 0 && !format.data) format = chunk;
    if (std::memcmp(header, "data", 4) == 0 && !data.data) data = chunk;
    position += chunk.size + (chunk.size & 1);
  }
  return format.data && data.data;
}

double IntegerSample(const std::uint8_t* p, int bits) {
  switch (bits) {
    case 8:
      return p[0] / 127.0 - 1.0;
    case 16:
      return static_cast<std::int16_t>(U16(p)) * 3.0517578125e-5;
    case 24: {
      const double value = (p[0] | (p[1] << 8) | (p[2] << 16)) / 8388607.49999;
      return value > 1.0 ? value - 2.0 : value;
    }
    default: {
      const double value = static_cast<std::int32_t>(U32(p)) / 2147483647.49999;
      return value > 1.0 ? value - 2.0 : value;
    }
  }
}

double FloatSample(const std::uint8_t* p) {
  const std::uint32_t bits = U32(p);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Converts the first channel; false when a float sample is not finite.
bool ConvertFirstChannel(const Format& f, Chunk data, std::vector<double>& samples) {
  const std::size_t frames = data.size / static_cast<std::size_t>(f.blockAlign);
  samples.resize(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const std::uint8_t* p = data.data + i * f.blockAlign;
    samples[i] = f.tag == kFormatFloat ? FloatSample(p) : IntegerSample(p, f.bitsPerSample);
    if (!std::isfinite(samples[i])) return false;
  }
  return true;
}

}  // namespace

bool ReadWave(const std::uint8_t* bytes, std::size_t size, WaveData& out) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
    return false;
  Chunk formatChunk, dataChunk;
  Format format;
  if (!FindChunks(bytes, size, formatChunk, dataChunk) || !ParseFormat(formatChunk, format) ||
      !FormatIsReadable(format) || dataChunk.size < static_cast<std::size_t>(format.blockAlign))
    return false;
  std::vector<double> samples;
  if (!ConvertFirstChannel(format, dataChunk, samples)) return false;
  out.sampleRate = format.sampleRate;
  out.channels = format.channels;
  out.firstChannel = std::move(samples);
  return true;
}

bool ReadWaveFile(std::FILE* file, WaveData& out) {
  if (std::fseek(file, 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file);
  if (size < 0 || static_cast<std::size_t>(size) > kMaxWaveFileBytes || std::fseek(file, 0, SEEK_SET) != 0)
    return false;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return false;
  return ReadWave(bytes.data(), bytes.size(), out);
}
