#include "dictionary/DictionaryUnit.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "framework/Letters.h"
#include "framework/Utils.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Utf8.h"

namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

unsigned char LowerAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// FNV-1a over the lower-cased bytes.
size_t HashIgnoringCase(std::string_view text) {
  uint64_t h = 1469598103934665603ull;
  for (char c : text) h = (h ^ LowerAscii(static_cast<unsigned char>(c))) * 1099511628211ull;
  return static_cast<size_t>(h);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(static_cast<unsigned char>(a[i])) != LowerAscii(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// The file as the user would look for it: its full path where that can be
// worked out, else the name as given.
std::string DisplayName(const std::string& fileName) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(fileName, ec);
  return ec ? fileName : p.string();
}

[[noreturn]] void Fail(const EFileError& e) { throw EFOpenError(e.what()); }

}  // namespace

TDictionary::TDictionary() : TDictionary(DictionaryFileName) {}

TDictionary::TDictionary(const std::string& fileName) {
  LoadFromFile(fileName);
  AddSingleLetters();
}

TDictionary::TDictionary(const std::string& fileName, TListKind kind) : kind_(kind) {
  if (kind == TListKind::Bundled) {
    LoadFromFile(fileName);
    AddSingleLetters();
    return;
  }
  LoadOtherList(fileName);
  if (Count() < MinOtherWords)
    throw EWordListError(DisplayName(fileName) + " has " + std::to_string(Count()) + " usable words; at least " +
                         std::to_string(MinOtherWords) + " are needed");
}

int TDictionary::FindIndex(std::string_view text, size_t hash) const {
  if (slots_.empty()) return -1;
  size_t mask = slots_.size() - 1;
  const uint32_t tag = TagOf(hash);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = slots_[i];
    if (slot.Index < 0) return -1;
    // The tag settles almost every mismatch without touching the entry.
    if (slot.Tag == tag && EqualIgnoringCase(Items(slot.Index)->Text, text)) return slot.Index;
  }
}

void TDictionary::InsertIndex(int index, size_t hash) {
  size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].Index >= 0) i = (i + 1) & mask;
  slots_[i] = TSlot{index, TagOf(hash)};
}

void TDictionary::Grow() {
  // Kept at most half full, so probes stay short.
  size_t size = std::max<size_t>(64, slots_.size() * 2);
  slots_.assign(size, TSlot{});
  for (int i = 0; i < Count(); ++i) InsertIndex(i, HashIgnoringCase(Items(i)->Text));
}

bool TDictionary::Contains(std::string_view text) const {
  std::string trimmed = Trim(text);
  return FindIndex(trimmed, HashIgnoringCase(trimmed)) >= 0;
}

bool TDictionary::AddWord(std::string_view text) { return IsWordText(text) && AddHashed(text, HashIgnoringCase(text)); }

// The three tests (not empty, letters only, not yet present) decide together,
// so the cheap ones go first: a text of letters only has nothing to trim, and
// one look-up both tests and records it.
bool TDictionary::IsWordText(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsAsciiLetter(static_cast<unsigned char>(c))) return false;
  return true;
}

bool TDictionary::AddHashed(std::string_view text, size_t hash) {
  if (FindIndex(text, hash) >= 0) return false;
  if (static_cast<size_t>(Count() + 1) * 2 > slots_.size()) Grow();
  AddObject(new TWord(std::string(text)));
  InsertIndex(Count() - 1, hash);
  return true;
}

TWord* TDictionary::RandomWord() const { return Items(Random(Count())); }

void TDictionary::AddSingleLetters() {
  for (char c = 'A'; c <= 'Z'; ++c) AddWord(std::string_view(&c, 1));
}

