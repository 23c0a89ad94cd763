#include "tools/commands/SweepGrid.h"

#include "tools/commands/RunReport.h"
#include "tools/commands/SweepBest.h"
#include "tools/plots/EyeGrid.h"

namespace {

using RunReport::Fixed;

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

int DrawGrid(const char* command, const SweepOptions& o, AtomicFile& file, const std::string& heading,
             const SweepAxes& axes, const std::vector<const SweepPoint*>& points) {
  std::string error;
  const bool written =
      EyeGrid::WritePng(file, static_cast<int>(axes.corners.size() * axes.RxCount()),
                        static_cast<int>(axes.vregs.size()), GridPanels(points, o.ber), heading, error);
  EyePlot::ReleaseFontCaches();
  return RunReport::ReportFile(written, command, "eye grid", o.gridPath, error);
}

}  // namespace

bool BestGrid(const SweepOptions& o) { return o.line.settings.WantsBer() && !o.gridEmphasisGiven; }

int DrawSweepGrid(const char* command, const SweepOptions& o, AtomicFile& file, const AmiFileParams& ami,
                  const SweepAxes& axes, const std::vector<SweepPoint>& points, const LinkModels& models,
                  unsigned jobs) {
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
    return DrawGrid(command, o, file, heading, axes, panels);
  }
  const std::vector<const SweepPoint*> best = BestPoints(axes, points, o.ber);
  const std::vector<SweepPoint> again = RunBest(models, s, o.ber, best, jobs);
  std::vector<const SweepPoint*> panels(best.size(), nullptr);
  for (size_t j = 0, k = 0; j < best.size(); ++j)
    if (best[j]) panels[j] = &again[k++];
  const std::string heading = ami.RootName() + " at the best emphasis for BER " + StatisticalEye::BerText(o.ber) +
                              ": rows Vreg, " + columns + stimulus;
  return DrawGrid(command, o, file, heading, axes, panels);
}
