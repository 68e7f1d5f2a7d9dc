// The mouse modifier record the editor host hands to controls.
#pragma once

struct IMouseMod {
  bool L = false;  // left button
  bool R = false;  // right button
  bool S = false;  // shift
  bool C = false;  // control
  bool A = false;  // alt

  // Shift or control: the fine-adjustment modifiers.
  bool Fine() const { return S || C; }
};