// Lines end at CR, at LF or at CR LF; the empty "line" between CR and LF is
// dropped like any empty line. A NUL ends the text.
void TDictionary::LoadFromFile(const std::string& fileName) {
  // Opened by its full path, so that a message names the file where the
  // player can find it. A FIFO or a device in its place is refused at once.
  std::unique_ptr<TReadFile> file;
  try {
    file = std::make_unique<TReadFile>(DisplayName(fileName));
  } catch (const EFileError& e) {
    Fail(e);
  }
  // Room for about one word per eight bytes, so the table rarely regrows.
  if (Count() == 0) {
    size_t expected = std::min<size_t>(static_cast<size_t>(std::max<int64_t>(file->Size(), 0)) / 8, MaxFileWords);
    size_t slots = 64;
    while (slots < expected * 2) slots *= 2;
    slots_.assign(slots, TSlot{});
  }

  // A line is usually taken straight from the read buffer; only one that
  // runs across two reads is gathered in `line`.
  std::string line;
  bool tooLong = false;
  auto addPiece = [&](const char* from, size_t length) {
    if (tooLong) return;
    if (line.size() + length > MaxWordLength)
      tooLong = true;
    else
      line.append(from, length);
  };

  // Lines taken from the buffer wait in a small batch: their table slots are
  // asked for together, so that the cache misses of a large list overlap
  // instead of coming one line at a time. They are added in file order.
  struct TPending {
    std::string_view Text;
    size_t Hash;
  };
  constexpr size_t BatchSize = 32;
  TPending batch[BatchSize];
  size_t pending = 0;
  auto flush = [&] {
    for (size_t k = 0; k < pending; ++k) {
      TPending& p = batch[k];
      if (!IsWordText(p.Text)) {
        p.Text = {};
        continue;
      }
      p.Hash = HashIgnoringCase(p.Text);
      if (!slots_.empty()) __builtin_prefetch(&slots_[p.Hash & (slots_.size() - 1)]);
    }
    for (size_t k = 0; k < pending && Count() < MaxFileWords; ++k)
      if (!batch[k].Text.empty()) AddHashed(batch[k].Text, batch[k].Hash);
    pending = 0;
  };
  auto endLine = [&] {
    flush();  // everything before this line goes first
    if (!tooLong && Count() < MaxFileWords) AddWord(line);
    line.clear();
    tooLong = false;
  };

  char buffer[1 << 16];
  size_t total = 0;
  bool ended = false;
  while (!ended && total < MaxFileBytes && Count() < MaxFileWords) {
    size_t want = std::min(sizeof buffer, MaxFileBytes - total);
    size_t got = 0;
    try {
      got = file->Read(buffer, want);
    } catch (const EFileError& e) {
      Fail(e);
    }
    if (got == 0) break;
    total += got;
    size_t i = 0;
    while (i < got) {
      size_t end = i;
      while (end < got && buffer[end] != '\n' && buffer[end] != '\r' && buffer[end] != '\0') ++end;
      if (end == got) {  // the line goes on in the next read
        addPiece(buffer + i, end - i);
        break;
      }
      if (line.empty() && !tooLong) {
        if (end - i <= MaxWordLength) {
          batch[pending++] = TPending{std::string_view(buffer + i, end - i), 0};
          if (pending == BatchSize) flush();
        }
      } else {
        addPiece(buffer + i, end - i);
        endLine();
      }
      if (buffer[end] == '\0') {
        ended = true;
        break;
      }
      i = end + 1;
    }
    flush();  // the batch points into the buffer, which the next read overwrites
  }
  // A final line without a line break counts too.
  if (Count() < MaxFileWords) endLine();
}

namespace {

// Whether the font draws a letter, asked of the font once per letter.
class TDrawableLetters {
 public:
  bool Has(char32_t c) {
    if (c >= Known.size()) return false;
    if (Known[c] == 0) Known[c] = IsLetterChar(c) && FontHasChar(c) ? 1 : 2;
    return Known[c] == 1;
  }

