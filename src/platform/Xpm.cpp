#include "platform/Xpm.h"

#include <array>
#include <cstdint>
#include <vector>

#include "platform/Canvas.h"

namespace {

struct TXpmError {
  std::string Message;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::vector<std::string_view> SplitBlanks(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

// Walks the C source, handing out the contents of its string literals in
// order and skipping comments and everything else between them.
class TStringScanner {
 public:
  explicit TStringScanner(std::string_view text) : text_(text) {}

  size_t Remaining() const { return text_.size() - pos_; }

  // The "/* XPM */" comment that opens every XPM file.
  void ExpectMagic() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    if (pos_ == text_.size()) throw TXpmError{"the text is empty"};
    if (text_.substr(pos_, 2) != "/*") throw TXpmError{"not an XPM file: it does not start with /* XPM */"};
    size_t end = text_.find("*/", pos_ + 2);
    if (end == std::string_view::npos) throw TXpmError{"unterminated comment at the start"};
    auto words = SplitBlanks(text_.substr(pos_ + 2, end - pos_ - 2));
    if (words.size() != 1 || words[0] != "XPM") throw TXpmError{"not an XPM file: it does not start with /* XPM */"};
    pos_ = end + 2;
  }

  // The next string literal's contents; what stands for which line is said
  // by `what` in error messages.
  void Next(std::string& out, const std::string& what) {
    out.clear();
    for (;;) {
      if (pos_ >= text_.size()) throw TXpmError{"the text ends before " + what};
      char c = text_[pos_];
      if (c == '"') break;
      if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
        size_t end = text_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) throw TXpmError{"unterminated comment before " + what};
        pos_ = end + 2;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        size_t end = text_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
      } else {
        ++pos_;
      }
    }
    ++pos_;  // the opening quote
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') throw TXpmError{"unterminated string in " + what};
      char c = text_[pos_++];
      if (c == '"') return;
      if (c == '\\') {
        if (pos_ >= text_.size() || text_[pos_] == '\n') throw TXpmError{"unterminated string in " + what};
        c = text_[pos_++];
      }
      out.push_back(c);
    }
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// A whole decimal number within 0 … limit.
int ParseCount(std::string_view word, int limit, const char* name) {
  if (word.empty()) throw TXpmError{std::string("missing ") + name};
  int64_t v = 0;
  for (char c : word) {
    if (c < '0' || c > '9') throw TXpmError{std::string("the ") + name + " is not a number: " + std::string(word)};
    v = v * 10 + (c - '0');
    if (v > limit) throw TXpmError{std::string("the ") + name + " is larger than " + std::to_string(limit)};
  }
  return static_cast<int>(v);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

TColor ParseColour(std::string_view value) {
  if (!value.empty() && value[0] == '#') {
    std::string_view hex = value.substr(1);
    for (char c : hex)
      if (HexDigit(c) < 0) throw TXpmError{"bad colour " + std::string(value)};
    size_t digits = hex.size() / 3;
    if (hex.size() != 3 && hex.size() != 6 && hex.size() != 12) throw TXpmError{"bad colour " + std::string(value)};
    uint32_t channel[3];
    for (int i = 0; i < 3; ++i) {
      // The most significant byte of each channel; one digit d stands for dd.
      int hi = HexDigit(hex[i * digits]);
      int lo = digits == 1 ? hi : HexDigit(hex[i * digits + 1]);
      channel[i] = static_cast<uint32_t>(hi * 16 + lo);
    }
    return channel[0] | (channel[1] << 8) | (channel[2] << 16);
  }
  struct TNamed {
    const char* Name;
    TColor Colour;
  };
  static constexpr TNamed Names[] = {{"none", 0},         {"black", 0},       {"white", 0xFFFFFF}, {"red", 0x0000FF},
                                     {"green", 0x00FF00}, {"blue", 0xFF0000}, {"yellow", 0x00FFFF}};
  for (const TNamed& n : Names)
    if (EqualsNoCase(value, n.Name)) return n.Colour;
  throw TXpmError{"unknown colour name " + std::string(value)};
}

bool IsKey(std::string_view word) { return word == "c" || word == "m" || word == "s" || word == "g" || word == "g4"; }

// The colour of a colour line's "c" key (the part after the pixel characters).
TColor ColourOfLine(std::string_view rest, const std::string& what) {
  auto words = SplitBlanks(rest);
  if (words.empty() || !IsKey(words[0])) throw TXpmError{what + " has no colour key"};
  std::string value;
  bool inColourKey = false, found = false;
  for (std::string_view word : words) {
    if (IsKey(word)) {
      if (word == "c" && found) throw TXpmError{what + " has two c keys"};
      inColourKey = word == "c";
      found = found || inColourKey;
      continue;
    }
    if (!inColourKey) continue;
    if (!value.empty()) value.push_back(' ');
    value.append(word);
  }
  if (!found) throw TXpmError{what + " has no c key"};
  if (value.empty()) throw TXpmError{what + " has an empty c key"};
  return ParseColour(value);
}

int KeyOf(const char* chars, int cpp) {
  int k = static_cast<unsigned char>(chars[0]);
  if (cpp == 2) k = k << 8 | static_cast<unsigned char>(chars[1]);
  return k;
}

void Parse(std::string_view text, int& width, int& height, std::vector<uint32_t>& pixels) {
  TStringScanner scanner(text);
  scanner.ExpectMagic();
  std::string line;
  scanner.Next(line, "the header");
  auto words = SplitBlanks(line);
  // width height colours chars-per-pixel [hotspot x y] [XPMEXT]
  if (words.size() < 4) throw TXpmError{"the header needs width, height, colours and characters per pixel"};
  width = ParseCount(words[0], MaxXpmSide, "width");
  height = ParseCount(words[1], MaxXpmSide, "height");
  int colours = ParseCount(words[2], MaxXpmColours, "number of colours");
  int cpp = ParseCount(words[3], MaxXpmCharsPerPixel, "number of characters per pixel");
  size_t extra = 4;
  if (words.size() >= 6 && words[4] != "XPMEXT") {
    ParseCount(words[4], MaxXpmSide, "hotspot x");
    ParseCount(words[5], MaxXpmSide, "hotspot y");
    extra = 6;
  }
  if (extra < words.size() && words[extra] == "XPMEXT") ++extra;
  if (extra != words.size()) throw TXpmError{"unexpected words in the header"};
  if (width == 0 || height == 0) throw TXpmError{"the picture is empty"};
  if (colours == 0) throw TXpmError{"the picture has no colours"};
  if (cpp == 0) throw TXpmError{"zero characters per pixel"};

  // A key per possible character (pair), marked defined by the top bit.
  constexpr uint32_t Defined = 0x80000000u;
  std::vector<uint32_t> table(size_t{1} << (8 * cpp), 0);
  for (int i = 0; i < colours; ++i) {
    std::string what = "colour line " + std::to_string(i + 1);
    scanner.Next(line, what);
    if (static_cast<int>(line.size()) <= cpp) throw TXpmError{what + " is too short"};
    int key = KeyOf(line.data(), cpp);
    if (table[key] & Defined) throw TXpmError{what + " defines its characters a second time"};
    table[key] = ColourOfLine(std::string_view(line).substr(cpp), what) | Defined;
  }

  // Every pixel takes at least cpp characters of text, so a header that
  // promises more than the text holds is refused before allocating for it.
  const size_t rowChars = static_cast<size_t>(width) * cpp;
  if (scanner.Remaining() < rowChars * height) throw TXpmError{"the text is too short for the picture's size"};
  pixels.assign(static_cast<size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    std::string what = "pixel row " + std::to_string(y + 1);
    scanner.Next(line, what);
    if (line.size() != rowChars)
      throw TXpmError{what + " has " + std::to_string(line.size()) + " characters instead of " +
                      std::to_string(rowChars)};
    uint32_t* out = pixels.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      uint32_t entry = table[KeyOf(line.data() + static_cast<size_t>(x) * cpp, cpp)];
      if (!(entry & Defined)) throw TXpmError{what + " uses an undefined colour at column " + std::to_string(x + 1)};
      out[x] = entry & ~Defined;
    }
  }
}

}  // namespace

bool ParseXpm(std::string_view fileText, TBitmap& out, std::string* error) {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  try {
    Parse(fileText, width, height, pixels);
  } catch (const TXpmError& e) {
    if (error) *error = e.Message;
    return false;
  }
  out.SetSize(width, height);
  out.Pixels() = std::move(pixels);
  if (error) error->clear();
  return true;
}
