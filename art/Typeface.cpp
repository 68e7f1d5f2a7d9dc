#include "art/Typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <array>
#include <cmath>
#include <string>

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/liberation2/";
constexpr std::array<const char*, 10> kFontFiles = {
    "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
    "LiberationSans-Italic.ttf",  "LiberationSans-BoldItalic.ttf",
    "LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf",
    "LiberationSerif-Italic.ttf", "LiberationSerif-BoldItalic.ttf",
    "LiberationMono-Regular.ttf", "LiberationMono-Bold.ttf",
};
constexpr float kSubpixels = 64.0f;  // FreeType's 26.6 fixed point

class Fonts {
 public:
  static Fonts& Instance() {
    static Fonts fonts;
    return fonts;
  }
  ~Fonts() {
    for (FT_Face face : faces_)
      if (face) FT_Done_Face(face);
    if (library_) FT_Done_FreeType(library_);
  }

  FT_Face Get(Face which, float size) {
    const auto index = static_cast<std::size_t>(which);
    if (!faces_[index]) {
      const std::string path = std::string(kFontFolder) + kFontFiles[index];
      if (FT_New_Face(library_, path.c_str(), 0, &faces_[index]) != 0) faces_[index] = nullptr;
    }
    FT_Face face = faces_[index];
    if (face) FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(size * kSubpixels)), 72, 72);
    return face;
  }

 private:
  Fonts() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  FT_Library library_ = nullptr;
  std::array<FT_Face, kFontFiles.size()> faces_{};
};

// Decodes UTF-8; the artwork only uses ASCII and a few Latin-1 characters.
std::u32string Decode(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 >= text.size()) {
      out.push_back(lead);
      ++i;
    } else {
      out.push_back(((lead & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
      i += 2;
    }
  }
  return out;
}

struct Placed {
  int x, y, width, rows;
  std::vector<unsigned char> bitmap;
};

}  // namespace

bool RenderText(const Type& type, std::string_view text, TextMask& mask) {
  FT_Face face = Fonts::Instance().Get(type.face, type.size);
  if (!face) return false;
  FT_Matrix scale{static_cast<FT_Fixed>(std::lround(type.stretch * 65536.0f)), 0, 0, 0x10000};
  FT_Set_Transform(face, &scale, nullptr);
  std::vector<Placed> glyphs;
  float pen = 0.0f;
  for (char32_t code : Decode(text)) {
    if (FT_Load_Char(face, code, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    const float whole = std::floor(pen);
    const auto fraction = static_cast<FT_Pos>(std::lround((pen - whole) * kSubpixels));
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_Translate(&slot->outline, fraction, 0);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && slot->bitmap.width > 0) {
      Placed p{static_cast<int>(whole) + slot->bitmap_left, slot->bitmap_top,
               static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows), {}};
      for (int row = 0; row < p.rows; ++row) {
        const unsigned char* line = slot->bitmap.buffer + row * slot->bitmap.pitch;
        p.bitmap.insert(p.bitmap.end(), line, line + p.width);
      }
      glyphs.push_back(std::move(p));
    }
    pen += static_cast<float>(slot->linearHoriAdvance) / 65536.0f * type.stretch + type.tracking;
  }
  if (!text.empty()) pen -= type.tracking;
  int left = 0, right = 0, top = 0, bottom = 0;
  for (const Placed& g : glyphs) {
    left = std::min(left, g.x);
    right = std::max(right, g.x + g.width);
    top = std::max(top, g.y);
    bottom = std::max(bottom, g.rows - g.y);
  }
  mask.left = left;
  mask.top = top;
  mask.width = right - left;
  mask.height = top + bottom;
  mask.advance = pen;
  mask.coverage.assign(static_cast<std::size_t>(mask.width) * mask.height, 0.0f);
  for (const Placed& g : glyphs)
    for (int row = 0; row < g.rows; ++row)
      for (int col = 0; col < g.width; ++col) {
        float& c = mask.coverage[static_cast<std::size_t>(top - g.y + row) * mask.width + g.x - left + col];
        c = std::min(1.0f, c + g.bitmap[static_cast<std::size_t>(row) * g.width + col] / 255.0f);
      }
  return true;
}

Type AtScale(Type type, int scale) {
  const float s = static_cast<float>(scale);
  type.size *= s;
  type.tracking *= s;
  return type;
}

float TextWidth(const Type& type, std::string_view text) {
  TextMask mask;
  return RenderText(type, text, mask) ? mask.advance : 0.0f;
}

Type FitText(Type type, std::string_view text, float width) {
  while (type.size > 6.0f && TextWidth(type, text) > width) type.size -= 0.25f;
  return type;
}

void DrawEngraved(Canvas& canvas, const Type& type, std::string_view text, float x,
                  float baseline, Align align, const Rgba& ink, const Rgba& edge) {
  DrawText(canvas, type, text, x, baseline + 1.0f, align, edge);
  DrawText(canvas, type, text, x, baseline, align, ink);
}
