#include "editor/BitmapCache.h"

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "editor/EditorBitmaps.h"
#include "editor/ImageDecoder.h"
#include "editor/ImageResample.h"
#include "platform/Resources.h"

namespace {

constexpr int kScalePercent1x = 100;
constexpr int kScalePercent3Halves = 150;
constexpr int kScalePercent2x = 200;
constexpr double kThreeHalvesOfTwice = 0.75;

// Its own lock: editors of several plug-in instances may load bitmaps at the same time,
// and none of them holds a common plug-in lock. Keys: resource number; for images made
// here, the 1x resource number and the scale in percent.
struct CachedResource {
  std::unique_ptr<PixelImage> image;
  std::string name;  // chooses the decoder of its twins too
};

struct BitmapCacheStore {
  std::mutex lock;
  std::map<int, CachedResource> images;
  std::map<std::pair<int, int>, std::unique_ptr<PixelImage>> resized;
};

BitmapCacheStore& Store() {
  static BitmapCacheStore store;
  return store;
}

bool DecodeResource(int resourceId, std::string_view name, PixelImage& image) {
  const platform::ResourceBytes bytes = platform::FindImageResource(resourceId);
  return bytes.data && DecodeImage(name, bytes.data, bytes.size, image);
}

const PixelImage* CachedLocked(BitmapCacheStore& store, int resourceId, std::string_view name) {
  auto found = store.images.find(resourceId);
  if (found != store.images.end()) return found->second.image.get();
  auto image = std::make_unique<PixelImage>();
  if (!DecodeResource(resourceId, name, *image)) return nullptr;
  CachedResource entry{std::move(image), std::string(name)};
  return store.images.emplace(resourceId, std::move(entry)).first->second.image.get();
}

// The resource an image of this cache came from; null for any other image.
const std::pair<const int, CachedResource>* SourceOf(const BitmapCacheStore& store, const PixelImage* image) {
  for (const auto& entry : store.images)
    if (entry.second.image.get() == image) return &entry;
  return nullptr;
}

// The 1.5x image from the 2x twin, which is decoded for this and dropped again: only the
// result stays in memory.
const PixelImage* ThreeHalvesLocked(BitmapCacheStore& store, int resourceId, std::string_view name,
                                    int frames) {
  const std::pair<int, int> key{resourceId, kScalePercent3Halves};
  auto found = store.resized.find(key);
  if (found != store.resized.end()) return found->second.get();
  PixelImage twice;
  if (frames <= 0 || !DecodeResource(resourceId + kDoubleSizeIdOffset, name, twice)) return nullptr;
  auto image = std::make_unique<PixelImage>(ResizeFrames(twice, frames, kThreeHalvesOfTwice));
  if (image->pixels.empty()) return nullptr;
  return store.resized.emplace(key, std::move(image)).first->second.get();
}

}  // namespace

const PixelImage* CachedImage(int resourceId, std::string_view name) {
  BitmapCacheStore& store = Store();
  std::lock_guard<std::mutex> hold(store.lock);
  return CachedLocked(store, resourceId, name);
}

const PixelImage* CachedImageAt(const PixelImage* image, int frames, float scale) {
  const int percent = static_cast<int>(std::lround(scale * 100.0f));
  BitmapCacheStore& store = Store();
  std::lock_guard<std::mutex> hold(store.lock);
  const auto* source = SourceOf(store, image);
  if (!source) return nullptr;
  const int id = source->first;
  const std::string name = source->second.name;  // the map may grow below
  switch (percent) {
    case kScalePercent1x: return image;
    case kScalePercent2x: return CachedLocked(store, id + kDoubleSizeIdOffset, name);
    case kScalePercent3Halves: return ThreeHalvesLocked(store, id, name, frames);
    default: return nullptr;
  }
}
