// Contour lines of a BER map: where the BER crosses a given level, as line
// segments in (phase in UI from the bit's start, threshold in volts), traced
// cell by cell over the map (marching squares on log10 BER, the crossing
// placed by linear interpolation of log10 BER along each cell edge).
#pragma once

#include "tools/linkbench/eye/BerMap.h"

#include <vector>

struct BerSegment {
  double phase0, volts0, phase1, volts1;
};

class BerContours {
 public:
  // The segments where the BER of `map` crosses `level` (0 < level < 1).
  static std::vector<BerSegment> Trace(const BerMap& map, double level);
};
