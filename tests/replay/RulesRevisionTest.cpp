// Replays of one rules revision must play the same in every build of it: the
// expected play-through summaries are held to the revision that made them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "replay/RulesRevision.h"

namespace {

// FNV-1a (64 bits) of a file's bytes.
uint64_t FileHash(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  const std::string bytes = (std::ostringstream() << in.rdbuf()).str();
  uint64_t h = 0xCBF29CE484222325ull;
  for (char c : bytes) h = (h ^ static_cast<uint8_t>(c)) * 0x100000001B3ull;
  return h;
}

std::string Hex(uint64_t v) {
  char text[20];
  std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(v));
  return text;
}

struct TSummaries {
  uint64_t PerfectSeed1 = 0, NoneSeed3 = 0;
};
// Per revision, the hashes of tests/e2e/perfect-seed1.json and none-seed3.json.
const std::map<int, TSummaries> Recorded = {
    {1, {0x47a3577ddd260159ull, 0x7c09a2b8bd067204ull}},
};

TEST(RulesRevision, ThePlayThroughSummariesAreThoseOfTheCurrentRevision) {
  const std::string dir = GLYPHFALL_E2E_DIR;
  const TSummaries now{FileHash(dir + "/perfect-seed1.json"), FileHash(dir + "/none-seed3.json")};
  const std::string hashes = "{" + std::to_string(RulesRevision) + ", {" + Hex(now.PerfectSeed1) + "ull, " +
                             Hex(now.NoneSeed3) + "ull}}";
  auto it = Recorded.find(RulesRevision);
  ASSERT_NE(it, Recorded.end()) << "No hashes are recorded for rules revision " << RulesRevision
                                << ": record the new hashes in " << __FILE__ << ": " << hashes;
  EXPECT_TRUE(it->second.PerfectSeed1 == now.PerfectSeed1 && it->second.NoneSeed3 == now.NoneSeed3)
      << "The expected play-through summaries (tests/e2e/*.json) changed, so play changed: bump RulesRevision in "
         "src/replay/RulesRevision.h and record the new hashes in "
      << __FILE__ << ": " << hashes;
}

}  // namespace
