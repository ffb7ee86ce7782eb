// Runs every benchmark, prints the figures, and writes bench/results.json and
// bench/RESULTS.md with the ratios measured in this one run.
#include <benchmark/benchmark.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {
class CapturingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && !r.error_occurred)
        ns[r.benchmark_name()] = r.GetAdjustedRealTime() * Scale(r.time_unit);
    ConsoleReporter::ReportRuns(runs);
  }
  static double Scale(benchmark::TimeUnit u) {
    switch (u) {
      case benchmark::kNanosecond: return 1;
      case benchmark::kMicrosecond: return 1e3;
      case benchmark::kMillisecond: return 1e6;
      default: return 1e9;
    }
  }
  std::map<std::string, double> ns;
};

std::string Machine() {
  utsname u{};
  uname(&u);
  std::string cpu = "unknown CPU";
  std::ifstream in("/proc/cpuinfo");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  return cpu + ", " + std::to_string(std::thread::hardware_concurrency()) + " cores, " + u.sysname + " " + u.release;
}

// The "key": value pairs of a flat JSON object, values as written.
std::vector<std::pair<std::string, std::string>> ReadFigures(const std::string& path) {
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::pair<std::string, std::string>> figures;
  size_t at = 0;
  while ((at = text.find('"', at)) != std::string::npos) {
    size_t end = text.find('"', at + 1), colon = text.find(':', end == std::string::npos ? at : end);
    if (end == std::string::npos || colon == std::string::npos) break;
    size_t stop = text.find_first_of(",}", colon);
    std::string value = text.substr(colon + 1, stop - colon - 1);
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(" \n") + 1);
    figures.emplace_back(text.substr(at + 1, end - at - 1), value);
    if (stop == std::string::npos) break;
    at = stop;
  }
  return figures;
}

// The sections after the table that other scripts write (scripts/measure-cpu).
std::string ReadOtherSections(const std::string& path) {
  std::ifstream in(path);
  std::string rest, line;
  bool keep = false;
  while (std::getline(in, line)) {
    keep = keep || line.rfind("## ", 0) == 0;
    if (keep) rest += line + "\n";
  }
  return rest;
}
}  // namespace

