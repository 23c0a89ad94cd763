#include "tools/commands/SweepCommand.h"

#include "tools/commands/FiniteRange.h"
#include "tools/commands/ProgressBar.h"
#include "tools/commands/RunReport.h"
#include "tools/commands/SimOptions.h"
#include "tools/common/AtomicFile.h"
#include "tools/host/AmiFileParams.h"
#include "tools/host/MemoryBudget.h"
#include "tools/linkbench/eye/EyeDensity.h"
#include "tools/plots/EyePlot.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <thread>

namespace {

using RunReport::Fixed;
constexpr const char* kCommand = "tessalune sweep";

// The grid picture: one panel per response, two title lines each.
constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 360;
constexpr int kHeadingHeight = 56;
constexpr size_t kPanelTitleLines = 2;

struct SweepOptions {
  SimCommandLine line;
  std::string gridPath;
  int gridEmphasis = 0;
  bool gridEmphasisGiven = false;
  double ber = 1e-12;  // the BER the best emphasis is chosen at
  unsigned jobs = 0;
};

// The values each parameter takes in the sweep.
struct SweepAxes {
  std::vector<std::string> emphases, vregs, corners;
  size_t PerLevel() const { return vregs.size() * corners.size(); }
};

struct SweepPoint {
  std::string emphasis, vreg, corner;
  std::string parameters;  // the AMI parameter string
  bool drawn = false;      // a panel of the grid
  std::unique_ptr<EyeDensity> density;
  SimResult result;
};

// The values a parameter takes in the sweep: every integer of a Range, or
// the entries of a List; `fallback` when the .ami file does not say.
std::vector<std::string> Values(const AmiFileParams& ami, const std::string& name, int fallbackLast) {
  std::vector<std::string> values;
  const AmiParameterDefinition* def = ami.Find(name);
  if (def && def->format == "List") values = def->formatValues;
  if (def && def->format == "Range" && def->formatValues.size() >= 3 && def->type == "Integer") {
    const long low = std::lround(std::atof(def->formatValues[1].c_str()));
    const long high = std::lround(std::atof(def->formatValues[2].c_str()));
    for (long v = low; v <= high && values.size() < 100; ++v) values.push_back(std::to_string(v));
  }
  if (values.empty())
    for (int v = 0; v <= fallbackLast; ++v) values.push_back(std::to_string(v));
  return values;
}

// Every combination, emphasis outermost, with its parameter string.
bool BuildPoints(const AmiFileParams& ami, const SweepAxes& axes, const std::string& gridEmphasis, bool grid,
                 std::vector<SweepPoint>& points, std::string& error) {
  for (const auto& e : axes.emphases) {
    for (const auto& v : axes.vregs) {
      for (const auto& c : axes.corners) {
        SweepPoint p;
        p.emphasis = e;
        p.vreg = v;
        p.corner = c;
        p.drawn = grid && e == gridEmphasis;
        if (!ami.BuildParameterString({"emphasis=" + e, "Vreg=" + v, "corner=" + c}, p.parameters, error)) return false;
        points.push_back(std::move(p));
      }
    }
  }
  return true;
}

// One run; a panel of the grid also gathers its eye density. Out of memory
// fails this run alone.
// The BER figures of a run are those at `ber`, and at every target with
// their contours where the run is drawn.
void RunPoint(const AmiModelLoader& model, const SimSettings& shared, double ber, SweepPoint& p) {
  try {
    SimSettings s = shared;
    s.berContours = p.drawn && s.WantsBer();
    if (!p.drawn) s.berTargets = {ber};
    SimOutputs outputs;
    if (p.drawn) {
      const EyePlot::Layout at = EyePlot::LayOut(0, 0, kPanelWidth, kPanelHeight, kPanelTitleLines);
      p.density = std::make_unique<EyeDensity>(s.samplesPerBit, at.columns, at.rows);
      outputs.eyeSinks.push_back(p.density.get());
    }
    p.result = SimulationRun::Run(model, s, p.parameters, outputs);
  } catch (const std::bad_alloc&) {
    p.density.reset();
    p.result = SimResult();
    p.result.error = "out of memory";
  }
}

// Runs every point on `jobs` threads (fewer when the system gives fewer);
// returns the wall time in seconds.
double RunPoints(const AmiModelLoader& model, const SimSettings& s, double ber, std::vector<SweepPoint>& points,
                 unsigned jobs) {
  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
  auto work = [&] {
    for (size_t i = next++; i < points.size(); i = next++) {
      RunPoint(model, s, ber, points[i]);
      ++done;
    }
  };
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < jobs; ++t) {
    try {
      workers.emplace_back(work);
    } catch (const std::exception&) {
      break;  // no more threads to be had: the ones running share the work
    }
  }
  if (workers.empty()) work();
  {
    ProgressBar bar("sweeping");
    while (done < points.size()) {
      bar.Update(static_cast<double>(done) / static_cast<double>(points.size()));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  for (std::thread& w : workers) w.join();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool Measured(const SweepPoint& p) { return p.result.Ok() && p.result.eye.valid; }

// Whether the grid shows each response at its best emphasis.
bool BestGrid(const SweepOptions& o) { return o.line.settings.WantsBer() && !o.gridEmphasisGiven; }

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

// One row per run; returns how many runs failed or gave no eye.
int PrintTable(const std::vector<SweepPoint>& points, const SweepOptions& o) {
  const bool ber = o.line.settings.WantsBer();
  const std::string target = StatisticalEye::BerText(o.ber);
  std::printf("emphasis  Vreg  corner   height (mV)   width (ps)   width (UI)%s\n",
              ber ? ("   at BER " + target + ": height (mV)   width (ps)").c_str() : "");
  const std::vector<std::string> messages = InitMessages(points);
  int failures = 0;
  for (const SweepPoint& p : points) {
    const EyeMeasurement& e = p.result.eye;
    if (!Measured(p)) {
      ++failures;
      std::printf("%8s  %4s  %6s   %s\n", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                  Failure(p, messages).c_str());
      continue;
    }
    std::printf("%8s  %4s  %6s   %11.1f   %10.1f   %10.3f", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                e.heightV * 1e3, e.WidthSeconds() * 1e12, e.widthUi);
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

// Mean and least of a figure over the responses of one emphasis level.
struct Spread {
  double sum = 0, least = 1e300;
  size_t n = 0;
  void Add(double v) {
    sum += v;
    least = std::min(least, v);
    ++n;
  }
  double Mean() const { return n ? sum / static_cast<double>(n) : 0.0; }
};

// Per emphasis level: the eyes' mean and least height and width, and with
// BER figures the mean height and width at --ber (closed eyes count as 0).
void PrintSummary(const SweepAxes& axes, const std::vector<SweepPoint>& points, const SweepOptions& o) {
  const size_t perLevel = axes.PerLevel();
  const bool ber = o.line.settings.WantsBer();
  std::printf("\nper emphasis level, over the %zu responses:\n", perLevel);
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

// One voltage axis for all panels, so that swings compare at a glance.
EyePlot::Range CommonRange(const std::vector<const SweepPoint*>& panels) {
  EyePlot::Range range{1e300, -1e300};
  for (const SweepPoint* p : panels) {
    if (!p) continue;
    const EyePlot::Range r = EyePlot(p->density.get(), p->result.eye).DefaultRange();
    range.low = std::min(range.low, r.low);
    range.high = std::max(range.high, r.high);
  }
  return range;
}

// Per Vreg and corner, the run with the widest eye at BER `ber` (a width
// within one phase step of the widest counts as as wide, and the taller eye
// wins among those); null where the eye is closed at every level.
std::vector<const SweepPoint*> BestPoints(const SweepAxes& axes, const std::vector<SweepPoint>& points, double ber) {
  const size_t perLevel = axes.PerLevel();
  const double step = 1.0 / SampleHistograms::kPhasesPerUi;
  std::vector<const SweepPoint*> best(perLevel, nullptr);
  for (size_t j = 0; j < perLevel; ++j) {
    double widest = -1.0;
    for (size_t level = 0; level < axes.emphases.size(); ++level) {
      const BerTargetFigures* f = points[level * perLevel + j].result.ber.At(ber);
      if (Measured(points[level * perLevel + j]) && f && f->open) widest = std::max(widest, f->widthUi);
    }
    double tallest = -1.0;
    for (size_t level = 0; level < axes.emphases.size() && widest >= 0; ++level) {
      const SweepPoint& p = points[level * perLevel + j];
      const BerTargetFigures* f = p.result.ber.At(ber);
      if (!Measured(p) || !f || !f->open || f->widthUi < widest - step || f->heightV <= tallest) continue;
      tallest = f->heightV;
      best[j] = &p;
    }
  }
  return best;
}

void PrintBest(const SweepOptions& o, const SweepAxes& axes, const std::vector<const SweepPoint*>& best) {
  const std::string target = StatisticalEye::BerText(o.ber);
  std::printf("\nbest emphasis at BER %s per Vreg and corner (the widest eye; within 1/%d UI the taller wins):\n",
              target.c_str(), SampleHistograms::kPhasesPerUi);
  std::printf("Vreg  corner   emphasis   width (ps)   width (UI)   height (mV)\n");
  for (size_t j = 0; j < best.size(); ++j) {
    const std::string& vreg = axes.vregs[j / axes.corners.size()];
    const std::string& corner = axes.corners[j % axes.corners.size()];
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

bool WriteGrid(AtomicFile& file, const std::vector<const SweepPoint*>& panels, const SweepAxes& axes,
               const std::string& heading, double ber, std::string& error) {
  const int columns = static_cast<int>(axes.corners.size());
  const int rows = static_cast<int>(axes.vregs.size());
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPanelWidth * columns, kHeadingHeight + kPanelHeight * rows);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 20);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, heading.c_str(), &extents);
  // A long heading gets a smaller font rather than losing its ends.
  const double room = kPanelWidth * columns - 24.0;
  if (extents.width > room) {
    cairo_set_font_size(cr, 20 * room / extents.width);
    cairo_text_extents(cr, heading.c_str(), &extents);
  }
  cairo_move_to(cr, (kPanelWidth * columns - extents.width) / 2 - extents.x_bearing, 36);
  cairo_show_text(cr, heading.c_str());
  const EyePlot::Range range = CommonRange(panels);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < columns; ++col) {
      const SweepPoint* p = panels[static_cast<size_t>(row * columns + col)];
      if (!p) continue;
      const BerTargetFigures* f = p->result.ber.At(ber);
      const std::vector<std::string> title = {
          "Vreg " + p->vreg + ", corner " + p->corner + ", emphasis " + p->emphasis,
          f ? RunReport::BerSummary(*f, p->result.eye.bitTime) : RunReport::EyeSummary(p->result.eye)};
      EyePlot plot(p->density.get(), p->result.eye);
      if (p->result.ber.valid) plot.SetContours(&p->result.ber);
      plot.Draw(cr, col * kPanelWidth, kHeadingHeight + row * kPanelHeight, kPanelWidth, kPanelHeight, range, title);
    }
  }
  cairo_destroy(cr);
  const bool ok = EyePlot::SaveSurface(surface, file, error);
  cairo_surface_destroy(surface);
  return ok;
}

// What the runs pass through, for headings: ", after ..." or nothing.
std::string ChannelText(const SimSettings& s) {
  if (s.channel) {
    const std::string& path = s.channel->Path();
    return ", behind " + path.substr(path.find_last_of('/') + 1) + " (" + Fixed("%.1f", s.channel->NyquistLossDb()) +
           " dB at Nyquist)";
  }
  if (s.channelLossDb > 0) return ", after a " + Fixed("%.3g", s.channelLossDb) + " dB RC channel";
  return {};
}

// The grid at the best emphasis per Vreg and corner: those runs again, now
// gathering their eye densities and contours.
std::vector<SweepPoint> RunBest(const AmiModelLoader& model, const SimSettings& s, double ber,
                                const std::vector<const SweepPoint*>& best, unsigned jobs) {
  std::vector<SweepPoint> again;
  for (const SweepPoint* p : best) {
    if (!p) continue;
    SweepPoint q;
    q.emphasis = p->emphasis;
    q.vreg = p->vreg;
    q.corner = p->corner;
    q.parameters = p->parameters;
    q.drawn = true;
    again.push_back(std::move(q));
  }
  RunPoints(model, s, ber, again, std::min<unsigned>(jobs, static_cast<unsigned>(std::max<size_t>(1, again.size()))));
  return again;
}

int DrawGrid(const SweepOptions& o, AtomicFile& file, const std::string& heading, const SweepAxes& axes,
             const std::vector<const SweepPoint*>& panels) {
  std::string error;
  const bool written = WriteGrid(file, panels, axes, heading, o.ber, error);
  EyePlot::ReleaseFontCaches();
  return RunReport::ReportFile(written, kCommand, "eye grid", o.gridPath, error);
}

// The grid: the panels at --grid-emphasis, or at the best emphasis per Vreg
// and corner (with BER figures, unless --grid-emphasis is given).
int DrawGrid(const SweepOptions& o, AtomicFile& file, const AmiFileParams& ami, const SweepAxes& axes,
             const std::vector<SweepPoint>& points, const AmiModelLoader& model, unsigned jobs) {
  const SimSettings& s = o.line.settings;
  const std::string stimulus =
      " (PRBS" + std::to_string(s.prbs) + ", " + Fixed("%.4g", 1e-9 / s.bitTime) + " Gb/s" + ChannelText(s) + ")";
  if (!BestGrid(o)) {
    std::vector<const SweepPoint*> panels;
    for (const SweepPoint& p : points)
      if (p.drawn) panels.push_back(&p);
    const std::string heading =
        ami.RootName() + " at emphasis " + std::to_string(o.gridEmphasis) + ": rows Vreg, columns corner" + stimulus;
    return DrawGrid(o, file, heading, axes, panels);
  }
  const std::vector<const SweepPoint*> best = BestPoints(axes, points, o.ber);
  const std::vector<SweepPoint> again = RunBest(model, s, o.ber, best, jobs);
  std::vector<const SweepPoint*> panels(best.size(), nullptr);
  for (size_t j = 0, k = 0; j < best.size(); ++j)
    if (best[j]) panels[j] = &again[k++];
  const std::string heading = ami.RootName() + " at the best emphasis for BER " + StatisticalEye::BerText(o.ber) +
                              ": rows Vreg, columns corner" + stimulus;
  return DrawGrid(o, file, heading, axes, panels);
}

// The threads a sweep runs on: --jobs (default one per core, no more than
// the runs), or fewer when that many runs at once would not fit in the
// memory the system has; `note` then says so.
unsigned SizeJobs(const SweepOptions& o, size_t runs, std::string& note) {
  const SimSettings& s = o.line.settings;
  const unsigned wanted = std::max(
      1u, std::min<unsigned>(o.jobs ? o.jobs : std::thread::hardware_concurrency(), static_cast<unsigned>(runs)));
  const size_t convolution = s.channel ? s.channel->Response().ConvolutionBytes() : 0;
  const size_t perRun = MemoryBudget::kRunBytes + convolution;
  const size_t available = MemoryBudget::AvailableBytes();
  const unsigned jobs = MemoryBudget::FitThreads(wanted, perRun, available);
  if (jobs < wanted) {
    note = std::to_string(jobs) + " threads, not " + std::to_string(wanted) + ": a run takes about " +
           MemoryBudget::Mebibytes(perRun) + " (the channel's convolution " + MemoryBudget::Mebibytes(convolution) +
           "), " + MemoryBudget::Mebibytes(available) + " are available";
  }
  return jobs;
}

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
    std::printf("noise       %s mV RMS at the receiver input; random jitter %s ps RMS; best emphasis at BER %s\n",
                Fixed("%.4g", s.noiseMv).c_str(), Fixed("%.4g", s.rjPs).c_str(),
                StatisticalEye::BerText(o.ber).c_str());
  }
  if (!memoryNote.empty()) std::printf("memory      %s\n", memoryNote.c_str());
  std::printf("\n");
}

int Sweep(SweepOptions& o) {
  SimSettings& s = o.line.settings;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = PrepareSimulation(kCommand, o.line, ami, model)) return status;
  const SweepAxes axes{Values(ami, "emphasis", 6), Values(ami, "Vreg", 2), Values(ami, "corner", 2)};
  const std::string gridEmphasis = std::to_string(o.gridEmphasis);
  const bool grid = !o.gridPath.empty();
  if (grid && std::find(axes.emphases.begin(), axes.emphases.end(), gridEmphasis) == axes.emphases.end()) {
    std::fprintf(stderr, "%s: --grid-emphasis %d is not an emphasis level of the model\n", kCommand, o.gridEmphasis);
    return 2;
  }
  std::vector<SweepPoint> points;
  std::string error;
  // The picture's file is opened before the runs, so that a path that cannot
  // take it is refused at once; it gets its name when the picture is done.
  AtomicFile gridFile(o.gridPath);
  if (!BuildPoints(ami, axes, gridEmphasis, grid && !BestGrid(o), points, error) || (grid && !gridFile.Open(error))) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  std::string memoryNote;
  const unsigned jobs = SizeJobs(o, points.size(), memoryNote);
  PrintSetup(o, points.size(), jobs, memoryNote);
  const double wall = RunPoints(model, s, o.ber, points, jobs);
  const int failures = PrintTable(points, o);
  PrintSummary(axes, points, o);
  if (s.WantsBer()) PrintBest(o, axes, BestPoints(axes, points, o.ber));
  PrintThroughput(s, points, wall);
  int status = failures ? 1 : 0;
  if (grid) status |= DrawGrid(o, gridFile, ami, axes, points, model, jobs);
  return status;
}

}  // namespace

void AddSweepCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<SweepOptions>();
  CLI::App* cmd =
      app.add_subcommand("sweep", "Simulate every emphasis, Vreg and corner combination and tabulate the eyes");
  AddSimOptions(cmd, options->line);
  cmd->add_option("--grid", options->gridPath,
                  "Write the nine responses' eyes to this PNG: at --grid-emphasis, or with BER figures (--channel, "
                  "--noise, --rj, --ber) at each one's best emphasis, with BER contours");
  CLI::Option* gridEmphasis =
      cmd->add_option("--grid-emphasis", options->gridEmphasis, "Emphasis level of the --grid picture")
          ->capture_default_str();
  CLI::Option* ber = cmd->add_option("--ber", options->ber,
                                     "The BER at which the best emphasis per Vreg and corner is chosen (the widest "
                                     "eye at that BER, the taller breaking a tie)")
                         ->check(FiniteRange(1e-30, 0.1))
                         ->capture_default_str();
  cmd->add_option("--jobs", options->jobs,
                  "Simulations run at once (default: one per core; fewer when that many would not fit in the "
                  "memory available, as the report then says)");
  cmd->footer("Eye height and width, and the BER figures, are measured as `tessalune sim --help` describes.");
  cmd->callback([options, gridEmphasis, ber, &action] {
    options->gridEmphasisGiven = gridEmphasis->count() > 0;
    SimSettings& s = options->line.settings;
    s.berAsked = ber->count() > 0;
    s.berTargets = {1e-6, 1e-9, 1e-12};
    if (std::find(s.berTargets.begin(), s.berTargets.end(), options->ber) == s.berTargets.end())
      s.berTargets.push_back(options->ber);
    std::sort(s.berTargets.begin(), s.berTargets.end(), std::greater<double>());
    action = [options] { return Sweep(*options); };
  });
}
