#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "platform/Assets.h"
#include "platform/Canvas.h"
#include "platform/Utf8.h"

namespace {

constexpr const char* FontAsset = "fonts/ComicNeue-Bold.otf";
// Plenty for the game's sizes and the bullets' 72 angles; past this the cache
// starts over rather than growing without bound.
constexpr size_t MaxCachedInstances = 512;

// Windows-1252 characters 0x80 … 0x9F; the rest of the code page is Latin-1.
constexpr uint16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

FT_ULong CodePoint(char32_t c) { return (c >= 0x80 && c < 0xA0) ? Cp1252High[c - 0x80] : c; }

// The FreeType library and the one embedded face, opened on first use.
class TFaceLibrary {
 public:
  TFaceLibrary() {
    std::string_view data = EmbeddedAsset(FontAsset);
    if (data.empty()) {
      std::fprintf(stderr, "glyphfall: the font %s is missing from the program; text is not drawn\n", FontAsset);
      return;
    }
    if (FT_Init_FreeType(&library_) != 0) {
      std::fprintf(stderr, "glyphfall: FreeType could not start; text is not drawn\n");
      library_ = nullptr;
      return;
    }
    if (FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(data.data()), static_cast<FT_Long>(data.size()),
                           0, &face_) != 0) {
      std::fprintf(stderr, "glyphfall: the font %s cannot be read; text is not drawn\n", FontAsset);
      face_ = nullptr;
    }
  }
  ~TFaceLibrary() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }
  TFaceLibrary(const TFaceLibrary&) = delete;
  TFaceLibrary& operator=(const TFaceLibrary&) = delete;

  FT_Face Face() const { return face_; }

  // Sizes and turns the face for rendering glyphs of key.
  bool Prepare(const TFontKey& key) {
    if (!face_) return false;
    if (key.PixelHeight != sizeSet_) {
      if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(key.PixelHeight)) != 0) return false;
      sizeSet_ = key.PixelHeight;
    }
    if (key.Angle == 0) {
      FT_Set_Transform(face_, nullptr, nullptr);
    } else {
      double radians = key.Angle * 3.14159265358979323846 / 1800.0;
      FT_Fixed c = static_cast<FT_Fixed>(std::lround(std::cos(radians) * 65536.0));
      FT_Fixed s = static_cast<FT_Fixed>(std::lround(std::sin(radians) * 65536.0));
      FT_Matrix m{c, -s, s, c};
      FT_Set_Transform(face_, &m, nullptr);
    }
    return true;
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  int sizeSet_ = -1;
};

TFaceLibrary& Library() {
  static TFaceLibrary library;
  return library;
}

struct TFontKeyHash {
  size_t operator()(const TFontKey& k) const {
    size_t h = static_cast<size_t>(k.Face);
    h = h * 1000003u ^ static_cast<size_t>(k.PixelHeight);
    h = h * 1000003u ^ static_cast<size_t>(k.Angle);
    return h * 4u + (k.Bold ? 2u : 0u) + (k.Smooth ? 1u : 0u);
  }
};

struct TFontCache {
  std::unordered_map<TFontKey, std::unique_ptr<TFontInstance>, TFontKeyHash> instances;
  TFontInstance* last = nullptr;
};

TFontCache& Cache() {
  static TFontCache cache;
  return cache;
}

// Describes where a mask has ink. Monochrome masks become runs of full
// coverage, which are plain fills. Smooth masks become one span per row from
// its first to its last inked pixel, blended straight through: a blend with
// coverage 0 or 255 is exact, and a steady loop beats branching on every
// short run of edge pixels.
void BuildSpans(TGlyph& g, bool smooth) {
  for (int y = 0; y < g.Height; ++y) {
    const uint8_t* row = g.Mask.data() + static_cast<size_t>(y) * g.Width;
    if (smooth) {
      int first = 0, last = g.Width - 1;
      while (first < g.Width && row[first] == 0) ++first;
      if (first == g.Width) continue;
      while (row[last] == 0) --last;
      bool opaque = true;
      for (int x = first; x <= last; ++x) opaque = opaque && row[x] == 255;
      g.Spans.push_back(TGlyphSpan{static_cast<uint16_t>(y), static_cast<uint16_t>(first),
                                   static_cast<uint16_t>(last - first + 1), opaque});
      continue;
    }
    int x = 0;
    while (x < g.Width) {
      if (row[x] == 0) {
        ++x;
        continue;
      }
      int end = x + 1;
      while (end < g.Width && row[end] != 0) ++end;
      g.Spans.push_back(
          TGlyphSpan{static_cast<uint16_t>(y), static_cast<uint16_t>(x), static_cast<uint16_t>(end - x), true});
      x = end;
    }
  }
}

