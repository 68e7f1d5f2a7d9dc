#include "platform/Fonts.h"

#include <windows.h>

#include "platform/win32/WideText.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace platform {
namespace {

constexpr int kMaxHeightPx = 512;

// GDI draws the text white on black into a private DIB section; its grey levels are the
// coverage. One device context, surface and font set serve every call.
class GdiTextRenderer {
 public:
  static GdiTextRenderer& Instance() {
    static GdiTextRenderer renderer;
    return renderer;
  }
  ~GdiTextRenderer() {
    if (dc_) {
      SelectObject(dc_, originalBitmap_);
      SelectObject(dc_, originalFont_);
      DeleteDC(dc_);
    }
    if (surface_) DeleteObject(surface_);
    for (auto& entry : fonts_) DeleteObject(entry.second);
  }

  bool Render(const FontSpec& font, std::string_view text, TextMask& mask) {
    if (font.heightPx <= 0 || font.heightPx > kMaxHeightPx) return false;
    std::lock_guard<std::mutex> hold(lock_);
    HFONT handle = Font(font);
    if (!handle || !Context()) return false;
    SelectObject(dc_, handle);
    const std::wstring wide = Widen(std::string(text));
    const int length = static_cast<int>(wide.size());
    SIZE extent{};
    if (length > 0 && !GetTextExtentPoint32W(dc_, wide.c_str(), length, &extent)) return false;
    const int overhang = font.heightPx / 2;  // room for italic and kerned glyph edges
    const int width = extent.cx + 2 * overhang;
    if (!EnsureSurface(width, font.heightPx)) return false;
    for (int y = 0; y < font.heightPx; ++y) std::memset(bits_ + y * surfaceWidth_, 0, width * 4);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(255, 255, 255));
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    if (length > 0) TextOutW(dc_, overhang, 0, wide.c_str(), length);
    GdiFlush();
    CopyCoverage(width, font.heightPx, mask);
    mask.left = -overhang;
    mask.advance = extent.cx;
    return true;
  }

 private:
  HDC Context() {
    if (!dc_) {
      dc_ = CreateCompatibleDC(nullptr);
      if (dc_) originalFont_ = GetCurrentObject(dc_, OBJ_FONT);
    }
    return dc_;
  }

  HFONT Font(const FontSpec& font) {
    const auto key = std::make_tuple(Widen(std::string(font.name)), font.heightPx, font.bold, font.italic);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    // A positive height asks for the cell height, so the line pitch equals heightPx.
    HFONT handle = CreateFontW(font.heightPx, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                               font.italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, std::get<0>(key).c_str());
    if (handle) fonts_.emplace(key, handle);
    return handle;
  }

  bool EnsureSurface(int width, int height) {
    if (surface_ && width <= surfaceWidth_ && height <= surfaceHeight_) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = std::max(width, surfaceWidth_);
    info.bmiHeader.biHeight = -std::max(height, surfaceHeight_);  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!surface) return false;
    HGDIOBJ previous = SelectObject(dc_, surface);
    if (surface_) DeleteObject(surface_);
    else originalBitmap_ = previous;
    surface_ = surface;
    bits_ = static_cast<std::uint32_t*>(bits);
    surfaceWidth_ = info.bmiHeader.biWidth;
    surfaceHeight_ = -info.bmiHeader.biHeight;
    return true;
  }

  void CopyCoverage(int width, int height, TextMask& mask) const {
    mask.width = width;
    mask.height = height;
    mask.coverage.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        mask.coverage[y * width + x] = static_cast<std::uint8_t>(bits_[y * surfaceWidth_ + x] >> 8);
  }

  std::mutex lock_;
  HDC dc_ = nullptr;
  HGDIOBJ originalBitmap_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  HBITMAP surface_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  std::map<std::tuple<std::wstring, int, bool, bool>, HFONT> fonts_;
};

}  // namespace

bool RenderTextLine(const FontSpec& font, std::string_view utf8, TextMask& mask) {
  return GdiTextRenderer::Instance().Render(font, utf8, mask);
}

}  // namespace platform
