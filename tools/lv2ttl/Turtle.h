// Small pieces of Turtle text: string literals, IRI-safe names and numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>
#include <cstdint>

namespace lv2ttl {

// A quoted string literal with quotes, backslashes and control characters escaped.
std::string Literal(std::string_view text);
// text with every byte outside [A-Za-z0-9._~-] percent-encoded, for a piece of an IRI.
std::string IriPiece(std::string_view text);
// Bytes as base64 (xsd:base64Binary).
std::string Base64(const std::vector<std::uint8_t>& bytes);
// A decimal that reads back as exactly the float the port holds.
std::string Decimal(double value);

}  // namespace lv2ttl