int main(int argc, char** argv) {
  // Figures measured outside this program (start-up, peak memory) come in as
  // --extra key=value.
  std::map<std::string, std::string> extra;
  std::string outDir = "bench";
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--extra") == 0 && i + 1 < argc) {
      std::string kv = argv[++i];
      size_t eq = kv.find('=');
      if (eq != std::string::npos) extra[kv.substr(0, eq)] = kv.substr(eq + 1);
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      outDir = argv[++i];
    } else {
      args.push_back(argv[i]);
    }
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  CapturingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto t = [&](const char* name) { return reporter.ns.count(name) ? reporter.ns[name] : 0.0; };
  auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
  double floorNs = t("BM_FrameFloor");
  std::map<std::string, double> r;
  r["frame_ratio_menu"] = ratio(t("BM_FrameMenu"), floorNs);
  r["frame_ratio_busy"] = ratio(t("BM_FrameBusyWave"), floorNs);
  r["frame_ratio_busy_german"] = ratio(t("BM_FrameBusyWaveGerman"), floorNs);
  r["frame_ratio_worst"] = ratio(t("BM_FrameWorstCase"), floorNs);
  r["text_speedup_vs_sdl_ttf"] = ratio(t("BM_TextSdlTtf"), t("BM_TextCanvas"));
  r["dict_ratio"] = ratio(t("BM_DictionaryLoad"), t("BM_PlainLineRead"));
  r["dict_ratio_german"] = ratio(t("BM_DictionaryLoadGerman"), t("BM_PlainLineReadGerman"));
  r["sound_burst_ms"] = t("BM_SoundBurst50/iterations:20") / 1e6;
  r["wave_header_crafted_ratio"] = ratio(t("BM_WaveHeaderCrafted"), t("BM_WaveHeaderNormal"));
  r["record_key_ns"] = t("BM_RecordKey");
  r["history_save_ms"] = t("BM_HistorySave/iterations:200") / 1e6;
  r["stats_open_ms"] = t("BM_StatsOpen10000") / 1e6;
  r["frame_ratio_results"] = ratio(std::max(t("BM_FrameResults"), t("BM_FrameStats")), floorNs);
  for (auto& [k, v] : extra) r[k] = std::atof(v.c_str());

  const char* keys[] = {"frame_ratio_menu",          "frame_ratio_busy", "frame_ratio_worst",
                        "text_speedup_vs_sdl_ttf",   "dict_ratio",       "sound_burst_ms",
                        "wave_header_crafted_ratio", "startup_ms",       "peak_rss_mib",
                        "record_key_ns",             "history_save_ms",  "stats_open_ms",
                        "frame_ratio_results",
                        "dict_ratio_german",         "peak_rss_german_extra_mib", "frame_ratio_busy_german"};
  // Every writer of results.json merges: the figures of other scripts stay,
  // and a figure this run could not measure (a benchmark that failed, say,
  // with no German list installed) keeps its earlier value rather than 0.
  std::map<std::string, std::string> figures;
  for (auto& [key, value] : ReadFigures(outDir + "/results.json")) figures[key] = value;
  std::vector<std::string> missing;
  for (const char* key : keys) {
    if (r.count(key) && r[key] > 0) {
      char value[64];
      std::snprintf(value, sizeof value, "%.6g", r[key]);
      figures[key] = value;
    } else {
      missing.push_back(key);
      if (figures.count(key)) r[key] = std::atof(figures[key].c_str());
    }
  }
  for (const std::string& key : missing)
    std::fprintf(stderr, "glyphfall_bench: %s was not measured in this run%s\n", key.c_str(),
                 figures.count(key) ? "; the earlier figure is kept" : "");
  std::string otherSections = ReadOtherSections(outDir + "/RESULTS.md");
  // One figure a line, sorted, as every writer writes it: a change merges line by line.
  std::ofstream json(outDir + "/results.json");
  json << "{";
  const char* sep = "\n";
  for (const auto& [key, value] : figures) {
    json << sep << "  \"" << key << "\": " << value;
    sep = ",\n";
  }
  json << "\n}\n";

  char date[32];
  std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%Y-%m-%d", std::gmtime(&now));
  std::ofstream md(outDir + "/RESULTS.md");
  md << "# Benchmark results\n\nMachine: " << Machine() << "  \nDate: " << date
     << "  \nMade by `make bench`; every ratio is measured within one run.\n\n"
     << "| Figure | Measured | Ratio | Goal |\n|---|---|---|---|\n";
  char line[256];
  auto row = [&](const char* what, double ms, const char* key, const char* goal) {
    std::snprintf(line, sizeof line, "| %s | %.3f ms | %.2f | %s |\n", what, ms, r[key], goal);
    md << line;
  };
  std::snprintf(line, sizeof line, "| Frame floor (clear and copy one 800x600 frame) | %.3f ms | 1.00 | |\n",
                floorNs / 1e6);
  md << line;
  row("Frame: menu", t("BM_FrameMenu") / 1e6, "frame_ratio_menu", "within 2x the floor");
  row("Frame: busy wave", t("BM_FrameBusyWave") / 1e6, "frame_ratio_busy", "within 2x the floor");
  row("Frame: busy wave, German words", t("BM_FrameBusyWaveGerman") / 1e6, "frame_ratio_busy_german",
      "within 2x the floor");
  row("Frame: worst case", t("BM_FrameWorstCase") / 1e6, "frame_ratio_worst", "within 6x the floor");
  std::snprintf(line, sizeof line,
                "| Text: HUD and 20 words, our canvas | %.3f ms | %.2fx faster than SDL_ttf (%.3f ms) | 3x |\n",
                t("BM_TextCanvas") / 1e6, r["text_speedup_vs_sdl_ttf"], t("BM_TextSdlTtf") / 1e6);
  md << line;
  row("Dictionary: load 100 000 lines", t("BM_DictionaryLoad") / 1e6, "dict_ratio", "within 4x a plain line read");
  row("Dictionary: load Debian's German list", t("BM_DictionaryLoadGerman") / 1e6, "dict_ratio_german",
      "within 4x a plain line read");
  // A figure with a goal of its own and no ratio.
  auto figure = [&](const char* what, const char* format, double value, const char* goal) {
    char measured[64];
    std::snprintf(measured, sizeof measured, format, value);
    md << "| " << what << " | " << measured << " | | " << goal << " |\n";
  };
  figure("Sound: 50 PlaySoundFile calls in one frame", "%.3f ms", r["sound_burst_ms"], "under 2 ms");
  std::snprintf(line, sizeof line,
                "| Sound: header of a file of 100 000 empty chunks | %.3f ms | %.2f of a normal file's | within 2x |\n",
                t("BM_WaveHeaderCrafted") / 1e6, r["wave_header_crafted_ratio"]);
  md << line;
  figure("Record: one key event", "%.1f ns", r["record_key_ns"], "under 1000 ns");
  figure("History: save one finished game", "%.3f ms", r["history_save_ms"], "under 5 ms");
  figure("History: open STATS over 10 000 games", "%.3f ms", r["stats_open_ms"], "under 50 ms");
  std::snprintf(line, sizeof line,
                "| Frame: results (%.3f ms) and STATS (%.3f ms) screens, the slower | | %.2f | within 2x the floor |\n",
                t("BM_FrameResults") / 1e6, t("BM_FrameStats") / 1e6, r["frame_ratio_results"]);
  md << line;
  figure("Start-up to the first frame", "%.1f ms", r["startup_ms"], "under 150 ms");
  figure("Peak memory over a full play-through", "%.1f MiB", r["peak_rss_mib"], "under 64 MiB");
  figure("Peak memory playing the German list, above the English game", "%.1f MiB", r["peak_rss_german_extra_mib"],
         "under 32 MiB");
  if (!otherSections.empty()) md << "\n" << otherSections;
  std::printf("results written to %s/results.json and %s/RESULTS.md\n", outDir.c_str(), outDir.c_str());
  return 0;
}
