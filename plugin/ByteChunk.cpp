#include "plugin/ByteChunk.h"

int ByteChunk::PutBytes(const void* data, int size) {
  if (size > 0) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + size);
  }
  return Size();
}

bool ByteChunk::Holds(int64_t pos, int64_t size) const {
  return pos >= 0 && size >= 0 && pos + size <= int64_t(bytes_.size());
}

int ByteChunk::GetBytes(void* out, int size, int pos) const {
  if (!Holds(pos, size)) return -1;
  if (size > 0) std::memcpy(out, bytes_.data() + pos, size_t(size));
  return pos + size;
}

int ByteChunk::PutString(const std::string& text) {
  Put(int32_t(text.size()));
  return PutBytes(text.data(), int(text.size()));
}

void ByteChunk::Resize(int size) { bytes_.resize(size > 0 ? size_t(size) : 0); }
