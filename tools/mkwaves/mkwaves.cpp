// mkwaves: synthesizes the game's twelve sound effects as 16-bit mono RIFF
// WAVE files. Everything is computed from fixed seeds, so every build makes
// the same sounds.
//
//   mkwaves OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2 * Pi;

using TSamples = std::vector<double>;

TSamples Silence(double seconds) { return TSamples(static_cast<size_t>(seconds * Rate), 0.0); }
double TimeOf(size_t i) { return static_cast<double>(i) / Rate; }

// A small fixed-seed generator: the same noise on every machine.
class TNoise {
 public:
  explicit TNoise(uint32_t seed) : state_(seed ? seed : 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  double White() { return Next() / 2147483647.5 - 1.0; }  // -1 .. 1
  double Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 4294967295.0); }

 private:
  uint32_t state_;
};

// One-pole filters, enough for shaping noise.
class TLowPass {
 public:
  explicit TLowPass(double cutoff) { Set(cutoff); }
  void Set(double cutoff) { a_ = 1.0 - std::exp(-TwoPi * cutoff / Rate); }
  double operator()(double x) { return y_ += a_ * (x - y_); }

 private:
  double a_ = 0, y_ = 0;
};

class THighPass {
 public:
  explicit THighPass(double cutoff) : low_(cutoff) {}
  double operator()(double x) { return x - low_(x); }

 private:
  TLowPass low_;
};

// Two-pole band-pass (constant peak gain), retunable per sample for sweeps.
class TBandPass {
 public:
  TBandPass(double centre, double q) : q_(q) { Set(centre); }
  void Set(double centre) {
    const double w = TwoPi * std::min(centre, Rate * 0.45) / Rate;
    const double alpha = std::sin(w) / (2 * q_);
    const double a0 = 1 + alpha;
    b0_ = alpha / a0;
    b2_ = -alpha / a0;
    a1_ = -2 * std::cos(w) / a0;
    a2_ = (1 - alpha) / a0;
  }
  double operator()(double x) {
    const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double q_;
  double b0_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// An oscillator that follows a changing frequency without phase jumps.
class TOscillator {
 public:
  double Sine(double freq) { return std::sin(Step(freq)); }
  // A rounded square from its first odd harmonics, none above the band, so
  // sweeps stay clean instead of folding back as whistles.
  double Square(double freq, int harmonics) {
    const double p = Step(freq);
    double s = 0;
    for (int k = 1; k <= harmonics && k * freq < Rate * 0.45; k += 2) s += Fade(k * freq) * std::sin(k * p) / k;
    return s * 4 / Pi;
  }
  double Triangle(double freq) {
    const double p = Step(freq);
    double s = 0;
    for (int k = 1, sign = 1; k <= 9 && k * freq < Rate * 0.45; k += 2, sign = -sign)
      s += Fade(k * freq) * sign * std::sin(k * p) / (k * k);
    return s * 8 / (Pi * Pi);
  }
  // Band-limited sawtooth from its first harmonics.
  double Saw(double freq, int harmonics) {
    const double p = Step(freq);
    double s = 0;
    for (int k = 1; k <= harmonics && k * freq < Rate * 0.45; ++k) s += Fade(k * freq) * std::sin(k * p) / k;
    return s * 2 / Pi;
  }

 private:
  // Harmonics fade out as they near the top of the band rather than vanish
  // at once, which would click.
  static double Fade(double f) { return std::clamp((Rate * 0.45 - f) / (Rate * 0.1), 0.0, 1.0); }
  double Step(double freq) {
    const double p = phase_;
    phase_ = std::fmod(phase_ + TwoPi * freq / Rate, TwoPi);
    return p;
  }
  double phase_ = 0;
};

double Decay(double t, double tau) { return t < 0 ? 0 : std::exp(-t / tau); }
double Attack(double t, double length) { return t <= 0 ? 0 : t >= length ? 1 : t / length; }
double Sweep(double from, double to, double t, double length) {
  return from * std::pow(to / from, std::clamp(t / length, 0.0, 1.0));
}

// Fades the last moments of a part out, so cutting it short makes no click.
TSamples Tapered(TSamples s, double fade = 0.008) {
  const size_t n = std::min(s.size(), static_cast<size_t>(fade * Rate));
  for (size_t i = 0; i < n; ++i) s[s.size() - 1 - i] *= static_cast<double>(i) / n;
  return s;
}

void MixInto(TSamples& into, const TSamples& sound, double at, double gain = 1.0) {
  const size_t start = static_cast<size_t>(at * Rate);
  if (into.size() < start + sound.size()) into.resize(start + sound.size(), 0.0);
  for (size_t i = 0; i < sound.size(); ++i) into[start + i] += sound[i] * gain;
}

// Short fades at both ends so no sound starts or stops with a click, then
// scaling to the wanted peak.
void Finish(TSamples& s, double peak, double fadeIn = 0.0005, double fadeOut = 0.012) {
  const size_t in = static_cast<size_t>(fadeIn * Rate);
  const size_t out = std::min(s.size(), static_cast<size_t>(fadeOut * Rate));
  for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= static_cast<double>(i) / in;
  for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<double>(i) / out;
  double max = 0;
  for (double v : s) max = std::max(max, std::fabs(v));
  if (max > 0)
    for (double& v : s) v *= peak / max;
  // A few milliseconds of true silence at the end: the output device may
  // drop the last moments of a sound, and they should be quiet ones.
  s.resize(s.size() + static_cast<size_t>(0.004 * Rate), 0.0);
}

// ---- The sounds ----

// A crisp key tick. Quiet on purpose: a bomb plays one per word at the same
// instant, and twenty of them must add up to no more than a soft overload.
TSamples Letter() {
  TSamples s = Silence(0.06);
  TNoise noise(0x1E77E5);
  THighPass high(2500);
  TOscillator tick, body;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    s[i] = high(noise.White()) * Decay(t, 0.0022) + 0.55 * tick.Sine(3400) * Decay(t, 0.005) +
           0.3 * body.Sine(1150) * Decay(t, 0.011);
  }
  Finish(s, 0.08, 0.0002);
  return s;
}

// A miss under the Typist rules: a soft, dull click, lower and quieter than
// a letter, so a run of them is felt rather than heard.
TSamples Miss() {
  TSamples s = Silence(0.05);
  TNoise noise(0x3155);
  TOscillator thud;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    s[i] = 0.35 * noise.White() * Decay(t, 0.0015) + thud.Sine(520) * Decay(t, 0.009);
  }
  Finish(s, 0.06, 0.0004);
  return s;
}

