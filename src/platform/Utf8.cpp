#include "platform/Utf8.h"

namespace {

// Length and value of the well-formed sequence at text[i], or 0 when there
// is none (a stray continuation byte, an overlong form, a surrogate, a cut).
size_t Decode(std::string_view text, size_t i, char32_t& out) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char b = byte(i);
  if (b < 0x80) {
    out = b;
    return 1;
  }
  size_t n;
  char32_t c, least;
  if ((b & 0xE0) == 0xC0) {
    n = 2, c = b & 0x1F, least = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, c = b & 0x0F, least = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, c = b & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  out = c;
  return n;
}

}  // namespace

char32_t NextChar(std::string_view text, size_t& i) {
  char32_t c = 0;
  size_t n = Decode(text, i, c);
  if (n == 0) {
    c = static_cast<unsigned char>(text[i]);
    n = 1;
  }
  i += n;
  return c;
}

size_t CharBytes(std::string_view text, size_t i) {
  if (i >= text.size()) return 0;
  char32_t c;
  size_t n = Decode(text, i, c);
  return n == 0 ? 1 : n;
}

size_t CharCount(std::string_view text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); i += CharBytes(text, i)) ++n;
  return n;
}

size_t CharOffset(std::string_view text, size_t n) {
  size_t i = 0;
  for (; n > 0 && i < text.size(); --n) i += CharBytes(text, i);
  return i;
}

bool IsValidUtf8(std::string_view text) {
  char32_t c;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    size_t n = Decode(text, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
