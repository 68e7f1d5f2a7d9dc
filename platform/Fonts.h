// Text rasterised by the platform's font engine into a coverage mask that the editor's
// raster blends in its own colour: GDI on Windows, FreeType on Linux (Liberation Sans,
// whose metrics match "Arial").
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

struct FontSpec {
  std::string_view name;  // "Arial" in this editor
  int heightPx = 14;      // cell height (ascent + descent), which is also the line pitch
  bool bold = false;
  bool italic = false;
};

// One line of rendered text. Row 0 is the top of the line's cell; column 0 lies `left`
// pixels from the pen's start (negative when a glyph overhangs to the left).
struct TextMask {
  int left = 0;
  int advance = 0;  // pen advance over the whole line, used for alignment
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height values, 0 (none) to 255 (full)
};

// Renders one line of UTF-8 text (no line breaks) into mask, reusing its storage.
// False when no font can be loaded.
bool RenderTextLine(const FontSpec& font, std::string_view utf8, TextMask& mask);

}  // namespace platform