// A stone set on stone: two short knocks, the second lower.
TSamples Brick() {
  auto knock = [](double pitch, uint32_t seed) {
    TSamples k = Silence(0.18);
    TNoise noise(seed);
    TBandPass band(1300 * pitch, 2.5);
    TOscillator low, mid;
    for (size_t i = 0; i < k.size(); ++i) {
      const double t = TimeOf(i);
      k[i] = 0.9 * band(noise.White()) * Decay(t, 0.018) + 0.6 * low.Sine(210 * pitch) * Decay(t, 0.045) +
             0.35 * mid.Sine(560 * pitch) * Decay(t, 0.025);
    }
    return Tapered(k);
  };
  TSamples s = Silence(0.29);
  MixInto(s, knock(1.0, 0xB41C), 0.0);
  MixInto(s, knock(0.82, 0xB41D), 0.095, 0.7);
  Finish(s, 0.5);
  return s;
}

// Crumbling masonry: a dull thump, then a shower of small grains thinning
// out, all dark and dusty.
TSamples Explode() {
  TSamples s = Silence(0.78);
  TNoise noise(0xE8B10DE);
  TOscillator thump;
  TLowPass dust(1800);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    s[i] = 0.8 * thump.Sine(Sweep(95, 45, t, 0.2)) * Decay(t, 0.07) + 0.5 * dust(noise.White()) * Decay(t, 0.16);
  }
  TNoise grains(0xC7A8B1E);
  for (int g = 0; g < 46; ++g) {
    const double at = 0.6 * std::pow(grains.Uniform(0, 1), 1.7);
    const double length = grains.Uniform(0.006, 0.03);
    TSamples grain = Silence(length * 4);
    TBandPass band(grains.Uniform(500, 3200), 1.6);
    for (size_t i = 0; i < grain.size(); ++i) grain[i] = band(grains.White()) * Decay(TimeOf(i), length);
    MixInto(s, Tapered(grain, length), at, 1.6 * (1.0 - at) * grains.Uniform(0.5, 1.0));
  }
  s.resize(static_cast<size_t>(0.78 * Rate));
  Finish(s, 0.7);
  return s;
}

// The bomb going off: a crack, a deep falling boom and a long rumble,
// slightly overdriven.
TSamples DetonateBomb() {
  TSamples s = Silence(1.4);
  TNoise noise(0xB00B);
  TOscillator boom, sub;
  TLowPass rumble(260), rumble2(120), crack(5000);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double n = noise.White();
    double v = 1.1 * boom.Sine(Sweep(120, 32, t, 0.6)) * Decay(t, 0.32) * Attack(t, 0.004);
    v += 0.5 * sub.Sine(Sweep(60, 28, t, 1.0)) * Decay(t, 0.5);
    v += 2.2 * rumble2(rumble(n)) * Decay(t, 0.45);
    v += 0.9 * crack(n) * Decay(t, 0.012);
    s[i] = std::tanh(1.6 * v);
  }
  Finish(s, 0.85, 0.0003, 0.05);
  return s;
}

