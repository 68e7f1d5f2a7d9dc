#include "presets/Utf8Cut.h"

#include <cstring>

namespace {
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  std::size_t length = maxBytes;
  // Back off over the continuation bytes of the character the limit falls into; text that
  // is not UTF-8 at all still ends up cut, at most three bytes short.
  for (int backed = 0; length > 0 && backed < 3 && IsContinuationByte(text[length]); ++backed)
    --length;
  return IsContinuationByte(text[length]) ? maxBytes : length;
}

void CopyIntoSlot(char* slot, std::size_t slotBytes, std::string_view text) {
  const std::size_t length = Utf8CutLength(text, slotBytes - 1);
  std::memcpy(slot, text.data(), length);
  slot[length] = '\0';
}
