#include "tools/commands/SweepBest.h"

#include <algorithm>

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