int ScaleUnits(int units, int pixelHeight, int unitsPerEm) {
  if (unitsPerEm <= 0) return 0;
  int64_t v = static_cast<int64_t>(units) * pixelHeight;
  return static_cast<int>((v + unitsPerEm / 2) / unitsPerEm);
}

}  // namespace

// MulDiv(points, 96, 72), rounded half away from zero as MulDiv rounds.
int TFont::PixelHeight() const {
  int64_t n = static_cast<int64_t>(Size) * 96;
  int64_t q = (n >= 0 ? n + 36 : n - 36) / 72;
  return static_cast<int>(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
}

TFontInstance::TFontInstance(const TFontKey& key) : key_(key) {
  FT_Face face = Library().Face();
  if (!face) {
    // No font: keep a plausible cell so layout still works.
    ascent_ = key.PixelHeight - key.PixelHeight / 5;
    descent_ = key.PixelHeight / 4;
    return;
  }
  int up = face->units_per_EM;
  int ascender = face->ascender;
  int descender = -face->descender;
  // The desktop sizes a cell by the Windows metrics of the OS/2 table, which
  // include the internal leading above the em.
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascender = os2->usWinAscent;
    descender = os2->usWinDescent;
  }
  ascent_ = ScaleUnits(ascender, key.PixelHeight, up);
  descent_ = ScaleUnits(descender, key.PixelHeight, up);
}

TFontInstance::~TFontInstance() = default;

int64_t TFontInstance::TextWidth(std::string_view text) {
  int64_t width = 0;
  for (size_t i = 0; i < text.size();) width += Glyph(NextChar(text, i)).Advance;
  return width;
}

const TGlyph& TFontInstance::Render(char32_t c) {
  auto glyph = std::make_unique<TGlyph>();
  auto keep = [&]() -> const TGlyph& {
    std::unique_ptr<TGlyph>& slot = c < glyphs_.size() ? glyphs_[c] : moreGlyphs_[c];
    slot = std::move(glyph);
    return *slot;
  };
  TFaceLibrary& library = Library();
  if (!library.Prepare(key_)) {
    glyph->Advance = key_.PixelHeight / 2;
    return keep();
  }
  FT_Face face = library.Face();
  FT_UInt index = FT_Get_Char_Index(face, CodePoint(c));
  FT_Int32 flags = FT_LOAD_NO_BITMAP | (key_.Smooth ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO);
  if (FT_Load_Glyph(face, index, flags) == 0) {
    FT_GlyphSlot slot = face->glyph;
    // The unhinted advance, rounded: the same for every quality and angle, so
    // measuring never depends on how the text will be drawn.
    glyph->Advance = static_cast<int>((slot->linearHoriAdvance + 0x8000) >> 16);
    if (FT_Render_Glyph(slot, key_.Smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) == 0) {
      const FT_Bitmap& bm = slot->bitmap;
      int w = static_cast<int>(bm.width);
      int h = static_cast<int>(bm.rows);
      if (w > 0 && h > 0 && w <= UINT16_MAX && h <= UINT16_MAX && bm.buffer && bm.pitch > 0) {
        glyph->Left = slot->bitmap_left;
        glyph->Top = -slot->bitmap_top;
        glyph->Width = w;
        glyph->Height = h;
        glyph->Mask.resize(static_cast<size_t>(w) * h);
        uint8_t* out = glyph->Mask.data();
        for (int y = 0; y < h; ++y) {
          const uint8_t* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
          if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < w; ++x) *out++ = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
          } else {
            std::copy(row, row + w, out);
            out += w;
          }
        }
        BuildSpans(*glyph, bm.pixel_mode != FT_PIXEL_MODE_MONO);
      }
    }
  }
  return keep();
}

bool FontHasChar(char32_t c) {
  FT_Face face = Library().Face();
  return face && FT_Get_Char_Index(face, CodePoint(c)) != 0;
}

TFontInstance& ResolveFont(const TFont& font) {
  TFontKey key;
  key.Face = 0;  // every face name maps to the embedded font
  // A negative size means the same em as the positive one, as on the desktop.
  int64_t pixels = font.PixelHeight();
  key.PixelHeight = static_cast<int>(std::clamp<int64_t>(pixels < 0 ? -pixels : pixels, 1, MaxFontPixelHeight));
  key.Bold = font.Bold;
  key.Smooth = font.Smooth;
  key.Angle = ((font.Angle % 3600) + 3600) % 3600;

  TFontCache& cache = Cache();
  if (cache.last && cache.last->Key() == key) return *cache.last;
  auto it = cache.instances.find(key);
  if (it == cache.instances.end()) {
    if (cache.instances.size() >= MaxCachedInstances) cache.instances.clear();
    it = cache.instances.emplace(key, std::make_unique<TFontInstance>(key)).first;
  }
  cache.last = it->second.get();
  return *cache.last;
}

void ClearFontCache() {
  TFontCache& cache = Cache();
  cache.last = nullptr;
  cache.instances.clear();
}
