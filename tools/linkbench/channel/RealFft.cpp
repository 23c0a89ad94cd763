#include "tools/linkbench/channel/RealFft.h"

#include <fftw3.h>

#include <mutex>
#include <new>

namespace {

std::mutex& PlannerLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

RealFft::RealFft(size_t n) : n_(n < 1 ? 1 : n) {
  std::lock_guard<std::mutex> guard(PlannerLock());
  time_ = fftw_alloc_real(n_);
  fftw_complex* bins = fftw_alloc_complex(Bins());
  if (!time_ || !bins) {
    fftw_free(time_);
    fftw_free(bins);
    throw std::bad_alloc();
  }
  // fftw_complex is laid out as std::complex<double> (real, imaginary).
  bins_ = reinterpret_cast<std::complex<double>*>(bins);
  const int size = static_cast<int>(n_);
  forward_ = fftw_plan_dft_r2c_1d(size, time_, bins, FFTW_ESTIMATE);
  inverse_ = fftw_plan_dft_c2r_1d(size, bins, time_, FFTW_ESTIMATE);
  for (size_t i = 0; i < n_; ++i) time_[i] = 0.0;
  for (size_t k = 0; k < Bins(); ++k) bins_[k] = 0.0;
}

RealFft::~RealFft() {
  std::lock_guard<std::mutex> guard(PlannerLock());
  fftw_destroy_plan(static_cast<fftw_plan>(forward_));
  fftw_destroy_plan(static_cast<fftw_plan>(inverse_));
  fftw_free(time_);
  fftw_free(bins_);
}

void RealFft::Forward() { fftw_execute(static_cast<fftw_plan>(forward_)); }

void RealFft::Inverse() { fftw_execute(static_cast<fftw_plan>(inverse_)); }

size_t RealFft::NiceSize(size_t atLeast) {
  size_t best = 1;
  while (best < atLeast) best *= 2;
  for (size_t p5 = 1; p5 < best; p5 *= 5) {
    for (size_t p35 = p5; p35 < best; p35 *= 3) {
      size_t size = p35;
      while (size < atLeast) size *= 2;
      if (size < best) best = size;
    }
  }
  return best;
}
