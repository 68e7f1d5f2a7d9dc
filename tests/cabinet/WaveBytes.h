// Builds WAVE files byte by byte for the tests: any chunk order, any format fields, and
// sizes that lie.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& bytes, unsigned value);
void PutU32(Bytes& bytes, std::uint32_t value);

// A chunk with its header and pad byte; declaredSize < 0 declares the real size.
Bytes Chunk(const std::string& id, const Bytes& body, long long declaredSize = -1);
Bytes FormatChunk(int tag, int channels, std::uint32_t rate, int bits, int blockAlign = -1);
Bytes ExtensibleFormatChunk(int subFormatTag, int channels, std::uint32_t rate, int bits);
// "RIFF" size "WAVE" followed by the chunks.
Bytes Riff(const std::vector<Bytes>& chunks);

// Interleaved sample bodies from raw integer codes or floats.
Bytes IntegerSamples(const std::vector<long long>& codes, int bits);
Bytes FloatSamples(const std::vector<float>& values);

// A mono 16-bit file at rate holding samples (rounded to codes of 2^-15).
Bytes Mono16(const std::vector<double>& samples, std::uint32_t rate);

bool WriteFile(const std::string& path, const Bytes& bytes);
