#include "dictionary/DictionaryUnit.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "framework/Utils.h"

namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The file as the user would look for it: its full path where that can be
// worked out, else the name as given.
std::string DisplayName(const std::string& fileName) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(fileName, ec);
  return ec ? fileName : p.string();
}

[[noreturn]] void Fail(const std::string& what, const std::string& fileName, int err) {
  std::string reason = err ? std::strerror(err) : "unknown error";
  throw EFOpenError(what + " \"" + DisplayName(fileName) + "\": " + reason);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

TDictionary::TDictionary() : TDictionary(DictionaryFileName) {}

TDictionary::TDictionary(const std::string& fileName) {
  LoadFromFile(fileName);
  AddSingleLetters();
}

bool TDictionary::Contains(std::string_view text) const {
  return keys_.count(LowerCaseAscii(Trim(text))) != 0;
}

bool TDictionary::AddWord(std::string_view text) {
  // The three tests (not empty, not yet present, letters only) decide
  // together, so the cheap ones go first. A text of letters only has nothing
  // to trim, and one look-up both tests and records it.
  if (text.empty()) return false;
  for (char c : text)
    if (!IsAsciiLetter(static_cast<unsigned char>(c))) return false;
  if (!keys_.insert(LowerCaseAscii(text)).second) return false;
  AddObject(new TWord(std::string(text)));
  return true;
}

TWord* TDictionary::RandomWord() const { return Items(Random(Count())); }

void TDictionary::AddSingleLetters() {
  for (char c = 'A'; c <= 'Z'; ++c) AddWord(std::string_view(&c, 1));
}

// Lines end at CR, at LF or at CR LF; the empty "line" between CR and LF is
// dropped like any empty line. A NUL ends the text.
void TDictionary::LoadFromFile(const std::string& fileName) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) Fail("Cannot open file", fileName, errno);
  // Room for about one word per eight bytes, so the set rarely regrows.
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    long size = std::ftell(file.get());
    if (size > 0) keys_.reserve(std::min<size_t>(static_cast<size_t>(size) / 8, MaxFileWords));
    std::rewind(file.get());
  }

  std::string line;
  bool tooLong = false;
  auto endLine = [&] {
    if (!tooLong) AddWord(line);
    line.clear();
    tooLong = false;
  };

  char buffer[1 << 16];
  size_t total = 0;
  bool ended = false;
  while (!ended && total < MaxFileBytes && Count() < MaxFileWords) {
    size_t want = std::min(sizeof buffer, MaxFileBytes - total);
    size_t got = std::fread(buffer, 1, want, file.get());
    if (got == 0) {
      if (std::ferror(file.get())) Fail("Cannot read file", fileName, errno);
      break;
    }
    total += got;
    for (size_t i = 0; i < got && Count() < MaxFileWords; ++i) {
      char c = buffer[i];
      if (c == '\0') {
        ended = true;
        break;
      }
      if (c == '\r' || c == '\n') {
        endLine();
      } else if (!tooLong) {
        if (line.size() < MaxWordLength)
          line.push_back(c);
        else
          tooLong = true;
      }
    }
  }
  // A final line without a line break counts too.
  if (Count() < MaxFileWords) endLine();
}
