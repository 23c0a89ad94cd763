#include "SweepCommand.h"

#include "AmiFileParams.h"
#include "AtomicFile.h"
#include "EyeDensity.h"
#include "EyePlot.h"
#include "ProgressBar.h"
#include "SimulationRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <thread>

namespace {

constexpr auto Fixed = &SimulationRun::Fixed;
constexpr const char* kCommand = "tessalune sweep";

// The grid picture: one panel per response, two title lines each.
constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 360;
constexpr int kHeadingHeight = 56;
constexpr size_t kPanelTitleLines = 2;

struct SweepOptions {
  SimSettings settings;
  std::string gridPath;
  int gridEmphasis = 0;
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
void RunPoint(const AmiModelLoader& model, const SimSettings& s, SweepPoint& p) {
  try {
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
double RunPoints(const AmiModelLoader& model, const SimSettings& s, std::vector<SweepPoint>& points, unsigned jobs) {
  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
  auto work = [&] {
    for (size_t i = next++; i < points.size(); i = next++) {
      RunPoint(model, s, points[i]);
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

// One row per run; returns how many runs failed or gave no eye.
int PrintTable(const std::vector<SweepPoint>& points) {
  std::printf("emphasis  Vreg  corner   height (mV)   width (ps)   width (UI)\n");
  int failures = 0;
  for (const SweepPoint& p : points) {
    const EyeMeasurement& e = p.result.eye;
    if (!Measured(p)) {
      ++failures;
      std::printf("%8s  %4s  %6s   %s\n", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                  (p.result.Ok() ? "eye not measured: " + e.problem : p.result.error).c_str());
      continue;
    }
    std::printf("%8s  %4s  %6s   %11.1f   %10.1f   %10.3f\n", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                e.heightV * 1e3, e.WidthSeconds() * 1e12, e.widthUi);
  }
  return failures;
}

void PrintSummary(const SweepAxes& axes, const std::vector<SweepPoint>& points) {
  const size_t perLevel = axes.PerLevel();
  std::printf("\nper emphasis level, over the %zu responses:\n", perLevel);
  std::printf("emphasis   mean height (mV)   min height (mV)   mean width (ps)   min width (ps)\n");
  for (size_t level = 0; level < axes.emphases.size(); ++level) {
    double sumH = 0, sumW = 0, minH = 1e300, minW = 1e300;
    size_t n = 0;
    for (size_t j = 0; j < perLevel; ++j) {
      const SweepPoint& p = points[level * perLevel + j];
      if (!Measured(p)) continue;
      const double h = p.result.eye.heightV * 1e3, w = p.result.eye.WidthSeconds() * 1e12;
      sumH += h;
      sumW += w;
      minH = std::min(minH, h);
      minW = std::min(minW, w);
      ++n;
    }
    if (n == 0) continue;
    std::printf("%8s   %16.1f   %15.1f   %15.1f   %14.1f\n", axes.emphases[level].c_str(), sumH / n, minH, sumW / n,
                minW);
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
    const EyePlot::Range r = EyePlot(p->density.get(), p->result.eye).DefaultRange();
    range.low = std::min(range.low, r.low);
    range.high = std::max(range.high, r.high);
  }
  return range;
}

bool WriteGrid(const std::string& path, const std::vector<const SweepPoint*>& panels, const SweepAxes& axes,
               const std::string& heading, std::string& error) {
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
  cairo_move_to(cr, (kPanelWidth * columns - extents.width) / 2 - extents.x_bearing, 36);
  cairo_show_text(cr, heading.c_str());
  const EyePlot::Range range = CommonRange(panels);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < columns; ++col) {
      const SweepPoint* p = panels[static_cast<size_t>(row * columns + col)];
      const std::vector<std::string> title = {"Vreg " + p->vreg + ", corner " + p->corner,
                                              SimulationRun::EyeSummary(p->result.eye)};
      EyePlot(p->density.get(), p->result.eye)
          .Draw(cr, col * kPanelWidth, kHeadingHeight + row * kPanelHeight, kPanelWidth, kPanelHeight, range, title);
    }
  }
  cairo_destroy(cr);
  const bool ok = EyePlot::SaveSurface(surface, path, error);
  cairo_surface_destroy(surface);
  return ok;
}

int DrawGrid(const SweepOptions& o, const AmiFileParams& ami, const SweepAxes& axes,
             const std::vector<SweepPoint>& points) {
  const SimSettings& s = o.settings;
  std::vector<const SweepPoint*> panels;
  for (const SweepPoint& p : points)
    if (p.drawn) panels.push_back(&p);
  const std::string channel =
      s.channelLossDb > 0 ? ", after a " + Fixed("%.3g", s.channelLossDb) + " dB RC channel" : std::string();
  const std::string heading = ami.RootName() + " at emphasis " + std::to_string(o.gridEmphasis) +
                              ": rows Vreg, columns corner (PRBS" + std::to_string(s.prbs) + ", " +
                              Fixed("%.4g", 1e-9 / s.bitTime) + " Gb/s" + channel + ")";
  std::string error;
  const bool written = WriteGrid(o.gridPath, panels, axes, heading, error);
  EyePlot::ReleaseFontCaches();
  return SimulationRun::ReportFile(written, kCommand, "eye grid", o.gridPath, error);
}

int Sweep(SweepOptions& o) {
  SimSettings& s = o.settings;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = SimulationRun::Prepare(kCommand, s, ami, model)) return status;
  const SweepAxes axes{Values(ami, "emphasis", 6), Values(ami, "Vreg", 2), Values(ami, "corner", 2)};
  const std::string gridEmphasis = std::to_string(o.gridEmphasis);
  const bool grid = !o.gridPath.empty();
  if (grid && std::find(axes.emphases.begin(), axes.emphases.end(), gridEmphasis) == axes.emphases.end()) {
    std::fprintf(stderr, "%s: --grid-emphasis %d is not an emphasis level of the model\n", kCommand, o.gridEmphasis);
    return 2;
  }
  std::vector<SweepPoint> points;
  std::string error;
  if (!BuildPoints(ami, axes, gridEmphasis, grid, points, error) || (grid && !AtomicFile(o.gridPath).Open(error))) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  const unsigned jobs = std::max(1u, std::min<unsigned>(o.jobs ? o.jobs : std::thread::hardware_concurrency(),
                                                        static_cast<unsigned>(points.size())));
  std::printf("model       %s\n", s.modelPath.c_str());
  std::printf(
      "sweep       %zu runs on %u threads: PRBS%d, %ld bits, UI %s ps, %d samples per UI%s\n\n", points.size(), jobs,
      s.prbs, s.bitCount, Fixed("%.4g", s.bitTime * 1e12).c_str(), s.samplesPerBit,
      s.channelLossDb > 0
          ? ("; eyes after a first-order channel of " + Fixed("%.3g", s.channelLossDb) + " dB at Nyquist").c_str()
          : "");
  const double wall = RunPoints(model, s, points, jobs);
  const int failures = PrintTable(points);
  PrintSummary(axes, points);
  PrintThroughput(s, points, wall);
  int status = failures ? 1 : 0;
  if (grid) status |= DrawGrid(o, ami, axes, points);
  return status;
}

}  // namespace

void AddSweepCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<SweepOptions>();
  CLI::App* cmd =
      app.add_subcommand("sweep", "Simulate every emphasis, Vreg and corner combination and tabulate the eyes");
  SimulationRun::AddOptions(cmd, options->settings);
  cmd->add_option("--grid", options->gridPath, "Write the nine responses' eyes at one emphasis level to this PNG");
  cmd->add_option("--grid-emphasis", options->gridEmphasis, "Emphasis level of the --grid picture")
      ->capture_default_str();
  cmd->add_option("--jobs", options->jobs, "Simulations run at once (default: one per core)");
  cmd->footer("Eye height and width are measured as `tessalune sim --help` describes.");
  cmd->callback([options, &action] { action = [options] { return Sweep(*options); }; });
}
