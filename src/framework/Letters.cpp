#include "framework/Letters.h"

#include "platform/Utf8.h"

namespace {

// Blocks where capital and small letter sit side by side: the capital on the
// even code (or the odd one, where Odd is set) and the small letter after it.
struct TPairRange {
  char32_t First, Last;
  bool Odd;
};
constexpr TPairRange PairRanges[] = {
    {0x0100, 0x012F, false}, {0x0132, 0x0137, false}, {0x0139, 0x0148, true},  {0x014A, 0x0177, false},
    {0x0179, 0x017E, true},  {0x01CD, 0x01DC, true},  {0x01DE, 0x01EF, false}, {0x01F8, 0x021F, false},
    {0x0222, 0x0233, false}, {0x03D8, 0x03EF, false}, {0x0460, 0x0481, false}, {0x048A, 0x04BF, false},
    {0x04C1, 0x04CE, true},  {0x04D0, 0x052F, false}, {0x1E00, 0x1E95, false}, {0x1EA0, 0x1EFF, false},
};

// Capitals of À..Þ and Ā..ž without their accents ('.' where there is none:
// Æ, Þ, Œ, Ĳ and the multiplication sign are letters or signs of their own).
constexpr char Latin1Base[] = "AAAAAA.CEEEEIIIIDNOOOOO.OUUUUY..";
constexpr char ExtendedABase[] = "AAAAAACCCCCCCCDDDDEEEEEEEEEEGGGGGGGGHHHHIIIIIIIIII..JJKK.LLLLLLLLLLNNNNNN...OOOOOO..RRRRRRSSSSSSSSTTTTTTUUUUUUUUUUUUWWYYYZZZZZZ.";

}  // namespace

char32_t UpperLetter(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0xB5) return 0x39C;
  if (c == 0x131) return 'I';
  if (c == 0x17F) return 'S';
  for (const TPairRange& r : PairRanges)
    if (c >= r.First && c <= r.Last) return ((c & 1) == (r.Odd ? 1u : 0u)) ? c : c - 1;
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if (c == 0x4CF) return 0x4C0;
  return c;
}

bool IsSmallLetter(char32_t c) { return c == 0xDF || UpperLetter(c) != c; }

bool IsLetterChar(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  if (c < 0xC0) return c == 0xB5;
  if (c <= 0x24F) return c != 0xD7 && c != 0xF7;
  if (c >= 0x386 && c <= 0x3FF) return c != 0x387 && c != 0x3F6;
  if (c >= 0x400 && c <= 0x52F) return c < 0x482 || c > 0x489;
  return c >= 0x1E00 && c <= 0x1EFF;
}

char32_t BaseLetter(char32_t c) {
  char base = '.';
  if (c >= 0xC0 && c <= 0xDF)
    base = Latin1Base[c - 0xC0];
  else if (c >= 0x100 && c < 0x100 + sizeof ExtendedABase - 1)
    base = ExtendedABase[c - 0x100];
  else if (c == 0x218 || c == 0x21A)  // Romanian comma-below S and T
    base = c == 0x218 ? 'S' : 'T';
  return base == '.' ? c : static_cast<char32_t>(base);
}

std::string UpperCaseText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf8(out, UpperLetter(NextChar(text, i)));
  return out;
}
