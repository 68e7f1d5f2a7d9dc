#include "platform/Fonts.h"

#include "platform/linux/ResourcesEmbedded.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

namespace platform {
namespace {

constexpr int kMaxHeightPx = 512;
constexpr char32_t kReplacementCharacter = 0xFFFD;

// Liberation Sans, compiled in (it has the metrics of "Arial"), so text draws the same on
// every distribution. Every family name maps to it: the editor asks for "Arial" only.
// Variants are numbered bold + 2 * italic; bold italic, which the editor never asks for,
// draws in bold.
constexpr int kBoldItalic = 3;
constexpr int kBold = 1;

struct Glyph {
  int left = 0;     // bitmap's first column relative to the pen
  int top = 0;      // bitmap's first row above the baseline
  int width = 0;
  int rows = 0;
  int advance = 0;  // whole pixels
  std::vector<std::uint8_t> bitmap;
};

struct PlacedGlyph {
  int pen;
  const Glyph* glyph;
};

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || lead >= 0xF8 || pos + extra > text.size()) return kReplacementCharacter;
  char32_t code = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos]);
    if ((next & 0xC0) != 0x80) return kReplacementCharacter;
    code = (code << 6) | (next & 0x3F);
    ++pos;
  }
  return code;
}

// Glyph bitmaps are cached per style, size and character: the editor redraws the same few
// strings on every repaint.
class FontEngine {
 public:
  static FontEngine& Instance() {
    static FontEngine engine;
    return engine;
  }
  ~FontEngine() {
    for (FT_Face face : faces_)
      if (face) FT_Done_Face(face);
    if (library_) FT_Done_FreeType(library_);
  }

  bool Render(const FontSpec& font, std::string_view text, TextMask& mask) {
    if (font.heightPx <= 0 || font.heightPx > kMaxHeightPx) return false;
    std::lock_guard<std::mutex> hold(lock_);
    const int variant = (font.bold ? 1 : 0) + (font.italic ? 2 : 0);
    FT_Face face = Face(variant);
    if (!face) return false;
    const int baseline = SetCellHeight(face, variant, font.heightPx);
    PlaceGlyphs(face, variant, font.heightPx, text);
    FillMask(font.heightPx, baseline, mask);
    return true;
  }

 private:
  FT_Face Face(int variant) {
    if (!library_ && FT_Init_FreeType(&library_) != 0) library_ = nullptr;
    if (!library_) return nullptr;
    if (faces_[variant]) return faces_[variant];
    const int embedded = variant == kBoldItalic ? kBold : variant;
    if (static_cast<std::size_t>(embedded) >= kEmbeddedFontCount) return nullptr;
    const EmbeddedResource& font = kEmbeddedFonts[embedded];
    if (FT_New_Memory_Face(library_, font.data, static_cast<FT_Long>(font.size), 0,
                           &faces_[variant]) != 0)
      faces_[variant] = nullptr;
    return faces_[variant];
  }

  // Sizes the face so that ascent + descent (Windows' cell height) is heightPx, as GDI
  // does for a positive font height; returns the baseline's row within the cell.
  int SetCellHeight(FT_Face face, int variant, int heightPx) {
    long ascent = face->ascender;
    long cell = face->ascender - face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
      ascent = os2->usWinAscent;
      cell = os2->usWinAscent + os2->usWinDescent;
    }
    if (cell <= 0) cell = face->units_per_EM;
    if (sizedHeight_[variant] != heightPx) {
      const FT_F26Dot6 em = heightPx * 64L * face->units_per_EM / cell;
      FT_Set_Char_Size(face, 0, em, 72, 72);
      sizedHeight_[variant] = heightPx;
    }
    return static_cast<int>((heightPx * ascent + cell / 2) / cell);
  }

  const Glyph* FindGlyph(FT_Face face, int variant, int heightPx, char32_t code) {
    const auto key = std::make_tuple(variant, heightPx, code);
    auto found = glyphs_.find(key);
    if (found != glyphs_.end()) return &found->second;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return nullptr;
    const FT_GlyphSlot slot = face->glyph;
    Glyph glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.bitmap.resize(static_cast<std::size_t>(glyph.width) * glyph.rows);
    for (int row = 0; row < glyph.rows; ++row) {
      const unsigned char* source = slot->bitmap.buffer + row * slot->bitmap.pitch;
      std::copy(source, source + glyph.width, glyph.bitmap.begin() + row * glyph.width);
    }
    return &glyphs_.emplace(key, std::move(glyph)).first->second;
  }

  void PlaceGlyphs(FT_Face face, int variant, int heightPx, std::string_view text) {
    placed_.clear();
    int pen = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      const Glyph* glyph = FindGlyph(face, variant, heightPx, NextCodePoint(text, pos));
      if (!glyph) continue;
      placed_.push_back({pen, glyph});
      pen += glyph->advance;
    }
    advance_ = pen;
  }

  void FillMask(int heightPx, int baseline, TextMask& mask) const {
    int first = 0;
    int last = advance_;
    for (const PlacedGlyph& p : placed_) {
      first = std::min(first, p.pen + p.glyph->left);
      last = std::max(last, p.pen + p.glyph->left + p.glyph->width);
    }
    mask.left = first;
    mask.advance = advance_;
    mask.width = last - first;
    mask.height = heightPx;
    mask.coverage.assign(static_cast<std::size_t>(mask.width) * mask.height, 0);
    for (const PlacedGlyph& p : placed_) {
      const Glyph& g = *p.glyph;
      const int x0 = p.pen + g.left - first;
      for (int row = 0; row < g.rows; ++row) {
        const int y = baseline - g.top + row;
        if (y < 0 || y >= mask.height) continue;
        std::uint8_t* target = mask.coverage.data() + y * mask.width + x0;
        const std::uint8_t* source = g.bitmap.data() + row * g.width;
        for (int col = 0; col < g.width; ++col) target[col] = std::max(target[col], source[col]);
      }
    }
  }

  std::mutex lock_;
  FT_Library library_ = nullptr;
  FT_Face faces_[4] = {};
  int sizedHeight_[4] = {};
  std::map<std::tuple<int, int, char32_t>, Glyph> glyphs_;
  std::vector<PlacedGlyph> placed_;
  int advance_ = 0;
};

}  // namespace

bool RenderTextLine(const FontSpec& font, std::string_view utf8, TextMask& mask) {
  return FontEngine::Instance().Render(font, utf8, mask);
}

}  // namespace platform
