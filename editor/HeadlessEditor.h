// Runs an editor without a window: synthetic mouse, wheel and key input, timer ticks, and
// the back buffer written to a PNG file. Typed entry goes to a scripted widget. Tests use
// it; so can anyone who wants to look at the editor.
#pragma once

#include <string>

#include "editor/IGraphics.h"
#include "editor/ScriptedTextEntry.h"

class HeadlessEditor {
 public:
  // Opens a windowless editor on graphics at a scale factor (1, 1.5 or 2; all controls
  // drawn at the first tick); the destructor closes it again. Input positions are in the
  // back buffer's pixels, as a window's are.
  explicit HeadlessEditor(IGraphics& graphics, float scale = 1.0f);
  ~HeadlessEditor();
  HeadlessEditor(const HeadlessEditor&) = delete;
  HeadlessEditor& operator=(const HeadlessEditor&) = delete;

  static IMouseMod Left() { return {.L = true}; }
  static IMouseMod Right() { return {.R = true}; }

  void MouseDown(int x, int y, const IMouseMod& mod = Left()) { graphics_.OnMouseDown(x, y, mod); }
  void MouseUp(int x, int y, const IMouseMod& mod = Left()) { graphics_.OnMouseUp(x, y, mod); }
  // Press and release at one point.
  void Click(int x, int y, const IMouseMod& mod = Left());
  // A press, then a release, then the double click and its release, as windows send them.
  void DoubleClick(int x, int y, const IMouseMod& mod = Left());
  // Press at (x0, y0), move in steps to (x1, y1) with the buttons of mod held, release.
  void Drag(int x0, int y0, int x1, int y1, const IMouseMod& mod = Left(), int steps = 4);
  // Pointer movement without buttons.
  void MoveTo(int x, int y) { graphics_.OnMouseMove(x, y, {}); }
  void Leave() { graphics_.OnMouseLeave(); }
  void Wheel(int x, int y, int detents, const IMouseMod& mod = {});
  void Key(int x, int y, int key) { graphics_.OnKeyDown(x, y, key); }

  // One timer tick; returns the painted rectangle.
  IRect Tick() { return graphics_.OnTimerTick(); }
  bool WritePng(const std::string& path) const;

  IGraphics& Graphics() { return graphics_; }
  const IGraphicsRaster& Raster() const { return *graphics_.Raster(); }
  ScriptedTextEntry& TextEntry() { return textEntry_; }

 private:
  IGraphics& graphics_;
  ScriptedTextEntry textEntry_;
};
