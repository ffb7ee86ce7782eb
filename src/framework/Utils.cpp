#include "framework/Utils.h"

#include <cstdio>

#include "platform/Platform.h"

bool HasSwitch(const std::vector<std::string>& args, std::string_view name) {
  std::string wanted(name);
  if (wanted.empty() || wanted[0] != '/') wanted = "/" + wanted;
  wanted = LowerCaseAscii(wanted);
  for (const std::string& a : args)
    if (LowerCaseAscii(Trim(a)) == wanted) return true;
  return false;
}

std::string ZeroPad(int64_t value, int width) {
  bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

void ProcessMessages(TPlatform& platform) { platform.ProcessMessages(); }

std::string UpperCaseAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string LowerCaseAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

