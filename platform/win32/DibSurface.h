// The window's copy of the editor's back buffer: a top-down 32-bit DIB section in a memory
// device context, whose pixel layout (0x00RRGGBB words, row after row) is the raster's.
// The timer copies painted rectangles in; painting blits from it, so a repaint the system
// asks for never has to wait for the editor.
#pragma once

#include <windows.h>

#include <cstdint>

#include "editor/IRect.h"

namespace platform {

class DibSurface {
 public:
  DibSurface() = default;
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // Makes a black surface of the size, replacing any earlier one; false on failure.
  bool Create(int width, int height);
  // Copies rect of pixels (width_ wide rows) into the surface, clipped to it.
  void CopyFrom(const std::uint32_t* pixels, const IRect& rect);
  // Blits rect of the surface to the same place of dc.
  void BlitTo(HDC dc, const RECT& rect) const;

 private:
  void Release();

  int width_ = 0;
  int height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace platform
