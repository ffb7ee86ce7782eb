// The few general helpers the game takes from its framework.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TPlatform;

// True when some argument, trimmed of blanks, equals "/" + name (the slash is
// added unless name has it), ignoring letter case.
bool HasSwitch(const std::vector<std::string>& args, std::string_view name);

// Decimal with leading zeros up to width digits; longer numbers keep all their
// digits, negative ones get their sign in front.
std::string ZeroPad(int64_t value, int width);

// Lets the platform deliver pending window messages (the message pump).
void ProcessMessages(TPlatform& platform);

std::string UpperCaseAscii(std::string_view s);
std::string LowerCaseAscii(std::string_view s);
// Trims blanks and control characters (<= ' ') at both ends.
std::string Trim(std::string_view s);

// The game's one pseudo-random generator (GameDeterminism(), in
// Determinism.h): Random(n) is uniform in 0 .. n-1, Random(0) is 0.
void RandSeed(uint32_t seed);
uint32_t RandSeedValue();
int32_t Random(int32_t n);
