#include "platform/Resources.h"

#include "platform/linux/ResourcesEmbedded.h"

namespace platform {

ResourceBytes FindImageResource(int id) {
  for (std::size_t i = 0; i < kEmbeddedImageCount; ++i) {
    const EmbeddedResource& image = kEmbeddedImages[i];
    if (image.id == id) return {image.data, image.size};
  }
  return {};
}

}  // namespace platform
