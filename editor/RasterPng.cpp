#include "editor/RasterPng.h"

#include <cstdio>
#include <vector>

#include "editor/PngCodec.h"
#include "platform/Files.h"

bool WriteRasterPng(const IGraphicsRaster& raster, const std::string& path) {
  std::vector<unsigned char> png;
  if (!EncodePng(raster.Pixels(), raster.Width(), raster.Height(), png)) return false;
  std::FILE* file = platform::OpenFile(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}
