#include "SweepCommand.h"

#include "AmiFileParams.h"
#include "EyePlot.h"
#include "ProgressBar.h"
#include "SimulationRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

constexpr auto Fixed = &SimulationRun::Fixed;

struct SweepOptions {
  SimSettings settings;
  std::string gridPath;
  int gridEmphasis = 0;
  unsigned jobs = 0;
};

struct SweepPoint {
  std::string emphasis, vreg, corner;
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

bool WriteGrid(const std::string& path, const std::vector<SweepPoint*>& panels, const std::vector<std::string>& vregs,
               const std::vector<std::string>& corners, const std::string& heading, std::string& error) {
  const int panelWidth = 520, panelHeight = 360, headingHeight = 56;
  const int columns = static_cast<int>(corners.size());
  const int rows = static_cast<int>(vregs.size());
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, panelWidth * columns, headingHeight + panelHeight * rows);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 20);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, heading.c_str(), &extents);
  cairo_move_to(cr, (panelWidth * columns - extents.width) / 2 - extents.x_bearing, 36);
  cairo_show_text(cr, heading.c_str());

  // One voltage axis for all panels, so that swings compare at a glance.
  EyePlot::Range range{1e300, -1e300};
  for (SweepPoint* p : panels) {
    EyePlot::Range r = EyePlot(p->result.output, p->result.eye).DefaultRange();
    range.low = std::min(range.low, r.low);
    range.high = std::max(range.high, r.high);
  }
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < columns; ++col) {
      const SweepPoint* p = panels[static_cast<size_t>(row * columns + col)];
      const EyeMeasurement& e = p->result.eye;
      std::vector<std::string> title = {"Vreg " + p->vreg + ", corner " + p->corner};
      title.push_back(SimulationRun::EyeSummary(e));
      EyePlot(p->result.output, e)
          .Draw(cr, col * panelWidth, headingHeight + row * panelHeight, panelWidth, panelHeight, range, title);
    }
  }
  cairo_destroy(cr);
  const bool ok = EyePlot::SaveSurface(surface, path, error);
  cairo_surface_destroy(surface);
  return ok;
}

