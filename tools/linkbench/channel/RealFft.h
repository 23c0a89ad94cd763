// Real-input discrete Fourier transforms of one length through FFTW3.
//
// Plans are made with FFTW_ESTIMATE, which picks the algorithm from the
// length alone (no timing runs), on buffers that FFTW allocates with its own
// alignment, so the same length always computes the same bits on a given
// machine. The FFTW planner is not thread-safe: making and destroying plans
// is serialised by a process-wide lock, while running them is not.
#pragma once

#include <complex>
#include <cstddef>

class RealFft {
 public:
  // `n` >= 1 points.
  explicit RealFft(size_t n);
  ~RealFft();
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;

  size_t Size() const { return n_; }
  size_t Bins() const { return n_ / 2 + 1; }  // bins 0 .. n/2 of a real signal's spectrum

  double* Time() { return time_; }                    // n values
  std::complex<double>* Spectrum() { return bins_; }  // Bins() values

  // Spectrum = DFT of Time: X[k] = sum x[t] exp(-2 pi i k t / n).
  void Forward();
  // Time = n times the inverse DFT of Spectrum: x[t] = sum X[k] exp(2 pi i k t / n)
  // over the full Hermitian spectrum. Overwrites Spectrum.
  void Inverse();

  // The smallest length >= `atLeast` whose only prime factors are 2, 3 and
  // 5, the lengths FFTW computes fastest.
  static size_t NiceSize(size_t atLeast);

 private:
  size_t n_;
  double* time_ = nullptr;
  std::complex<double>* bins_ = nullptr;
  void* forward_ = nullptr;
  void* inverse_ = nullptr;
};
