// The key codes controls receive: space 0, the arrows 1 to 4, digits 5 to 14, letters 15
// to 40 (upper and lower case alike). A window layer maps its arrow keys to the named codes
// and typed characters through KeyCodeOfCharacter; every other key has no code.
#pragma once

constexpr int kNoKey = -1;
constexpr int kKeySpace = 0;
constexpr int kKeyUp = 1;
constexpr int kKeyDown = 2;
constexpr int kKeyLeft = 3;
constexpr int kKeyRight = 4;
constexpr int kKeyDigit0 = 5;
constexpr int kKeyLetterA = 15;
constexpr int kLastKeyCode = kKeyLetterA + 25;

constexpr int KeyCodeOfCharacter(char32_t c) {
  if (c == U' ') return kKeySpace;
  if (c >= U'0' && c <= U'9') return kKeyDigit0 + int(c - U'0');
  if (c >= U'A' && c <= U'Z') return kKeyLetterA + int(c - U'A');
  if (c >= U'a' && c <= U'z') return kKeyLetterA + int(c - U'a');
  return kNoKey;
}

constexpr bool IsKeyCode(int key) { return key >= kKeySpace && key <= kLastKeyCode; }
