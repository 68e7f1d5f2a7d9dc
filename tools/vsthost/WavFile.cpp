#include "tools/vsthost/WavFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vsthost {

namespace {

// Stores the reason the last system call gave; returns false.
bool SystemError(std::string* error) {
  if (error) *error = std::strerror(errno);
  return false;
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kFormatBytes = 16;

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

float Sample(const uint8_t* p, int bits, bool isFloat) {
  if (isFloat) {
    float f;
    const uint32_t raw = Le(p, 4);
    std::memcpy(&f, &raw, sizeof f);
    return f;
  }
  // Shift the sample to the top of 32 bits so that its sign lands in the sign bit.
  const int bytes = bits / 8;
  const auto top = int32_t(Le(p, bytes) << (32 - bits));
  return float(double(top) / 2147483648.0);
}

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

bool ReadWav(const std::string& path, WavAudio& audio, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  auto fail = [error](const char* why) {
    if (error) *error = why;
    return false;
  };
  if (!file && bytes.empty()) return fail("cannot read the file");
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4)) {
    return fail("not a RIFF WAVE file");
  }
  int channels = 0, bits = 0;
  uint16_t format = 0;
  const uint8_t* data = nullptr;
  size_t dataBytes = 0;
  for (size_t pos = 12; pos + kChunkHeaderBytes <= bytes.size();) {
    const uint8_t* chunk = bytes.data() + pos;
    const size_t size = Le(chunk + 4, 4);
    const size_t body = pos + kChunkHeaderBytes;
    const size_t available = std::min(size, bytes.size() - body);
    if (!std::memcmp(chunk, "fmt ", 4) && available >= kFormatBytes) {
      format = uint16_t(Le(chunk + 8, 2));
      channels = int(Le(chunk + 10, 2));
      audio.sampleRate = Le(chunk + 12, 4);
      bits = int(Le(chunk + 22, 2));
      if (format == kFormatExtensible && available >= 26) format = uint16_t(Le(chunk + 32, 2));
    } else if (!std::memcmp(chunk, "data", 4)) {
      data = chunk + kChunkHeaderBytes;
      dataBytes = available;
    }
    pos = body + size + (size & 1);
  }
  const bool isFloat = format == kFormatFloat && bits == 32;
  const bool isPcm = format == kFormatPcm && (bits == 16 || bits == 24 || bits == 32);
  if (!isFloat && !isPcm) return fail("unsupported sample format (16/24/32-bit PCM or 32-bit float)");
  if (channels <= 0 || !data || !(audio.sampleRate > 0)) return fail("no audio data");
  const size_t frameBytes = size_t(channels) * size_t(bits / 8);
  const size_t frames = dataBytes / frameBytes;
  audio.channels.assign(size_t(channels), std::vector<float>(frames));
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      audio.channels[size_t(c)][i] = Sample(data + i * frameBytes + size_t(c) * size_t(bits / 8), bits, isFloat);
    }
  }
  return true;
}

bool WriteWavFloat(const std::string& path, const WavAudio& audio, std::string* error) {
  const auto channels = uint32_t(audio.channels.size());
  const auto frames = uint32_t(audio.Frames());
  const uint32_t dataBytes = frames * channels * 4;
  std::vector<uint8_t> out;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe(out, 4 + kChunkHeaderBytes + kFormatBytes + kChunkHeaderBytes + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(out, kFormatBytes, 4);
  PutLe(out, kFormatFloat, 2);
  PutLe(out, channels, 2);
  PutLe(out, uint32_t(audio.sampleRate), 4);
  PutLe(out, uint32_t(audio.sampleRate) * channels * 4, 4);
  PutLe(out, channels * 4, 2);
  PutLe(out, 32, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe(out, dataBytes, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    for (const auto& channel : audio.channels) {
      uint32_t raw;
      std::memcpy(&raw, &channel[i], sizeof raw);
      PutLe(out, raw, 4);
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return SystemError(error);
  const bool complete = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  const bool closed = std::fclose(file) == 0;
  return (complete && closed) || SystemError(error);
}

}  // namespace vsthost