int Sweep(SweepOptions& o) {
  SimSettings& s = o.settings;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = SimulationRun::Prepare("tessalune sweep", s, ami, model)) return status;
  const std::vector<std::string> emphases = Values(ami, "emphasis", 6);
  const std::vector<std::string> vregs = Values(ami, "Vreg", 2);
  const std::vector<std::string> corners = Values(ami, "corner", 2);
  const std::string gridEmphasis = std::to_string(o.gridEmphasis);
  if (!o.gridPath.empty() && std::find(emphases.begin(), emphases.end(), gridEmphasis) == emphases.end()) {
    std::fprintf(stderr, "tessalune sweep: --grid-emphasis %d is not an emphasis level of the model\n", o.gridEmphasis);
    return 2;
  }

  std::vector<SweepPoint> points;
  for (const auto& e : emphases)
    for (const auto& v : vregs)
      for (const auto& c : corners) points.push_back({e, v, c, {}});
  std::vector<std::string> parameterStrings;
  for (const SweepPoint& p : points) {
    std::string text, error;
    if (!ami.BuildParameterString({"emphasis=" + p.emphasis, "Vreg=" + p.vreg, "corner=" + p.corner}, text, error)) {
      std::fprintf(stderr, "tessalune sweep: %s\n", error.c_str());
      return 1;
    }
    parameterStrings.push_back(text);
  }
  const unsigned jobs = std::max(1u, std::min<unsigned>(o.jobs ? o.jobs : std::thread::hardware_concurrency(),
                                                        static_cast<unsigned>(points.size())));
  std::printf("model       %s\n", s.modelPath.c_str());
  std::printf(
      "sweep       %zu runs on %u threads: PRBS%d, %ld bits, UI %s ps, %d samples per UI%s\n\n", points.size(), jobs,
      s.prbs, s.bits, Fixed("%.4g", s.bitTime * 1e12).c_str(), s.samplesPerBit,
      s.channelLossDb > 0
          ? ("; eyes after a first-order channel of " + Fixed("%.3g", s.channelLossDb) + " dB at Nyquist").c_str()
          : "");

  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < jobs; ++t) {
    workers.emplace_back([&] {
      for (size_t i = next++; i < points.size(); i = next++) {
        SweepPoint& p = points[i];
        p.result = SimulationRun::Run(model, s, parameterStrings[i]);
        // Keep waveforms only for the grid.
        if (o.gridPath.empty() || p.emphasis != gridEmphasis) {
          std::vector<double>().swap(p.result.output);
          std::vector<uint8_t>().swap(p.result.bits);
        }
        ++done;
      }
    });
  }
  {
    ProgressBar bar("sweeping");
    while (done < points.size()) {
      bar.Update(static_cast<double>(done) / static_cast<double>(points.size()));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  for (std::thread& w : workers) w.join();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("emphasis  Vreg  corner   height (mV)   width (ps)   width (UI)\n");
  int failures = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const SweepPoint& p = points[i];
    const EyeMeasurement& e = p.result.eye;
    if (!p.result.Ok() || !e.valid) {
      ++failures;
      std::printf("%8s  %4s  %6s   %s\n", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                  (p.result.Ok() ? "eye not measured: " + e.problem : p.result.error).c_str());
      continue;
    }
    std::printf("%8s  %4s  %6s   %11.1f   %10.1f   %10.3f\n", p.emphasis.c_str(), p.vreg.c_str(), p.corner.c_str(),
                e.heightV * 1e3, e.WidthSeconds() * 1e12, e.widthUi);
  }

  std::printf("\nper emphasis level, over the %zu responses:\n", vregs.size() * corners.size());
  std::printf("emphasis   mean height (mV)   min height (mV)   mean width (ps)   min width (ps)\n");
  const size_t perLevel = vregs.size() * corners.size();
  for (size_t level = 0; level < emphases.size(); ++level) {
    double sumH = 0, sumW = 0, minH = 1e300, minW = 1e300;
    size_t n = 0;
    for (size_t j = 0; j < perLevel; ++j) {
      const SweepPoint& p = points[level * perLevel + j];
      if (!p.result.Ok() || !p.result.eye.valid) continue;
      const double h = p.result.eye.heightV * 1e3, w = p.result.eye.WidthSeconds() * 1e12;
      sumH += h;
      sumW += w;
      minH = std::min(minH, h);
      minW = std::min(minW, w);
      ++n;
    }
    if (n == 0) continue;
    std::printf("%8s   %16.1f   %15.1f   %15.1f   %14.1f\n", emphases[level].c_str(), sumH / n, minH, sumW / n, minW);
  }
  double modelSeconds = 0;
  for (const SweepPoint& p : points) modelSeconds += p.result.getWaveSeconds;
  const double samples = static_cast<double>(s.Samples()) * static_cast<double>(points.size());
  std::printf("\n%zu runs in %.2f s wall time; %.3g samples/s per model instance, %.3g samples/s in all\n",
              points.size(), wall, modelSeconds > 0 ? samples / modelSeconds : 0.0, wall > 0 ? samples / wall : 0.0);

  int status = failures ? 1 : 0;
  if (!o.gridPath.empty()) {
    std::string error;
    std::vector<SweepPoint*> panels;
    for (SweepPoint& p : points)
      if (p.emphasis == gridEmphasis) panels.push_back(&p);
    const std::string channel =
        s.channelLossDb > 0 ? ", after a " + Fixed("%.3g", s.channelLossDb) + " dB RC channel" : std::string();
    const std::string heading = ami.RootName() + " at emphasis " + gridEmphasis + ": rows Vreg, columns corner (PRBS" +
                                std::to_string(s.prbs) + ", " + Fixed("%.4g", 1e-9 / s.bitTime) + " Gb/s" + channel +
                                ")";
    const bool written = WriteGrid(o.gridPath, panels, vregs, corners, heading, error);
    EyePlot::ReleaseFontCaches();
    status |= SimulationRun::ReportFile(written, "tessalune sweep", "eye grid", o.gridPath, error);
  }
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