 private:
  std::vector<uint8_t> Known = std::vector<uint8_t>(0x2000, 0);  // 0: not asked yet
};

// Calls onLine for every line of the file up to limit bytes (CR, LF or
// CR LF end a line; the last one needs no end). Lines longer than maxLength
// are passed cut to that length, which no word survives.
template <class F>
void ForEachLine(TReadFile& file, int64_t limit, size_t maxLength, F onLine) {
  std::vector<char> buffer(1 << 16);
  std::string carry;
  int64_t total = 0;
  bool lastWasCr = false;
  while (total < limit) {
    size_t want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(buffer.size()), limit - total));
    size_t got = file.Read(buffer.data(), want);
    if (got == 0) break;
    total += static_cast<int64_t>(got);
    size_t i = 0;
    if (lastWasCr && buffer[0] == '\n') i = 1;  // the LF of a CR LF cut by the read
    lastWasCr = false;
    while (i < got) {
      const char* start = buffer.data() + i;
      size_t left = got - i;
      const char* end = static_cast<const char*>(std::memchr(start, '\n', left));
      const char* cr = static_cast<const char*>(std::memchr(start, '\r', end ? static_cast<size_t>(end - start) : left));
      if (cr) end = cr;
      if (!end) {
        if (carry.size() < maxLength) carry.append(start, std::min(left, maxLength - carry.size()));
        break;
      }
      size_t length = static_cast<size_t>(end - start);
      if (carry.empty()) {
        onLine(std::string_view(start, std::min(length, maxLength)));
      } else {
        if (carry.size() < maxLength) carry.append(start, std::min(length, maxLength - carry.size()));
        onLine(std::string_view(carry));
        carry.clear();
      }
      i += length + 1;
      if (*end == '\r') {
        if (i < got && buffer[i] == '\n')
          ++i;
        else if (i == got)
          lastWasCr = true;
      }
    }
  }
  if (!carry.empty()) onLine(std::string_view(carry));
}

}  // namespace

std::string TDictionary::OtherListWord(std::string_view line, bool latin1) const {
  static TDrawableLetters drawable;
  std::string word;
  int letters = 0;
  bool capitalised = false;
  for (size_t i = 0; i < line.size(); ++letters) {
    char32_t c = latin1 ? static_cast<unsigned char>(line[i++]) : NextChar(line, i);
    if (letters == OtherMaxLetters || !drawable.Has(c)) return {};
    if (letters == 0 && !IsSmallLetter(c)) {
      // Proper names go; a language's capitalised nouns stay.
      if (kind_ != TListKind::OtherWithNouns || !IsLetterChar(c)) return {};
      capitalised = true;
    } else if (capitalised && !IsSmallLetter(c)) {
      return {};  // an abbreviation (ABC, GmbH)
    }
    c = UpperLetter(c);
    // A capital the font lacks would show as a box.
    if (!drawable.Has(c)) return {};
    AppendUtf8(word, c);
  }
  return letters >= OtherMinLetters ? word : std::string();
}

// Two passes: the first counts the lines and tells UTF-8 from Latin-1, the
// second takes the words, every line of a short list or an even sample of a
// long one, so memory stays bounded by the word cap.
void TDictionary::LoadOtherList(const std::string& fileName) {
  const std::string shown = DisplayName(fileName);
  try {
    TReadFile file(shown);
    constexpr size_t MaxLine = 4 * OtherMaxLetters;  // a letter takes at most four bytes
    int64_t lines = 0;
    bool utf8 = true;
    ForEachLine(file, MaxOtherFileBytes, MaxLine, [&](std::string_view line) {
      ++lines;
      if (utf8 && !IsValidUtf8(line)) utf8 = false;
    });
    file.Seek(0, TSeekOrigin::Beginning);

    const int64_t cap = MaxFileWords;
    int64_t index = 0;
    slots_.assign(1024, TSlot{});
    ForEachLine(file, MaxOtherFileBytes, MaxLine, [&](std::string_view line) {
      int64_t i = index++;
      // Exactly cap lines, the first one included, spread evenly.
      if (lines > cap && i > 0 && i * cap / lines == (i - 1) * cap / lines) return;
      if (Trim(line).empty()) return;
      std::string word = OtherListWord(line, !utf8);
      if (word.empty()) {
        ++SkippedLines;
        return;
      }
      AddHashed(word, HashIgnoringCase(word));
    });
    if (!utf8)
      Note = shown + " is not UTF-8 text; it was read as Latin-1 (" + std::to_string(SkippedLines) +
             " lines gave no word).";
  } catch (const EFileError& e) {
    throw EWordListError(e.what());
  }
}
