#include "tools/commands/SweepTables.h"

#include "tools/commands/RunReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using RunReport::Fixed;

namespace {

// The model's messages of the runs whose AMI_Init failed, each text once, in
// the order the runs come.
std::vector<std::string> InitMessages(const std::vector<SweepPoint>& points) {
  std::vector<std::string> messages;
  for (const SweepPoint& p : points) {
    if (p.result.initOk || p.result.message.empty()) continue;
    if (std::find(messages.begin(), messages.end(), p.result.message) == messages.end())
      messages.push_back(p.result.message);
  }
  return messages;
}

// Why a run has no eye: its error, with the number of the model's message
// when AMI_Init failed with one.
std::string Failure(const SweepPoint& p, const std::vector<std::string>& messages) {
  if (p.result.Ok()) return "eye not measured: " + p.result.eye.problem;
  const auto it = std::find(messages.begin(), messages.end(), p.result.message);
  if (p.result.initOk || it == messages.end()) return p.result.error;
  if (messages.size() == 1) return p.result.error + " (the model's message is below)";
  return p.result.error + " (model message " + std::to_string(it - messages.begin() + 1) + " below)";
}

// Mean and least of a figure over the responses of one emphasis level.
// The least starts at the first value (a NaN among them stays NaN), so that
// no starting value can ever be printed.
struct Spread {
  double sum = 0, least = 0;
  size_t n = 0;
  void Add(double v) {
    sum += v;
    if (n == 0 || v < least || std::isnan(v)) least = v;
    ++n;
  }
  double Mean() const { return n ? sum / static_cast<double>(n) : 0.0; }
};

}  // namespace

void PrintSetup(const SweepOptions& o, size_t runs, unsigned jobs, const std::string& memoryNote) {
  const SimSettings& s = o.line.settings;
  std::printf("model       %s\n", s.modelPath.c_str());
  std::printf(
      "sweep       %zu runs on %u threads: PRBS%d, %ld bits, UI %s ps, %d samples per UI%s\n", runs, jobs, s.prbs,
      s.bitCount, Fixed("%.4g", s.bitTime * 1e12).c_str(), s.samplesPerBit,
      s.channelLossDb > 0
          ? ("; eyes after a first-order channel of " + Fixed("%.3g", s.channelLossDb) + " dB at Nyquist").c_str()
          : "");
  if (s.channel)
    for (const std::string& line : s.channel->Describe()) std::printf("channel     %s\n", line.c_str());
  if (s.WantsBer()) {
    std::printf("noise       %s mV RMS at the %s; random jitter %s ps RMS; best emphasis at BER %s\n",
                Fixed("%.4g", s.noiseMv).c_str(), RunReport::NoisePlace(s), Fixed("%.4g", s.rjPs).c_str(),
                StatisticalEye::BerText(o.ber).c_str());
  }
  if (!memoryNote.empty()) std::printf("memory      %s\n", memoryNote.c_str());
}

// One row per run; returns how many runs failed or gave no eye.
int PrintTable(const std::vector<SweepPoint>& points, const SweepOptions& o) {
  const bool ber = o.line.settings.WantsBer();
  const std::string target = StatisticalEye::BerText(o.ber);
  const bool rx = !points.empty() && !points.front().rxValue.empty();
  std::printf("emphasis  Vreg  corner%s   height (mV)   width (ps)   width (UI)%s\n", rx ? "   rx value" : "",
              ber ? ("   at BER " + target + ": height (mV)   width (ps)").c_str() : "");
  const std::vector<std::string> messages = InitMessages(points);
  int failures = 0;
  for (const SweepPoint& p : points) {
    const EyeMeasurement& e = p.result.eye;
    const std::string rxColumn =
        rx ? "   " + std::string(p.rxValue.size() < 8 ? 8 - p.rxValue.size() : 0, ' ') + p.rxValue : std::string();
    if (!Measured(p)) {
      ++failures;
      std::printf("%8s  %4s  %6s%s   %s\n", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(), rxColumn.c_str(),
                  Failure(p, messages).c_str());
      continue;
    }
    std::printf("%8s  %4s  %6s%s   %11.1f   %10.1f   %10.3f", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                rxColumn.c_str(), e.heightV * 1e3, e.WidthSeconds() * 1e12, e.widthUi);
    const BerTargetFigures* f = ber ? p.result.ber.At(o.ber) : nullptr;
    if (f && f->open) {
      std::printf("   %*s%11.1f   %10.1f", static_cast<int>(target.size()) + 9, "", f->heightV * 1e3,
                  f->widthUi * o.line.settings.bitTime * 1e12);
    } else if (ber) {
      std::printf("   %*s%24s", static_cast<int>(target.size()) + 9, "", "closed");
    }
    std::printf("\n");
  }
  for (size_t i = 0; i < messages.size(); ++i) {
    std::string text = messages[i];
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (messages.size() == 1) std::printf("\nmodel message (every run that failed): %s\n", text.c_str());
    if (messages.size() > 1) std::printf("%smodel message %zu: %s\n", i ? "" : "\n", i + 1, text.c_str());
  }
  return failures;
}

