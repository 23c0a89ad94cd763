#include "tools/linkbench/eye/HistogramLanes.h"

#include <algorithm>

namespace {

using Plan = HistogramLanes::Plan;

// One bit, the straightforward way.
inline void PlaceOne(const Plan& plan, double f, const double* at, const double* next, long i, int32_t* bins,
                     double* offsets) {
  const double v = f == 0.0 ? at[i] : at[i] + (next[i] - at[i]) * f;
  const double position = (v - plan.low) * plan.binsPerVolt;
  const int bin = position >= 0.0 ? static_cast<int>(std::min(position, plan.lastBin)) : 0;
  bins[i] = bin;
  offsets[i] = position >= 0.0 ? std::min(position - bin, 1.0) : 0.0;
}

void ScalarKernel(const Plan& plan, double f, const double* at, const double* next, long count, int32_t* bins,
                  double* offsets) {
  for (long i = 0; i < count; ++i) PlaceOne(plan, f, at, next, i, bins, offsets);
}

#if defined(__x86_64__)

// Vectors of 2, 4 and 8 doubles, their comparison masks and their bins (the
// compiler's generic vector types: element-wise IEEE operations, one
// rounding each; a comparison gives all ones or all zeros per lane).
typedef double Pair __attribute__((vector_size(16)));
typedef double Quad __attribute__((vector_size(32)));
typedef double Octet __attribute__((vector_size(64)));
typedef long PairMask __attribute__((vector_size(16)));
typedef long QuadMask __attribute__((vector_size(32)));
typedef long OctetMask __attribute__((vector_size(64)));
typedef int32_t PairBins __attribute__((vector_size(8)));
typedef int32_t QuadBins __attribute__((vector_size(16)));
typedef int32_t OctetBins __attribute__((vector_size(32)));

// W bits per step, each lane doing PlaceOne's operations (min(x, m) as
// m < x ? m : x, as std::min has it); the bits left over take PlaceOne.
// Compiled inside each level's function below, with that level's
// instruction set.
template <class V, class M, class B>
__attribute__((always_inline)) inline void PlaceLanes(const Plan& plan, double f, const double* at, const double* next,
                                                      long count, int32_t* bins, double* offsets) {
  constexpr long W = sizeof(V) / sizeof(double);
  const V zero = {}, one = zero + 1.0, low = zero + plan.low, scale = zero + plan.binsPerVolt,
          last = zero + plan.lastBin, fraction = zero + f;
  long i = 0;
  for (; i + W <= count; i += W) {
    V a, v;
    __builtin_memcpy(&a, at + i, sizeof a);
    if (f == 0.0) {
      v = a;
    } else {
      V b;
      __builtin_memcpy(&b, next + i, sizeof b);
      v = a + (b - a) * fraction;
    }
    const V position = (v - low) * scale;
    const M inside = position >= zero;
    const V clamped = last < position ? last : position;
    const B bin = __builtin_convertvector(inside ? clamped : zero, B);
    const V offset = position - __builtin_convertvector(bin, V);
    const V kept = inside ? (one < offset ? one : offset) : zero;
    __builtin_memcpy(bins + i, &bin, sizeof bin);
    __builtin_memcpy(offsets + i, &kept, sizeof kept);
  }
  for (; i < count; ++i) PlaceOne(plan, f, at, next, i, bins, offsets);
}

void Sse2Kernel(const Plan& plan, double f, const double* at, const double* next, long count, int32_t* bins,
                double* offsets) {
  PlaceLanes<Pair, PairMask, PairBins>(plan, f, at, next, count, bins, offsets);
}

// The target attributes name the instruction set only: fused multiply-add
// is a separate one ("fma") and stays off.
__attribute__((target("avx2"))) void Avx2Kernel(const Plan& plan, double f, const double* at, const double* next,
                                                long count, int32_t* bins, double* offsets) {
  PlaceLanes<Quad, QuadMask, QuadBins>(plan, f, at, next, count, bins, offsets);
}

__attribute__((target("avx512f"))) void Avx512Kernel(const Plan& plan, double f, const double* at, const double* next,
                                                     long count, int32_t* bins, double* offsets) {
  PlaceLanes<Octet, OctetMask, OctetBins>(plan, f, at, next, count, bins, offsets);
}

#endif

HistogramLanes::Kernel KernelOf(HistogramLanes::Level level) {
  switch (level) {
    case HistogramLanes::Level::Scalar:
      return ScalarKernel;
#if defined(__x86_64__)
    case HistogramLanes::Level::Sse2:
      return Sse2Kernel;
    case HistogramLanes::Level::Avx2:
      return Avx2Kernel;
    case HistogramLanes::Level::Avx512:
      return Avx512Kernel;
#endif
    default:
      return nullptr;
  }
}

}  // namespace

HistogramLanes::HistogramLanes() { Select(OrvennModelBuilder::FIRLanes::Best()); }

bool HistogramLanes::Select(Level level) {
  if (!OrvennModelBuilder::FIRLanes::Supported(level)) return false;
  const Kernel kernel = KernelOf(level);
  if (!kernel) return false;
  level_ = level;
  kernel_ = kernel;
  return true;
}
