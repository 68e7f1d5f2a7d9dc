#include "WaveBytes.h"

#include <cmath>
#include <cstring>
#include <fstream>

void PutU16(Bytes& bytes, unsigned value) {
  bytes.push_back(value & 0xFF);
  bytes.push_back((value >> 8) & 0xFF);
}

void PutU32(Bytes& bytes, std::uint32_t value) {
  PutU16(bytes, value & 0xFFFF);
  PutU16(bytes, value >> 16);
}

Bytes Chunk(const std::string& id, const Bytes& body, long long declaredSize) {
  Bytes bytes(id.begin(), id.end());
  PutU32(bytes, static_cast<std::uint32_t>(declaredSize < 0 ? body.size() : declaredSize));
  bytes.insert(bytes.end(), body.begin(), body.end());
  if (body.size() % 2) bytes.push_back(0);
  return bytes;
}

namespace {

Bytes FormatBody(int tag, int channels, std::uint32_t rate, int bits, int blockAlign) {
  Bytes body;
  PutU16(body, tag);
  PutU16(body, channels);
  PutU32(body, rate);
  PutU32(body, rate * blockAlign);
  PutU16(body, blockAlign);
  PutU16(body, bits);
  return body;
}

}  // namespace

Bytes FormatChunk(int tag, int channels, std::uint32_t rate, int bits, int blockAlign) {
  return Chunk("fmt ", FormatBody(tag, channels, rate, bits, blockAlign < 0 ? channels * bits / 8 : blockAlign));
}

Bytes ExtensibleFormatChunk(int subFormatTag, int channels, std::uint32_t rate, int bits) {
  Bytes body = FormatBody(0xFFFE, channels, rate, bits, channels * bits / 8);
  PutU16(body, 22);           // extension size
  PutU16(body, bits);         // valid bits
  PutU32(body, 0x3);          // channel mask
  PutU16(body, subFormatTag);  // sub-format GUID: tag, then the shared tail
  const std::uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  body.insert(body.end(), tail, tail + 14);
  return Chunk("fmt ", body);
}

Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes content = {'W', 'A', 'V', 'E'};
  for (const Bytes& chunk : chunks) content.insert(content.end(), chunk.begin(), chunk.end());
  Bytes bytes = {'R', 'I', 'F', 'F'};
  PutU32(bytes, static_cast<std::uint32_t>(content.size()));
  bytes.insert(bytes.end(), content.begin(), content.end());
  return bytes;
}

Bytes IntegerSamples(const std::vector<long long>& codes, int bits) {
  Bytes bytes;
  for (long long code : codes)
    for (int byte = 0; byte < bits / 8; ++byte) bytes.push_back(static_cast<std::uint8_t>(code >> (8 * byte)));
  return bytes;
}

Bytes FloatSamples(const std::vector<float>& values) {
  Bytes bytes;
  for (float value : values) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(bytes, bits);
  }
  return bytes;
}

Bytes Mono16(const std::vector<double>& samples, std::uint32_t rate) {
  std::vector<long long> codes;
  for (double x : samples) codes.push_back(std::lround(x * 32768.0));
  return Riff({FormatChunk(1, 1, rate, 16), Chunk("data", IntegerSamples(codes, 16))});
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}
