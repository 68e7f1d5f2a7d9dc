#include <cstddef>

#include "platform/Files.h"

namespace platform {

namespace {

unsigned char UpperAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

// NTFS compares names character by character after upper-casing, so "_" sorts after the
// letters. Names that differ only in case (possible on Linux) fall back to their bytes,
// which keeps the order total and stable.
bool NtfsNameLess(const std::string& a, const std::string& b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = UpperAscii(a[i]), y = UpperAscii(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace platform