// Per emphasis level: the eyes' mean and least height and width, and with
// BER figures the mean height and width at --ber (closed eyes count as 0).
void PrintSummary(const SweepAxes& axes, const std::vector<SweepPoint>& points, const SweepOptions& o) {
  const size_t perLevel = axes.PerLevel();
  const bool ber = o.line.settings.WantsBer();
  std::printf("\nper emphasis level, over the %zu responses%s:\n", perLevel,
              axes.RxCount() > 1 ? (" and " + axes.rxName + " values").c_str() : "");
  std::printf(
      "emphasis   mean height (mV)   min height (mV)   mean width (ps)   min width (ps)%s\n",
      ber ? ("   at BER " + StatisticalEye::BerText(o.ber) + ": mean height (mV)   mean width (ps)").c_str() : "");
  for (size_t level = 0; level < axes.emphases.size(); ++level) {
    Spread h, w, berH, berW;
    for (size_t j = 0; j < perLevel; ++j) {
      const SweepPoint& p = points[level * perLevel + j];
      if (!Measured(p)) continue;
      h.Add(p.result.eye.heightV * 1e3);
      w.Add(p.result.eye.WidthSeconds() * 1e12);
      const BerTargetFigures* f = p.result.ber.At(o.ber);
      berH.Add(f && f->open ? f->heightV * 1e3 : 0.0);
      berW.Add(f && f->open ? f->widthUi * o.line.settings.bitTime * 1e12 : 0.0);
    }
    if (h.n == 0) continue;
    std::printf("%8s   %16.1f   %15.1f   %15.1f   %14.1f", axes.emphases[level].c_str(), h.Mean(), h.least, w.Mean(),
                w.least);
    if (ber) {
      std::printf("   %*s%16.1f   %15.1f", static_cast<int>(StatisticalEye::BerText(o.ber).size()) + 9, "", berH.Mean(),
                  berW.Mean());
    }
    std::printf("\n");
  }
}

void PrintBest(const SweepOptions& o, const SweepAxes& axes, const std::vector<const SweepPoint*>& best) {
  const std::string target = StatisticalEye::BerText(o.ber);
  const bool rx = !axes.rxValues.empty();
  std::printf("\nbest emphasis at BER %s per Vreg and corner%s (the widest eye; within 1/%d UI the taller wins):\n",
              target.c_str(), rx ? (" and " + axes.rxName).c_str() : "", SampleHistograms::kPhasesPerUi);
  std::printf("Vreg  corner%s   emphasis   width (ps)   width (UI)   height (mV)\n", rx ? "   rx value" : "");
  for (size_t j = 0; j < best.size(); ++j) {
    const std::string& vreg = axes.vregs[j / (axes.corners.size() * axes.RxCount())];
    // The corner, right-aligned in its column, then the receiver's value in
    // its own.
    const std::string& cornerValue = axes.corners[(j / axes.RxCount()) % axes.corners.size()];
    const std::string& rxValue = rx ? axes.rxValues[j % axes.RxCount()] : cornerValue;
    const std::string corner = rx ? std::string(6 - std::min<size_t>(6, cornerValue.size()), ' ') + cornerValue +
                                        "   " + std::string(8 - std::min<size_t>(8, rxValue.size()), ' ') + rxValue
                                  : cornerValue;
    if (!best[j]) {
      std::printf("%4s  %6s   %8s   eye closed at BER %s at every emphasis level\n", vreg.c_str(), corner.c_str(), "-",
                  target.c_str());
      continue;
    }
    const BerTargetFigures& f = *best[j]->result.ber.At(o.ber);
    std::printf("%4s  %6s   %8s   %10.1f   %10.3f   %11.1f\n", vreg.c_str(), corner.c_str(), best[j]->emphasis.c_str(),
                f.widthUi * o.line.settings.bitTime * 1e12, f.widthUi, f.heightV * 1e3);
  }
}

void PrintThroughput(const SimSettings& s, const std::vector<SweepPoint>& points, double wall) {
  double modelSeconds = 0;
  size_t completed = 0;  // runs that streamed every sample
  for (const SweepPoint& p : points) {
    if (!p.result.Ok()) continue;
    modelSeconds += p.result.getWaveSeconds;
    ++completed;
  }
  const double samples = static_cast<double>(s.SampleCount()) * static_cast<double>(completed);
  std::printf("\n%zu runs in %.2f s wall time; %.3g samples/s per model instance, %.3g samples/s in all\n",
              points.size(), wall, modelSeconds > 0 ? samples / modelSeconds : 0.0, wall > 0 ? samples / wall : 0.0);
}
