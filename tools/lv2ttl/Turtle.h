// Small pieces of Turtle text: string literals, IRI-safe names and numbers.
#pragma once

#include <string>
#include <string_view>

namespace lv2ttl {

// A quoted string literal with quotes, backslashes and control characters escaped.
std::string Literal(std::string_view text);
// text with every byte outside [A-Za-z0-9._~-] percent-encoded, for a piece of an IRI.
std::string IriPiece(std::string_view text);
// A decimal that reads back as exactly the float the port holds.
std::string Decimal(double value);

}  // namespace lv2ttl
