#include "tests/window/ReferenceEditor.h"

#include <algorithm>
#include <cstdio>

#include "editor/HeadlessEditor.h"
#include "editor/IGraphics.h"
#include "editor/PngCodec.h"
#include "platform/Files.h"

namespace {
constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;
}  // namespace

std::pair<int, int> CentreOfControl(IGraphics& editor, int paramIdx) {
  for (int i = editor.NControls() - 1; i >= 0; --i) {
    const IControl& control = *editor.GetControl(i);
    const IRect& r = control.GetRECT();
    const int x = r.L + r.W() / 2;
    const int y = r.T + r.H() / 2;
    if (control.ParamIdx() == paramIdx && editor.ControlAt(x, y) == i) return {x, y};
  }
  return {-1, -1};
}

std::vector<std::uint32_t> HeadlessRgb(IGraphics& editor) {
  HeadlessEditor headless(editor);
  headless.Tick();
  const IGraphicsRaster& raster = headless.Raster();
  std::vector<std::uint32_t> pixels(raster.Pixels(),
                                    raster.Pixels() + size_t(raster.Width()) * size_t(raster.Height()));
  for (std::uint32_t& pixel : pixels) pixel &= kRgbMask;
  return pixels;
}

int DifferingPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return int(std::max(a.size(), b.size()));
  int differing = 0;
  for (size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
  return differing;
}

bool SaveRgbPng(const std::vector<std::uint32_t>& rgb, int width, int height,
                const std::string& path) {
  std::vector<std::uint32_t> opaque(rgb);
  for (std::uint32_t& pixel : opaque) pixel |= kOpaque;
  std::vector<unsigned char> png;
  if (!EncodePng(opaque.data(), width, height, png)) return false;
  std::FILE* file = platform::OpenFile(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}
