// A growable byte buffer for state chunks: values are appended in the machine's byte order
// (little-endian on every target) and read back at a position. A read that would pass the
// end fails and yields position -1, which every later read passes on.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

class ByteChunk {
 public:
  // Appends size bytes; returns the new size.
  int PutBytes(const void* data, int size);
  // Copies size bytes at pos into out; returns pos + size, or -1 when they are not all there.
  int GetBytes(void* out, int size, int pos) const;

  template <typename T>
  int Put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return PutBytes(&value, int(sizeof(T)));
  }
  template <typename T>
  int Get(T& value, int pos) const {
    static_assert(std::is_trivially_copyable_v<T>);
    return GetBytes(&value, int(sizeof(T)), pos);
  }

  // An int32 length followed by the bytes, without a terminating zero.
  int PutString(const std::string& text);

  void Resize(int size);
  void Clear() { bytes_.clear(); }
  int Size() const { return int(bytes_.size()); }
  const uint8_t* Data() const { return bytes_.data(); }
  uint8_t* Data() { return bytes_.data(); }
  // True when [pos, pos + size) lies inside the chunk.
  bool Holds(int64_t pos, int64_t size) const;

 private:
  std::vector<uint8_t> bytes_;
};
