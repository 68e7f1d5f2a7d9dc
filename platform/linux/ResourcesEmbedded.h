// The image table generated at build time from the resource script's list of images.
#pragma once

#include <cstddef>

namespace platform {

struct EmbeddedResource {
  int id;
  const unsigned char* data;
  std::size_t size;
};

extern const EmbeddedResource kEmbeddedImages[];
extern const std::size_t kEmbeddedImageCount;

}  // namespace platform
