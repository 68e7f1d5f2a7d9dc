#include "tools/lv2ttl/Turtle.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace lv2ttl {

std::string Literal(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string IriPiece(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '.' || c == '_' || c == '~' || c == '-') {
      out += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      out += escaped;
    }
  }
  return out;
}

std::string Decimal(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, float(value), std::chars_format::fixed);
  std::string out(text, result.ptr);
  // Turtle reads a number without a point as an integer.
  if (out.find('.') == std::string::npos) out += ".0";
  return out;
}

}  // namespace lv2ttl
