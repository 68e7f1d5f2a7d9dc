#include "presets/ImpulsePath.h"

#include "platform/Files.h"

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
}  // namespace

bool IsAbsolutePath(std::string_view path) {
  if (!path.empty() && IsSeparator(path.front())) return true;
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

bool ResolveImpulsePath(std::string_view stored, const std::string& dataFolder, std::string& out) {
  if (stored.find_first_of("/\\") == std::string_view::npos) return false;
  if (IsAbsolutePath(stored)) {
    out.assign(stored);
    return true;
  }
  out = dataFolder;
  for (const char c : stored) out += IsSeparator(c) ? platform::kSeparator : c;
  return true;
}
