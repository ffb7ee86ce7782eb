// UTF-8 text, one character at a time. The game's texts are UTF-8; a byte
// that does not start a well-formed sequence stands for itself as an 8-bit
// character, so older 8-bit texts still show as they did.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The character at text[i], which must be inside text; i moves past it.
char32_t NextChar(std::string_view text, size_t& i);
// How many bytes the character at text[i] takes (0 at the end).
size_t CharBytes(std::string_view text, size_t i);
// Number of characters in text.
size_t CharCount(std::string_view text);
// Byte offset of the character with index n (text.size() when n is past the end).
size_t CharOffset(std::string_view text, size_t n);
// True when all of text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);
void AppendUtf8(std::string& out, char32_t c);
inline bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
// The bytes of the character at text[i] (empty at the end).
inline std::string_view CharAt(std::string_view text, size_t i) { return text.substr(i, CharBytes(text, i)); }