// A bomb won: a bright rising arpeggio ending on a warbling top note.
TSamples Bomb() {
  const double notes[] = {784.0, 1046.5, 1318.5, 1568.0};
  TSamples s = Silence(0.52);
  for (int n = 0; n < 4; ++n) {
    const bool last = n == 3;
    const double length = last ? 0.26 : 0.075;
    TSamples note = Silence(length);
    TOscillator osc, octave;
    for (size_t i = 0; i < note.size(); ++i) {
      const double t = TimeOf(i);
      const double f = notes[n] * (last ? 1.0 + 0.012 * std::sin(TwoPi * 11 * t) : 1.0);
      const double env = Attack(t, 0.004) * (last ? Decay(t, 0.11) : Decay(t, 0.06));
      note[i] = env * (0.8 * osc.Square(f, 7) + 0.25 * octave.Sine(2 * f));
    }
    MixInto(s, Tapered(note, last ? 0.03 : 0.01), n * 0.07);
  }
  Finish(s, 0.4);
  return s;
}

// The whole castle repaired: a short brass fanfare up to a held chord.
TSamples Castle() {
  auto brass = [](double freq, double length, double hold) {
    TSamples note = Silence(length);
    TOscillator osc;
    TLowPass tone(400);
    for (size_t i = 0; i < note.size(); ++i) {
      const double t = TimeOf(i);
      const double env = Attack(t, 0.02) * (t < hold ? 1.0 : Decay(t - hold, 0.12));
      tone.Set(500 + 3500 * env);  // brighter while loud, as brass is
      note[i] = env * tone(osc.Saw(freq * (1.0 + 0.004 * std::sin(TwoPi * 5.5 * t)), 12));
    }
    return Tapered(note, 0.02);
  };
  TSamples s = Silence(1.05);
  MixInto(s, brass(523.3, 0.12, 0.07), 0.0);
  MixInto(s, brass(659.3, 0.12, 0.07), 0.13);
  MixInto(s, brass(784.0, 0.12, 0.07), 0.26);
  for (double f : {523.3, 659.3, 784.0, 1046.5}) MixInto(s, brass(f, 0.66, 0.38), 0.39, 0.6);
  Finish(s, 0.5, 0.001, 0.03);
  return s;
}

// Everything slows: a falling tone whose wobble slows down with it.
TSamples SlowDown() {
  TSamples s = Silence(0.95);
  TOscillator osc, pure, wobble;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double vib = 1.0 + 0.06 * wobble.Sine(Sweep(14, 2.5, t, 0.9));
    const double f = Sweep(900, 110, t, 0.9) * vib;
    s[i] = Attack(t, 0.01) * (1.0 - 0.4 * t) * (0.7 * osc.Triangle(f) + 0.3 * pure.Sine(f));
  }
  Finish(s, 0.36, 0.001, 0.08);
  return s;
}

// The attackers pushed back: a thud and a whoosh falling away.
TSamples Retreat() {
  TSamples s = Silence(0.72);
  TNoise noise(0x8E78EA7);
  TBandPass band(3000, 3.0);
  TOscillator thud;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    band.Set(Sweep(3200, 260, t, 0.65));
    const double swell = std::sin(Pi * std::clamp(t / 0.68, 0.0, 1.0));
    s[i] = 2.2 * band(noise.White()) * swell * swell + 0.7 * thud.Sine(Sweep(150, 60, t, 0.12)) * Decay(t, 0.05);
  }
  Finish(s, 0.5, 0.0005, 0.03);
  return s;
}

// Everything speeds up: a rising tone with an ever faster flutter.
TSamples SpeedUp() {
  TSamples s = Silence(0.7);
  TOscillator osc, flutter;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double f = Sweep(220, 1760, t, 0.62);
    const double trem = 0.65 + 0.35 * flutter.Sine(Sweep(7, 32, t, 0.62));
    s[i] = Attack(t, 0.01) * trem * osc.Square(f, 7);
  }
  Finish(s, 0.33, 0.001, 0.05);
  return s;
}

