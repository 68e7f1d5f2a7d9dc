// Files compiled into the binary by generated sources: the editor's images (from the
// resource script's list) and its typeface (Liberation Sans: regular, bold, italic).
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
extern const EmbeddedResource kEmbeddedFonts[];
extern const std::size_t kEmbeddedFontCount;

}  // namespace platform
