#pragma once

#include <cstdint>

namespace OrvennModelBuilder {

// What a clock-recovery block saw in the interval between the previous
// input sample and the current one, as it passes it on an integer pin: no
// sampling instant, an edge (crossing) sample, or a data sample. The
// instants of a unit interval lie at least two samples apart, so one
// interval holds at most one of them.
enum SamplingEvent : int32_t {
  kNoSample = 0,
  kEdgeSample = 1,
  kDataSample = 2,
};

}  // namespace OrvennModelBuilder
