// Cutting text to a byte limit without splitting a UTF-8 character, for the fixed-size
// name and text slots.
#pragma once

#include <cstddef>
#include <string_view>

// The longest prefix of text of at most maxBytes bytes that ends on a character boundary.
std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes);

// Copies text into a slot of slotBytes bytes (slotBytes >= 1), cut as above and terminated.
void CopyIntoSlot(char* slot, std::size_t slotBytes, std::string_view text);
