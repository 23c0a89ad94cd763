#include "blocks/FIRLanes.h"

namespace OrvennModelBuilder {

namespace {

// One output: +0.0, then sample times tap added for k ascending.
inline double Lane(const double* taps, uint32_t numTaps, const double* x) {
  double acc = 0.0;
  const double* p = x;
  for (uint32_t k = 0; k < numTaps; ++k, --p) acc = acc + *p * taps[k];
  return acc;
}

void ScalarKernel(const double* taps, uint32_t numTaps, const double* x, double* y, size_t count) {
  for (size_t i = 0; i < count; ++i) y[i] = Lane(taps, numTaps, x + i);
}

#if defined(__x86_64__)

// Vectors of 2, 4 and 8 doubles (the compiler's generic vector types: their
// + and * are the element-wise IEEE operations, one rounding each).
typedef double Pair __attribute__((vector_size(16)));
typedef double Quad __attribute__((vector_size(32)));
typedef double Octet __attribute__((vector_size(64)));

// Loads W consecutive samples (any alignment) into a register. GCC would
// fold the load into each multiply that uses it, loading it twice; the
// empty asm statement keeps it in a register instead. (clang loads once by
// itself, and checks the register size against the template's own
// instruction set, which is too narrow for AVX vectors.)
template <class V>
__attribute__((always_inline)) inline void LoadLanes(V& v, const double* p) {
  __builtin_memcpy(&v, p, sizeof v);
#if !defined(__clang__)
  __asm__("" : "+v"(v));
#endif
}

template <class V>
__attribute__((always_inline)) inline void StoreLanes(double* p, const V& v) {
  __builtin_memcpy(p, &v, sizeof v);
}

// Adds taps first .. first + W - 1, in order, to four accumulators of W
// outputs each: the outputs from p, p + 2W, p + 4W and p + 6W on. Not
// unrolled: unrolled, the loads of all W taps would be scheduled first and
// outnumber the registers.
template <class V>
__attribute__((always_inline)) inline void FourVectorsAlone(const double* taps, uint32_t first, const double* p, V& c0,
                                                            V& c1, V& c2, V& c3) {
  constexpr uint32_t W = sizeof(V) / sizeof(double);
  V u;
#pragma GCC unroll 1
  for (uint32_t k = first; k < first + W; ++k) {
    const double t = taps[k];
    LoadLanes(u, p - k);
    c0 = c0 + u * t;
    LoadLanes(u, p + 2 * W - k);
    c1 = c1 + u * t;
    LoadLanes(u, p + 4 * W - k);
    c2 = c2 + u * t;
    LoadLanes(u, p + 6 * W - k);
    c3 = c3 + u * t;
  }
}

// The outputs in groups of eight vectors of W consecutive outputs, then
// single vectors, then single outputs. Every vector keeps its own
// accumulator and adds its products tap by tap, so each lane does what Lane
// does.
//
// In a group the vectors work in pairs: the second vector of a pair (outputs
// W further on) runs W taps ahead of the first, so that at every step both
// multiply the same W samples by their own taps and one load serves both.
// The second vector takes its first W taps alone, the first its last W.
// Fewer loads matter because most of them straddle two cache lines (the
// samples shift by one per tap). The eight accumulators are independent
// chains, enough to keep the adders busy while each addition waits for the
// previous one of its chain; with two taps and one sample vector they fit the
// sixteen vector registers of SSE2 and AVX2, so nothing is spilled to the
// stack.
//
// This body is compiled inside each level's function below, which gives it
// that level's instruction set.
template <class V>
__attribute__((always_inline)) inline void LaneGroups(const double* taps, uint32_t numTaps, const double* x, double* y,
                                                      size_t count) {
  constexpr uint32_t W = sizeof(V) / sizeof(double);
  size_t i = 0;
  for (; numTaps > W && i + 8 * W <= count; i += 8 * W) {
    V a0 = {}, a1 = {}, a2 = {}, a3 = {};  // outputs i, i + 2W, i + 4W, i + 6W onwards
    V b0 = {}, b1 = {}, b2 = {}, b3 = {};  // outputs i + W, i + 3W, i + 5W, i + 7W onwards
    const double* p = x + i;
    FourVectorsAlone(taps, 0, p + W, b0, b1, b2, b3);
    V u;
    for (uint32_t k = 0; k + W < numTaps; ++k) {
      const double t = taps[k], s = taps[k + W];
      const double* q = p - k;
      LoadLanes(u, q);
      a0 = a0 + u * t;
      b0 = b0 + u * s;
      LoadLanes(u, q + 2 * W);
      a1 = a1 + u * t;
      b1 = b1 + u * s;
      LoadLanes(u, q + 4 * W);
      a2 = a2 + u * t;
      b2 = b2 + u * s;
      LoadLanes(u, q + 6 * W);
      a3 = a3 + u * t;
      b3 = b3 + u * s;
    }
    FourVectorsAlone(taps, numTaps - W, p, a0, a1, a2, a3);
    double* o = y + i;
    StoreLanes(o, a0);
    StoreLanes(o + W, b0);
    StoreLanes(o + 2 * W, a1);
    StoreLanes(o + 3 * W, b1);
    StoreLanes(o + 4 * W, a2);
    StoreLanes(o + 5 * W, b2);
    StoreLanes(o + 6 * W, a3);
    StoreLanes(o + 7 * W, b3);
  }
  for (; i + W <= count; i += W) {
    V a = {}, u;
    const double* p = x + i;
    for (uint32_t k = 0; k < numTaps; ++k, --p) {
      LoadLanes(u, p);
      a = a + u * taps[k];
    }
    StoreLanes(y + i, a);
  }
  for (; i < count; ++i) y[i] = Lane(taps, numTaps, x + i);
}

void Sse2Kernel(const double* taps, uint32_t numTaps, const double* x, double* y, size_t count) {
  LaneGroups<Pair>(taps, numTaps, x, y, count);
}

// The target attributes name the instruction set only: fused multiply-add
// is a separate one ("fma") and stays off.
__attribute__((target("avx2"))) void Avx2Kernel(const double* taps, uint32_t numTaps, const double* x, double* y,
                                                size_t count) {
  LaneGroups<Quad>(taps, numTaps, x, y, count);
}

__attribute__((target("avx512f"))) void Avx512Kernel(const double* taps, uint32_t numTaps, const double* x, double* y,
                                                     size_t count) {
  LaneGroups<Octet>(taps, numTaps, x, y, count);
}

#endif

FIRLanes::Kernel KernelOf(FIRLanes::Level level) {
  switch (level) {
    case FIRLanes::Level::Scalar:
      return ScalarKernel;
#if defined(__x86_64__)
    case FIRLanes::Level::Sse2:
      return Sse2Kernel;
    case FIRLanes::Level::Avx2:
      return Avx2Kernel;
    case FIRLanes::Level::Avx512:
      return Avx512Kernel;
#endif
    default:
      return nullptr;
  }
}

}  // namespace

FIRLanes::FIRLanes() { Select(Best()); }

FIRLanes::Level FIRLanes::Best() {
  if (Supported(Level::Avx512)) return Level::Avx512;
  if (Supported(Level::Avx2)) return Level::Avx2;
  if (Supported(Level::Sse2)) return Level::Sse2;
  return Level::Scalar;
}

bool FIRLanes::Supported(Level level) {
#if defined(__x86_64__)
  // The processor's features, as the runtime reads them once per process;
  // AVX and AVX-512 count only where the operating system saves their
  // registers.
  __builtin_cpu_init();
  switch (level) {
    case Level::Scalar:
    case Level::Sse2:
      return true;
    case Level::Avx2:
      return __builtin_cpu_supports("avx2");
    case Level::Avx512:
      return __builtin_cpu_supports("avx512f");
  }
  return false;
#else
  return level == Level::Scalar;
#endif
}

const char* FIRLanes::Name(Level level) {
  switch (level) {
    case Level::Scalar:
      return "scalar";
    case Level::Sse2:
      return "SSE2";
    case Level::Avx2:
      return "AVX2";
    case Level::Avx512:
      return "AVX-512F";
  }
  return "unknown";
}

bool FIRLanes::Select(Level level) {
  const Kernel k = Supported(level) ? KernelOf(level) : nullptr;
  if (k == nullptr) return false;
  this->level = level;
  kernel = k;
  return true;
}

}  // namespace OrvennModelBuilder
