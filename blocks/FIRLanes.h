#pragma once

#include <cstddef>
#include <cstdint>

namespace OrvennModelBuilder {

// A fixed-tap real FIR filter evaluated over a block of samples, for any
// model built from the kit that filters whole blocks instead of firing an
// FIR block once per sample.
//
// Contract. Filter(taps, numTaps, x, y, count) writes, for i = 0 .. count - 1,
//
//   y[i] = sum over k < numTaps of x[i - k] * taps[k]
//
// x points at the first of the count new samples; the numTaps - 1 samples
// before it, x[-1] .. x[-(numTaps - 1)], are the history (zeros at the start
// of a stream) and must be readable. y receives count outputs and must not
// overlap x[-(numTaps - 1)] .. x[count - 1]. taps[0] weighs the newest
// sample. numTaps 0 gives outputs of +0.0. The caller keeps the history: to
// continue a stream, the last numTaps - 1 samples of one block precede the
// next.
//
// Bits. Every output starts from +0.0 and adds its products one at a time,
// k ascending, each product (sample times tap) rounded on its own and never
// fused with the addition: exactly the sum FIR<double, *> forms for one
// output with Decimation and Interpolation 1, zero history included (a
// negative tap times a zero history sample still adds -0.0, an infinite
// sample times a zero tap still gives NaN). The vector levels hold
// consecutive outputs side by side, one output per lane, each lane doing the
// scalar sequence of operations; no output's sum is split, reordered or
// contracted into a fused multiply-add (the whole library is compiled with
// -ffp-contract=off, and the vector code uses separate multiplies and adds).
// So every level gives the scalar level's bits. NaN stays NaN; which NaN
// payload survives where two NaNs meet follows operand order, which the
// compiler picks at every level alike, scalar code included.
//
// Dispatch. The library is built for baseline x86-64; the SSE2 kernel runs
// on any 64-bit x86 processor, the AVX2 and AVX-512F kernels exist beside it
// as functions compiled for those instruction sets. A new FIRLanes takes the
// best level the processor and the operating system support (read once,
// with __builtin_cpu_supports); Select forces another one, which tests and
// benchmarks use to compare the levels. Other processors build the scalar
// level only.
class FIRLanes {
 public:
  enum class Level : int32_t { Scalar = 0, Sse2 = 1, Avx2 = 2, Avx512 = 3 };
  static constexpr int32_t LevelCount = 4;
  using Kernel = void (*)(const double* taps, uint32_t numTaps, const double* x, double* y, size_t count);

  // Starts at Best().
  FIRLanes();

  // The best level this processor and operating system run.
  static Level Best();
  // Whether a level runs here.
  static bool Supported(Level level);
  // "scalar", "SSE2", "AVX2", "AVX-512F"; "unknown" for anything else.
  static const char* Name(Level level);

  // Uses `level` from now on; false (nothing changed) when it does not run here.
  bool Select(Level level);
  Level Current() const { return level; }

  // The outputs of the contract above, at the current level.
  void Filter(const double* taps, uint32_t numTaps, const double* x, double* y, size_t count) const {
    kernel(taps, numTaps, x, y, count);
  }

 private:
  Level level = Level::Scalar;
  Kernel kernel = nullptr;
};

}  // namespace OrvennModelBuilder
