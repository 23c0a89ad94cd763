// Choosing among the points of a sweep.
#pragma once

#include "tools/commands/SweepPoints.h"

#include <vector>

// Among `candidates`, the run with the widest eye at BER `ber` (a width
// within one phase step of the widest counts as as wide, and the taller eye
// wins among those); null when every eye is closed at that BER.
const SweepPoint* BestOf(const std::vector<const SweepPoint*>& candidates, double ber);

// Per Vreg and corner, the run with the widest eye at BER `ber` (a width
// within one phase step of the widest counts as as wide, and the taller eye
// wins among those); null where the eye is closed at every level.
std::vector<const SweepPoint*> BestPoints(const SweepAxes& axes, const std::vector<SweepPoint>& points, double ber);
