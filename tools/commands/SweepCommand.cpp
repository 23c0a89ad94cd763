#include "tools/commands/SweepCommand.h"

#include "tools/commands/FiniteRange.h"
#include "tools/commands/RunReport.h"
#include "tools/commands/SweepBest.h"
#include "tools/commands/SweepPoints.h"
#include "tools/commands/SweepReceiver.h"
#include "tools/commands/SweepTables.h"
#include "tools/common/AtomicFile.h"
#include "tools/plots/EyeGrid.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using RunReport::Fixed;
constexpr const char* kCommand = "tessalune sweep";

// Whether the grid shows each response at its best emphasis.
bool BestGrid(const SweepOptions& o) { return o.line.settings.WantsBer() && !o.gridEmphasisGiven; }

// What the grid shows of each run (null: an empty panel): its eye, traces
// and contours, titled with its parameters and its figures at --ber.
std::vector<EyeGridPanel> GridPanels(const std::vector<const SweepPoint*>& points, double ber) {
  std::vector<EyeGridPanel> panels(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    const SweepPoint* p = points[i];
    if (!p) continue;
    const BerTargetFigures* f = p->result.ber.At(ber);
    panels[i].eye = &p->result.eye;
    panels[i].density = p->density.get();
    panels[i].contours = p->result.ber.valid ? &p->result.ber : nullptr;
    panels[i].title = {"Vreg " + p->vreg + ", corner " + p->corner + ", emphasis " + p->emphasis +
                           (p->rxValue.empty() ? "" : ", rx " + p->rxValue),
                       f ? RunReport::BerSummary(*f, p->result.eye.bitTime) : RunReport::EyeSummary(p->result.eye)};
  }
  return panels;
}

int DrawGrid(const SweepOptions& o, AtomicFile& file, const std::string& heading, const SweepAxes& axes,
             const std::vector<const SweepPoint*>& points) {
  std::string error;
  const bool written =
      EyeGrid::WritePng(file, static_cast<int>(axes.corners.size() * axes.RxCount()),
                        static_cast<int>(axes.vregs.size()), GridPanels(points, o.ber), heading, error);
  EyePlot::ReleaseFontCaches();
  return RunReport::ReportFile(written, kCommand, "eye grid", o.gridPath, error);
}

// The grid: the panels at --grid-emphasis, or at the best emphasis per Vreg
// and corner (with BER figures, unless --grid-emphasis is given).
int DrawGrid(const SweepOptions& o, AtomicFile& file, const AmiFileParams& ami, const SweepAxes& axes,
             const std::vector<SweepPoint>& points, const LinkModels& models, unsigned jobs) {
  const SimSettings& s = o.line.settings;
  const std::string stimulus = " (PRBS" + std::to_string(s.prbs) + ", " + Fixed("%.4g", 1e-9 / s.bitTime) + " Gb/s" +
                               RunReport::ChannelCaption(s) + ")";
  const std::string columns = axes.rxName.empty() ? "columns corner" : "columns corner and " + axes.rxName;
  if (!BestGrid(o)) {
    std::vector<const SweepPoint*> panels;
    for (const SweepPoint& p : points)
      if (p.drawn) panels.push_back(&p);
    const std::string heading =
        ami.RootName() + " at emphasis " + std::to_string(o.gridEmphasis) + ": rows Vreg, " + columns + stimulus;
    return DrawGrid(o, file, heading, axes, panels);
  }
  const std::vector<const SweepPoint*> best = BestPoints(axes, points, o.ber);
  const std::vector<SweepPoint> again = RunBest(models, s, o.ber, best, jobs);
  std::vector<const SweepPoint*> panels(best.size(), nullptr);
  for (size_t j = 0, k = 0; j < best.size(); ++j)
    if (best[j]) panels[j] = &again[k++];
  const std::string heading = ami.RootName() + " at the best emphasis for BER " + StatisticalEye::BerText(o.ber) +
                              ": rows Vreg, " + columns + stimulus;
  return DrawGrid(o, file, heading, axes, panels);
}

int Sweep(SweepOptions& o) {
  SimSettings& s = o.line.settings;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = PrepareSimulation(kCommand, o.line, ami, model)) return status;
  AmiFileParams rxAmi;
  AmiModelLoader rxModel;
  std::string rxParameters;
  if (int status = PrepareReceiver(kCommand, s, rxAmi, rxModel, rxParameters)) return status;
  SweepAxes axes{SweepValues(ami, "emphasis", 6), SweepValues(ami, "Vreg", 2), SweepValues(ami, "corner", 2), "", {}};
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
  if (!ReadRxSweep(o.rxSweep, rxAmi, axes, error) ||
      !BuildPoints(ami, axes, gridEmphasis, grid && !BestGrid(o), points, error) ||
      !AddReceiverAxis(rxAmi, s, axes, points, error) || (grid && !gridFile.Open(error))) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  std::string memoryNote;
  const unsigned jobs = SizeJobs(o, points.size(), memoryNote);
  PrintSetup(o, points.size(), jobs, memoryNote);
  PrintReceiver(s, axes, points);
  std::printf("\n");
  const LinkModels models = MakeLink(ami, model, rxAmi, rxModel);
  const double wall = RunPoints(models, s, o.ber, points, jobs);
  const int failures = PrintTable(points, o);
  PrintSummary(axes, points, o);
  if (s.WantsBer()) PrintBest(o, axes, BestPoints(axes, points, o.ber));
  if (s.WantsBer() && !s.rxModelPath.empty()) PrintBestPair(axes, points, o.ber, s.bitTime);
  PrintThroughput(s, points, wall);
  int status = failures ? 1 : 0;
  if (grid) status |= DrawGrid(o, gridFile, ami, axes, points, models, jobs);
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
  cmd->add_option("--rx-sweep", options->rxSweep,
                  "With --rx: one more axis, innermost: the receiver parameter NAME at each of V1,V2,... "
                  "(NAME=V1,V2,...); the best pair of transmitter setting and value is named at --ber");
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
