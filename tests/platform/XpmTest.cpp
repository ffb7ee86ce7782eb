// Reading the game's XPM pictures, well-formed and hostile.
#include <gtest/gtest.h>

#include <string>

#include "platform/Canvas.h"
#include "platform/Xpm.h"

namespace {

const char* GoodOneChar = R"(/* XPM */
static char * brick_xpm[] = {
/* width height colours chars-per-pixel */
"4 3 5 1",
"  c None",
". c #F00",
"x c #00ff80 s edge",
"o m white c #12345678ABCD",
"\" c YeLLoW",
/* pixels */
"  .x",
"o\"..",
"xxoo"};
)";

TEST(Xpm, ReadsOneCharacterPerPixel) {
  TBitmap b;
  std::string error = "stale";
  ASSERT_TRUE(ParseXpm(GoodOneChar, b, &error)) << error;
  EXPECT_TRUE(error.empty());
  ASSERT_EQ(b.Width(), 4);
  ASSERT_EQ(b.Height(), 3);
  const TColor none = 0, red = 0x0000FF, green = 0x80FF00, grey = 0xAB5612, yellow = 0x00FFFF;
  const std::vector<TColor> expected = {none, none, red, green, grey, yellow, red, red, green, green, grey, grey};
  EXPECT_EQ(b.Pixels(), expected);
}

TEST(Xpm, ReadsTwoCharactersPerPixelAndAHotspot) {
  const char* text = R"(/* XPM */
static const char *icon[] = {
"3 2 3 2 1 1",
"aa c black", "a  c #FFFFFF", "ba c blue",
"aaa ba", // line comments are skipped too
"baa aa"
};)";
  TBitmap b;
  std::string error;
  ASSERT_TRUE(ParseXpm(text, b, &error)) << error;
  const std::vector<TColor> expected = {0, 0xFFFFFF, 0xFF0000, 0xFF0000, 0xFFFFFF, 0};
  EXPECT_EQ(b.Pixels(), expected);
}

TEST(Xpm, RefusesMalformedTextWithAReason) {
  const std::string head = "/* XPM */\nstatic char *x[] = {\n";
  const std::pair<std::string, std::string> cases[] = {
      {"static char *x[] = {\"1 1 1 1\", \". c red\", \".\"};", "not an XPM file"},
      {"/* XPM", "unterminated comment"},
      {head, "ends before the header"},
      {head + "\"1 1 1", "unterminated string"},
      {head + "\"1 1\"", "header needs"},
      {head + "\"4097 1 1 1\"", "width is larger than 4096"},
      {head + "\"1 4097 1 1\"", "height is larger"},
      {head + "\"1 1 4097 1\"", "colours is larger"},
      {head + "\"1 1 1 3\"", "per pixel is larger"},
      {head + "\"1 -1 1 1\"", "height is not a number"},
      {head + "\"99999999999999999999 1 1 1\"", "width is larger"},
      {head + "\"0 1 1 1\"", "empty"},
      {head + "\"1 1 0 1\"", "no colours"},
      {head + "\"1 1 1 0\"", "zero characters"},
      {head + "\"1 1 1 1 junk\"", "unexpected words"},
      {head + "\"1 1 1 1\", \". c red\"", "too short"},
      {head + "\"2 2 1 1\", \". c red\", \"..\"      ", "ends before pixel row 2"},
      {head + "\"1 1 1 1\", \".\", \".\"", "colour line 1 is too short"},
      {head + "\"1 1 1 1\", \". red\", \".\"", "no colour key"},
      {head + "\"1 1 1 1\", \". m red\", \".\"", "no c key"},
      {head + "\"1 1 1 1\", \". c\", \".\"", "empty c key"},
      {head + "\"1 1 1 1\", \". c red c blue\", \".\"", "two c keys"},
      {head + "\"1 1 1 1\", \". c purple\", \".\"", "unknown colour name purple"},
      {head + "\"1 1 1 1\", \". c #12345\", \".\"", "bad colour"},
      {head + "\"1 1 1 1\", \". c #GG0000\", \".\"", "bad colour"},
      {head + "\"1 1 2 1\", \". c red\", \". c blue\", \".\"", "second time"},
      {head + "\"2 1 1 1\", \". c red\", \"...\"", "3 characters instead of 2"},
      {head + "\"2 1 1 1\", \". c red\", \".x\"", "undefined colour at column 2"},
      {head + "\"1 1 1 1\", /* open comment", "unterminated comment"},
      {head + "\"2 1 1 1\", \". c red\", \"..\n\"", "unterminated string"},
      // Promises 4096 × 4096 pixels in a few bytes: refused before allocating.
      {head + "\"4096 4096 1 2\", \"aa c red\", \"aaaa\"", "too short"},
  };
  for (const auto& [text, reason] : cases) {
    TBitmap b(2, 2);
    b.Pixels()[0] = 0x123456;
    std::string error;
    EXPECT_FALSE(ParseXpm(text, b, &error)) << text;
    EXPECT_NE(error.find(reason), std::string::npos) << text << "\n  gave: " << error;
    EXPECT_EQ(b.Width(), 2);  // left as it was
    EXPECT_EQ(b.Pixels()[0], 0x123456u);
  }
  TBitmap b;
  EXPECT_FALSE(ParseXpm(" \n", b));  // without an error string
  std::string error;
  EXPECT_FALSE(ParseXpm("", b, &error));
  EXPECT_EQ(error, "the text is empty");
}

// Every prefix and many single-byte corruptions of a good file: each is
// either read or refused, without a fault (the sanitizer build watches).
TEST(Xpm, SurvivesTruncationAndCorruption) {
  const std::string good = GoodOneChar;
  TBitmap b;
  int accepted = 0;
  for (size_t n = 0; n < good.size(); ++n) accepted += ParseXpm(good.substr(0, n), b);
  EXPECT_GT(accepted, 0);  // cutting off the closing "};" still reads
  const char replacements[] = {'"', '\\', '/', '*', '9', ' ', '\n', '\0', '#', 'c'};
  for (size_t i = 0; i < good.size(); ++i)
    for (char r : replacements) {
      std::string bad = good;
      bad[i] = r;
      std::string error;
      if (!ParseXpm(bad, b, &error)) {
        EXPECT_FALSE(error.empty());
      }
      EXPECT_LE(b.Width(), MaxXpmSide);
    }
}

}  // namespace