// A cannon firing: a sharp crack over a short low thump and a quick tail.
TSamples Cannon() {
  TSamples s = Silence(0.42);
  TNoise noise(0xCA770);
  TBandPass crack(2200, 1.2);
  TLowPass tail(900);
  TOscillator thump;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double n = noise.White();
    s[i] = 1.2 * crack(n) * Decay(t, 0.01) + 0.9 * thump.Sine(Sweep(130, 48, t, 0.15)) * Decay(t, 0.075) +
           0.6 * tail(n) * Decay(t, 0.09);
  }
  Finish(s, 0.6, 0.0002, 0.04);
  return s;
}

// The salvo warning: a wailing siren, two rises and falls.
TSamples BossAlert() {
  TSamples s = Silence(1.45);
  TOscillator osc, upper;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double f = 780 + 230 * std::sin(TwoPi * t / 0.7 - Pi / 2);
    const double env = Attack(t, 0.03) * (t > 1.3 ? std::max(0.0, 1.0 - (t - 1.3) / 0.15) : 1.0);
    s[i] = env * (0.75 * osc.Square(f, 5) + 0.25 * upper.Sine(1.5 * f));
  }
  Finish(s, 0.36, 0.002, 0.02);
  return s;
}

// The castle falls: impacts in a row over a swelling rumble, a falling
// groan beneath, and the dust settling.
TSamples CastleDestroyed() {
  TSamples s = Silence(1.46);
  TNoise noise(0xDE570);
  TLowPass rumble(300), rumble2(160);
  TOscillator groan;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double swell = Attack(t, 0.25) * Decay(t - 0.25, 0.45);
    s[i] = 2.4 * rumble2(rumble(noise.White())) * swell +
           0.45 * groan.Saw(Sweep(240, 55, t, 1.3), 6) * Attack(t, 0.1) * Decay(t, 0.5);
  }
  TNoise hits(0x1A11);
  const double impacts[] = {0.0, 0.18, 0.33, 0.52, 0.74, 0.95};
  for (int k = 0; k < 6; ++k) {
    TSamples hit = Silence(0.3);
    TOscillator body;
    TBandPass band(hits.Uniform(700, 1600), 1.4);
    const double pitch = 90 - 8 * k;
    for (size_t i = 0; i < hit.size(); ++i) {
      const double t = TimeOf(i);
      hit[i] = 0.9 * body.Sine(Sweep(pitch, pitch * 0.55, t, 0.2)) * Decay(t, 0.08) +
               0.7 * band(hits.White()) * Decay(t, 0.03);
    }
    MixInto(s, Tapered(hit), impacts[k], 1.0 - 0.1 * k);
  }
  TNoise grains(0x6A1);
  for (int g = 0; g < 70; ++g) {
    const double at = grains.Uniform(0.05, 1.25);
    const double length = grains.Uniform(0.005, 0.025);
    TSamples grain = Silence(length * 4);
    TBandPass band(grains.Uniform(400, 2600), 1.5);
    for (size_t i = 0; i < grain.size(); ++i) grain[i] = band(grains.White()) * Decay(TimeOf(i), length);
    MixInto(s, Tapered(grain, length), at, 0.9 * (1.3 - at) * grains.Uniform(0.4, 1.0));
  }
  s.resize(static_cast<size_t>(1.46 * Rate));
  for (double& v : s) v = std::tanh(1.3 * v);
  Finish(s, 0.85, 0.0005, 0.12);
  return s;
}

// ---- Output ----

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

bool WriteWave(const std::filesystem::path& path, const TSamples& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out;
  out += "RIFF";
  Put32(out, 4 + (8 + 16) + (8 + dataBytes));
  out += "WAVE";
  out += "fmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, Rate);
  Put32(out, Rate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out += "data";
  Put32(out, dataBytes);
  for (double v : samples) {
    const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    Put16(out, static_cast<uint16_t>(static_cast<int16_t>(q)));
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkwaves OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "mkwaves: cannot create %s: %s\n", folder.c_str(), ec.message().c_str());
    return 1;
  }
  const std::pair<const char*, std::function<TSamples()>> sounds[] = {
      {"letter.wav", Letter},       {"brick.wav", Brick},
      {"explode.wav", Explode},     {"detonatebomb.wav", DetonateBomb},
      {"bomb.wav", Bomb},           {"castle.wav", Castle},
      {"slowdown.wav", SlowDown},   {"retreat.wav", Retreat},
      {"speedup.wav", SpeedUp},     {"cannon.wav", Cannon},
      {"bossalert.wav", BossAlert}, {"castledestroyed.wav", CastleDestroyed},
      {"miss.wav", Miss},
  };
  for (const auto& [name, make] : sounds) {
    if (!WriteWave(folder / name, make())) {
      std::fprintf(stderr, "mkwaves: cannot write %s\n", (folder / name).c_str());
      return 1;
    }
  }
  return 0;
}
