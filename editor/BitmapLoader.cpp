#include "editor/BitmapLoader.h"

#include <algorithm>

#include "editor/Assertion.h"
#include "editor/BitmapCache.h"

IBitmap LoadIBitmap(int resourceId, std::string_view name, int frames) {
  const PixelImage* image = CachedImage(resourceId, name);
  if (!CheckAssertion(image != nullptr, "imgResourceFound")) return {};
  return {image, image->width, image->height, std::max(1, frames)};
}
