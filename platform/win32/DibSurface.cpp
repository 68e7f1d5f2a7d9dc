#include "platform/win32/DibSurface.h"

#include <cstring>

#include "platform/win32/GuiObjects.h"

namespace platform {

DibSurface::~DibSurface() { Release(); }

void DibSurface::Release() {
  if (dc_) {
    SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
    NoteDestroyed(GuiObject::Gdi);
  }
  if (bitmap_) {
    DeleteObject(bitmap_);
    NoteDestroyed(GuiObject::Gdi);
  }
  dc_ = nullptr;
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool DibSurface::Create(int width, int height) {
  Release();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, like the raster
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  NoteCreated(GuiObject::Gdi, bitmap_);
  if (!bitmap_) return false;
  dc_ = CreateCompatibleDC(nullptr);
  NoteCreated(GuiObject::Gdi, dc_);
  if (!dc_) return false;
  previousBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  std::memset(bits_, 0, std::size_t(width) * std::size_t(height) * sizeof *bits_);
  return true;
}

void DibSurface::CopyFrom(const std::uint32_t* pixels, const IRect& rect) {
  const IRect area = rect.Intersect({0, 0, width_, height_});
  if (area.Empty() || !bits_) return;
  GdiFlush();  // GDI may still be reading the section
  const std::size_t rowBytes = std::size_t(area.W()) * sizeof *bits_;
  for (int y = area.T; y < area.B; ++y) {
    const std::size_t offset = std::size_t(y) * std::size_t(width_) + std::size_t(area.L);
    std::memcpy(bits_ + offset, pixels + offset, rowBytes);
  }
}

void DibSurface::BlitTo(HDC dc, const RECT& rect) const {
  if (!dc_) return;
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_, rect.left,
         rect.top, SRCCOPY);
}

}  // namespace platform
