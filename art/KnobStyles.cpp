#include "art/KnobStyles.h"

#include "art/Palette.h"

KnobStyle MainKnobStyle() {
  KnobStyle s;
  s.skirtRadius = 15.5f;
  s.skirt = Hex(0x18181a);
  s.bodyRadius = 11.5f;
  s.body = Hex(0x242426);
  s.knurls = 24;
  s.capRadius = 8.0f;
  s.cap = Hex(0xd2d4d6);
  s.pointer = palette::kWhitePrint;
  s.pointerFrom = 2.5f;
  s.pointerTo = 7.0f;
  s.pointerWidth = 1.6f;
  return s;
}

KnobStyle LoudnessKnobStyle() {
  KnobStyle s;
  s.skirtRadius = 12.0f;
  s.skirt = Hex(0x18181a);
  s.bodyRadius = 9.0f;
  s.body = Hex(0x242426);
  s.knurls = 20;
  s.capRadius = 6.0f;
  s.cap = Hex(0xe0a45e);
  s.pointer = palette::kWhitePrint;
  s.pointerFrom = 2.0f;
  s.pointerTo = 5.5f;
  s.pointerWidth = 1.5f;
  return s;
}

namespace {

// Black pointer knob with a silver centre: the classic stomp box knob.
KnobStyle BlackStompKnob() {
  KnobStyle s;
  s.bodyRadius = 14.0f;
  s.body = Hex(0x1e1e20);
  s.knurls = 28;
  s.capRadius = 5.0f;
  s.cap = Hex(0xcfd1d3);
  s.pointer = Hex(0xf7f7f2);
  s.pointerFrom = 6.5f;
  s.pointerTo = 12.5f;
  s.pointerWidth = 2.2f;
  return s;
}

// Cream skirted knob of a vintage amp.
KnobStyle CreamSkirtKnob() {
  KnobStyle s;
  s.skirtRadius = 15.0f;
  s.skirt = Hex(0xe9e1c8);
  s.bodyRadius = 10.5f;
  s.body = Hex(0xf1ead5);
  s.knurls = 0;
  s.capRadius = 0.0f;
  s.pointer = Hex(0x2a2420);
  s.pointerFrom = 3.0f;
  s.pointerTo = 9.0f;
  s.pointerWidth = 1.8f;
  return s;
}

KnobStyle ChromeRedKnob() {
  KnobStyle s;
  s.bodyRadius = 11.0f;
  s.body = Hex(0xb9bcc0);
  s.knurls = 22;
  s.capRadius = 8.0f;
  s.cap = Hex(0xd8dadc);
  s.pointer = Hex(0xe0261c);
  s.pointerFrom = 3.0f;
  s.pointerTo = 9.5f;
  s.pointerWidth = 2.0f;
  return s;
}

KnobStyle OrangeLineKnob() {
  KnobStyle s;
  s.bodyRadius = 13.5f;
  s.body = Hex(0x232325);
  s.knurls = 30;
  s.capRadius = 9.0f;
  s.cap = Hex(0x2e2e30);
  s.metalCap = false;
  s.pointer = Hex(0xff8a1e);
  s.pointerFrom = 2.0f;
  s.pointerTo = 12.0f;
  s.pointerWidth = 2.2f;
  return s;
}

KnobStyle GoldCapKnob() {
  KnobStyle s;
  s.bodyRadius = 12.5f;
  s.body = Hex(0x1b1b1b);
  s.knurls = 26;
  s.capRadius = 8.5f;
  s.cap = Hex(0xd9b25a);
  s.pointer = Hex(0x1a1a1a);
  s.pointerFrom = 1.5f;
  s.pointerTo = 8.0f;
  s.pointerWidth = 1.8f;
  return s;
}

KnobStyle RedCapKnob() {
  KnobStyle s;
  s.bodyRadius = 14.0f;
  s.body = Hex(0x1f1c1b);
  s.knurls = 24;
  s.capRadius = 8.0f;
  s.cap = Hex(0xb3261e);
  s.metalCap = false;
  s.pointer = Hex(0xf3efe6);
  s.pointerFrom = 9.0f;
  s.pointerTo = 12.5f;
  s.pointerWidth = 2.2f;
  return s;
}

KnobStyle GreenGlowKnob() {
  KnobStyle s;
  s.bodyRadius = 14.0f;
  s.body = Hex(0x2b2d33);
  s.knurls = 36;
  s.capRadius = 9.5f;
  s.cap = Hex(0x6c707a);
  s.pointer = Hex(0x6dff6a);
  s.pointerFrom = 3.0f;
  s.pointerTo = 12.0f;
  s.pointerWidth = 2.2f;
  return s;
}

KnobStyle WhiteGhostKnob() {
  KnobStyle s;
  s.bodyRadius = 15.0f;
  s.body = Hex(0xeeeaf4);
  s.knurls = 0;
  s.capRadius = 0.0f;
  s.pointer = Hex(0x4a2a6e);
  s.pointerFrom = 5.0f;
  s.pointerTo = 13.0f;
  s.pointerWidth = 2.4f;
  return s;
}

KnobStyle OliveDotKnob() {
  KnobStyle s;
  s.bodyRadius = 14.0f;
  s.body = Hex(0x4b5132);
  s.knurls = 20;
  s.capRadius = 9.5f;
  s.cap = Hex(0x5a613e);
  s.metalCap = false;
  s.pointer = Hex(0xf2efe0);
  s.pointerTo = 10.5f;
  s.pointerWidth = 3.4f;
  s.pointerDot = true;
  return s;
}

}  // namespace

KnobStyle PedalKnobStyle(int id) {
  switch (id) {
    case 118: return CreamSkirtKnob();
    case 120: return ChromeRedKnob();
    case 121: return OrangeLineKnob();
    case 122: return GoldCapKnob();
    case 123: return RedCapKnob();
    case 124: return GreenGlowKnob();
    case 125: return WhiteGhostKnob();
    case 126: return OliveDotKnob();
    default: return BlackStompKnob();
  }
}
