#include "editor/BitmapCache.h"

#include <map>
#include <memory>
#include <mutex>

#include "editor/ImageDecoder.h"
#include "platform/Resources.h"

namespace {

// Its own lock: editors of several plug-in instances may load bitmaps at the same time,
// and none of them holds a common plug-in lock.
struct BitmapCacheStore {
  std::mutex lock;
  std::map<int, std::unique_ptr<PixelImage>> images;
};

BitmapCacheStore& Store() {
  static BitmapCacheStore store;
  return store;
}

}  // namespace

const PixelImage* CachedImage(int resourceId, std::string_view name) {
  BitmapCacheStore& store = Store();
  std::lock_guard<std::mutex> hold(store.lock);
  auto found = store.images.find(resourceId);
  if (found != store.images.end()) return found->second.get();
  const platform::ResourceBytes bytes = platform::FindImageResource(resourceId);
  if (!bytes.data) return nullptr;
  auto image = std::make_unique<PixelImage>();
  if (!DecodeImage(name, bytes.data, bytes.size, *image)) return nullptr;
  return store.images.emplace(resourceId, std::move(image)).first->second.get();
}
