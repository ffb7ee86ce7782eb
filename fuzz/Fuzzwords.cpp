// The word-list loader over arbitrary file contents.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "dictionary/DictionaryUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/glyphfall-fuzz-words-" + std::to_string(::getpid()) + ".txt";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  TDictionary dictionary(path);
  // Every entry obeys the acceptance rule, and the letters are all there.
  if (dictionary.Count() < 26) __builtin_trap();
  for (int i = 0; i < dictionary.Count(); ++i)
    for (char c : dictionary.Items(i)->Text)
      if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) __builtin_trap();
  return 0;
}
