// The colours shared by all images: a black amp with brushed aluminium plates, amber
// accents and a yellow-green backlit display, lit from the upper left.
#pragma once

#include "art/Canvas.h"

namespace palette {

constexpr Rgba kTolex = Hex(0x1d1d1f);
constexpr Rgba kAluminium = Hex(0xc4c6c8);
constexpr Rgba kAluminiumDark = Hex(0x8e9195);
constexpr Rgba kInk = Hex(0x1a1b1d);             // printing on aluminium
constexpr Rgba kInkEdge = Hex(0xffffff, 0.55f);  // light edge under engraved print
constexpr Rgba kAccent = Hex(0xe8892b);          // amber of the logo and headings
constexpr Rgba kAccentDark = Hex(0xa9561a);
constexpr Rgba kLcd = Hex(0xb6cc7c);              // backlit display
constexpr Rgba kLcdDark = Hex(0x97b060);
constexpr Rgba kLcdInk = Hex(0x1f2a12);
constexpr Rgba kLcdGhost = Hex(0x1f2a12, 0.10f);  // unlit segments
constexpr Rgba kStage = Hex(0x3c3e42);            // the grey area the pedals stand on
constexpr Rgba kScreen = Hex(0x15191d);           // response graph screen
constexpr Rgba kLampRed = Hex(0xff3524);
constexpr Rgba kWhitePrint = Hex(0xf2f0ea);

}  // namespace palette
