// Fonts for the canvas: FreeType faces behind a cache of rendered glyphs.
//
// Every face name resolves to the Comic Neue Bold font compiled into the
// program. A font instance is one (face, pixel size, weight, quality, angle)
// combination; its glyphs are rendered on first use and kept as 8-bit coverage
// masks, so drawing a text is a table lookup and a blend per glyph.
//
// Texts are UTF-8; a byte outside a well-formed sequence is one Windows-1252
// character, as the game's older 8-bit texts were. The cache is used from the
// game thread only.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TFont;

// A stretch of one mask row holding all the row's ink (or, for monochrome
// glyphs, one run of it): filled when fully covered, else blended. Pixels
// outside every span are empty and never visited.
struct TGlyphSpan {
  uint16_t Row = 0;
  uint16_t Left = 0;
  uint16_t Length = 0;
  bool Opaque = false;  // every pixel of the span has coverage 255
};

// One rendered glyph. The mask is placed relative to the pen position on the
// baseline: its top-left pixel sits at (pen x + Left, baseline y + Top).
struct TGlyph {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Advance = 0;                // whole pixels along the baseline
  std::vector<uint8_t> Mask;      // Width * Height coverage values, 0 … 255
  std::vector<TGlyphSpan> Spans;  // the mask's runs, top row first
};

struct TFontKey {
  int Face = 0;         // index of the resolved face
  int PixelHeight = 0;  // em size in pixels
  bool Bold = false;
  bool Smooth = false;
  int Angle = 0;  // tenths of a degree, 0 … 3599
  friend bool operator==(const TFontKey&, const TFontKey&) = default;
};

class TFontInstance {
 public:
  explicit TFontInstance(const TFontKey& key);
  ~TFontInstance();
  TFontInstance(const TFontInstance&) = delete;
  TFontInstance& operator=(const TFontInstance&) = delete;

  const TFontKey& Key() const { return key_; }
  // Cell metrics in pixels, GDI style: the cell is Ascent + Descent high and
  // the baseline lies Ascent below its top.
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }

  const TGlyph& Glyph(char32_t c) {
    const TGlyph* g = c < glyphs_.size() ? glyphs_[c].get() : nullptr;
    return g ? *g : Render(c);
  }
  // Sum of the advances of text.
  int64_t TextWidth(std::string_view text);

 private:
  const TGlyph& Render(char32_t c);

  TFontKey key_;
  int ascent_ = 0;
  int descent_ = 0;
  std::array<std::unique_ptr<TGlyph>, 256> glyphs_;
  // Letters beyond the first 256 (accented letters of other alphabets).
  std::unordered_map<char32_t, std::unique_ptr<TGlyph>> moreGlyphs_;
};

// True when the game's font has a glyph of its own for the character.
bool FontHasChar(char32_t c);

// The instance for a font definition, from the process-wide cache. The
// reference stays valid until the next call of ResolveFont.
TFontInstance& ResolveFont(const TFont& font);

// Drops every cached instance (tests use it to measure a cold cache).
void ClearFontCache();

// Largest em size the cache renders; larger requests are drawn at this size.
constexpr int MaxFontPixelHeight = 1024;
