// A scratch folder for the high-score file and a few helpers around it.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "hiscores/HiScoreUnit.h"
#include "hiscores/XMLUnit.h"

namespace hstest {

// Points HISCORE.XML at a fresh folder for the life of the test.
class ScratchFolder : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "glyphfall-hiscores-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    savedFolder_ = HiScoreFolder;
    savedXmlFolder_ = DefaultXMLFolder;
    HiScoreFolder = folder_;
    DefaultXMLFolder.clear();
  }
  void TearDown() override {
    HiScoreFolder = savedFolder_;
    DefaultXMLFolder = savedXmlFolder_;
    std::error_code ec;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(folder_, ec);
  }

  std::string Path(const std::string& name = HiScoreFileName) const { return folder_ + "/" + name; }
  bool Exists(const std::string& name = HiScoreFileName) const { return std::filesystem::exists(Path(name)); }
  void Write(const std::string& text, const std::string& name = HiScoreFileName) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  std::string Read(const std::string& name = HiScoreFileName) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string folder_;

 private:
  std::string savedFolder_, savedXmlFolder_;
};

// The table the form starts with when there is no file.
inline void FillDefaults(THiScoreList& list) {
  for (int score = 1000; score >= 100; score -= 100) list.AddObject(new THiScore(score, ""));
}

// The table's scores joined by " ", and its names by "|".
inline std::string Scores(const THiScoreList& list) {
  std::string s;
  for (int i = 0; i < list.Count(); ++i) s += (i ? " " : "") + std::to_string(list[i]->Score);
  return s;
}
inline std::string Names(const THiScoreList& list) {
  std::string s;
  for (int i = 0; i < list.Count(); ++i) s += (i ? "|" : "") + list[i]->Name;
  return s;
}

}  // namespace hstest
