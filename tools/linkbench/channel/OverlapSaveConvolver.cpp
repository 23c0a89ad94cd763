#include "tools/linkbench/channel/OverlapSaveConvolver.h"

#include <algorithm>
#include <stdexcept>

OverlapSaveConvolver::OverlapSaveConvolver(const std::vector<double>& impulse, size_t fftSize) : taps_(impulse.size()) {
  if (impulse.empty()) throw std::invalid_argument("OverlapSaveConvolver: empty impulse response");
  if (fftSize == 0) {
    fftSize = 1024;
    while (fftSize < 4 * taps_) fftSize *= 2;
  }
  if (fftSize <= taps_) throw std::invalid_argument("OverlapSaveConvolver: FFT length not above the response length");
  hop_ = fftSize - taps_ + 1;
  fft_ = std::make_unique<RealFft>(fftSize);

  double* time = fft_->Time();
  std::fill(time, time + fftSize, 0.0);
  std::copy(impulse.begin(), impulse.end(), time);
  fft_->Forward();
  const double scale = 1.0 / static_cast<double>(fftSize);
  response_.assign(fft_->Spectrum(), fft_->Spectrum() + fft_->Bins());
  for (std::complex<double>& h : response_) h *= scale;

  window_.assign(fftSize, 0.0);
  ready_.assign(hop_, 0.0);
}

void OverlapSaveConvolver::Reset() {
  std::fill(window_.begin(), window_.end(), 0.0);
  std::fill(ready_.begin(), ready_.end(), 0.0);
  fill_ = 0;
}

void OverlapSaveConvolver::RunHop() {
  const size_t n = fft_->Size();
  double* time = fft_->Time();
  std::copy(window_.begin(), window_.end(), time);
  fft_->Forward();
  std::complex<double>* bins = fft_->Spectrum();
  for (size_t k = 0; k < response_.size(); ++k) {
    // Written out so that no multiply-add contraction can change the bits.
    const double a = bins[k].real(), b = bins[k].imag();
    const double c = response_[k].real(), d = response_[k].imag();
    bins[k] = std::complex<double>(a * c - b * d, a * d + b * c);
  }
  fft_->Inverse();
  std::copy(time + (taps_ - 1), time + n, ready_.begin());
  // The last M - 1 samples of this window start the next one.
  std::copy(window_.end() - static_cast<std::ptrdiff_t>(taps_ - 1), window_.end(), window_.begin());
}

void OverlapSaveConvolver::Push(const double* in, size_t count, double* out) {
  while (count > 0) {
    const size_t take = std::min(count, hop_ - fill_);
    // The inputs are copied before any output is written: `out` may be `in`.
    std::copy(in, in + take, window_.begin() + static_cast<std::ptrdiff_t>(taps_ - 1 + fill_));
    const size_t early = std::min(take, hop_ - 1 - fill_);  // from the previous hop
    std::copy(ready_.begin() + static_cast<std::ptrdiff_t>(fill_ + 1),
              ready_.begin() + static_cast<std::ptrdiff_t>(fill_ + 1 + early), out);
    fill_ += take;
    if (fill_ == hop_) {
      RunHop();
      out[take - 1] = ready_[0];
      fill_ = 0;
    }
    in += take;
    out += take;
    count -= take;
  }
}

std::vector<double> OverlapSaveConvolver::ConvolveDirect(const std::vector<double>& impulse,
                                                         const std::vector<double>& x) {
  std::vector<double> y(x.size(), 0.0);
  for (size_t t = 0; t < x.size(); ++t) {
    double sum = 0.0;
    const size_t taps = std::min(impulse.size(), t + 1);
    for (size_t m = 0; m < taps; ++m) sum += impulse[m] * x[t - m];
    y[t] = sum;
  }
  return y;
}
