// The word-list loader over arbitrary file contents, checked against a
// plain, obviously right reading of the same bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "dictionary/DictionaryUnit.h"
#include "platform/Utf8.h"

namespace {
bool Letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// Lines end at CR or LF, a NUL ends the text; a line is kept when it is one
// to MaxWordLength letters and not yet present ignoring case; then the
// letters A..Z that are missing.
std::vector<std::string> Expected(const uint8_t* data, size_t size) {
  std::vector<std::string> words;
  std::set<std::string> seen;
  auto take = [&](const std::string& line) {
    if (line.empty() || line.size() > TDictionary::MaxWordLength) return;
    for (char c : line)
      if (!Letter(c)) return;
    if (seen.insert(Lower(line)).second) words.push_back(line);
  };
  std::string line;
  for (size_t i = 0; i < size && data[i] != 0; ++i) {
    char c = static_cast<char>(data[i]);
    if (c == '\r' || c == '\n') {
      take(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  take(line);
  for (char c = 'A'; c <= 'Z'; ++c) take(std::string(1, c));
  return words;
}

const std::string& WordFile() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("glyphfall-fuzz-words-" + std::to_string(::getpid()) + ".txt"))
          .string();
  return path;
}
void RemoveWordFile() { std::remove(WordFile().c_str()); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The name first: it must outlive the handler that removes the file.
  static const bool ready = [] { return !WordFile().empty() && std::atexit(RemoveWordFile) == 0; }();
  (void)ready;
  const std::string& path = WordFile();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  TDictionary dictionary(path);
  const std::vector<std::string> expected = Expected(data, size);
  if (static_cast<size_t>(dictionary.Count()) != expected.size()) __builtin_trap();
  for (int i = 0; i < dictionary.Count(); ++i)
    if (dictionary.Items(i)->Text != expected[static_cast<size_t>(i)]) __builtin_trap();

  // The same bytes as a list in another language: either a clear refusal or
  // distinct words of 3 to 12 letters in well-formed UTF-8.
  try {
    TDictionary other(path, TListKind::Other);
    std::set<std::string> seen;
    for (int i = 0; i < other.Count(); ++i) {
      const std::string& w = other.Items(i)->Text;
      size_t letters = CharCount(w);
      if (!IsValidUtf8(w) || letters < 3 || letters > 12 || !seen.insert(w).second) __builtin_trap();
    }
  } catch (const EWordListError&) {
  }
  return 0;
}
