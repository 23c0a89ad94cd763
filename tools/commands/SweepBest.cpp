#include "tools/commands/SweepBest.h"

#include <algorithm>

const SweepPoint* BestOf(const std::vector<const SweepPoint*>& candidates, double ber) {
  const double step = 1.0 / SampleHistograms::kPhasesPerUi;
  double widest = -1.0;
  for (const SweepPoint* p : candidates) {
    const BerTargetFigures* f = p->result.ber.At(ber);
    if (Measured(*p) && f && f->open) widest = std::max(widest, f->widthUi);
  }
  const SweepPoint* best = nullptr;
  double tallest = -1.0;
  for (const SweepPoint* p : candidates) {
    const BerTargetFigures* f = p->result.ber.At(ber);
    if (widest < 0 || !Measured(*p) || !f || !f->open || f->widthUi < widest - step || f->heightV <= tallest) continue;
    tallest = f->heightV;
    best = p;
  }
  return best;
}

// Per Vreg and corner, the run with the widest eye at BER `ber` (a width
// within one phase step of the widest counts as as wide, and the taller eye
// wins among those); null where the eye is closed at every level.
std::vector<const SweepPoint*> BestPoints(const SweepAxes& axes, const std::vector<SweepPoint>& points, double ber) {
  const size_t perLevel = axes.PerLevel();
  std::vector<const SweepPoint*> best(perLevel, nullptr);
  for (size_t j = 0; j < perLevel; ++j) {
    std::vector<const SweepPoint*> levels;
    for (size_t level = 0; level < axes.emphases.size(); ++level) levels.push_back(&points[level * perLevel + j]);
    best[j] = BestOf(levels, ber);
  }
  return best;
}
