// Bit error ratio against sampling phase and decision threshold, computed
// exactly from the sample distributions the run gathered (SampleHistograms)
// plus Gaussian noise and Gaussian random jitter; nothing is extrapolated.
//
// Noise (RMS sigma_n at the receiver input, added to every sample): a bit
// sent as '1' whose noiseless sample is x is read as '0' at threshold v with
// probability Phi((v - x) / sigma_n), a '0' as '1' with Phi((x - v) /
// sigma_n). The samples of a histogram bin are taken at their mean (to
// 1/kPositions of a bin), so each bin adds its count times the exact
// Gaussian CDF at that point; the thresholds are the bin edges, so for each
// of the kPositions places in a bin this is one kernel for all thresholds: a
// discrete convolution of the histogram, summed exactly. Bins further than
// 10.5 sigma_n from a threshold count as 0 or 1 (the Gaussian beyond holds
// less than 1e-25). Without noise the kernel is the step (a bin counts wholly
// on its side of the threshold). Taking a bin's samples at their mean errs
// only by their spread within the bin (second order in bin / sigma_n).
//
// Jitter (RMS sigma_j of the sampling instant): the BER at phase t is the
// average of the noise-only BER over t + tau, tau Gaussian. The phases are a
// grid of step h (1/128 UI); the BER between two grid phases is taken as
// that of the nearer one, so the weight of a grid phase d steps away is the
// Gaussian's probability over that step, Phi((d + 1/2) h / sigma_j) -
// Phi((d - 1/2) h / sigma_j), out to 9 sigma_j. That is the one
// approximation: an edge of the eye moves by at most h / 2 (0.39 ps at
// 10 Gb/s) against a waveform interpolated linearly between samples. Phases
// the jitter reaches beyond the two UI gathered read the last one gathered
// (the BER there is that of the eye's crossing, near 1/2).
//
// BER = (errors of the '1' bits + errors of the '0' bits) / all bits.
#pragma once

#include "tools/linkbench/eye/SampleHistograms.h"

#include <vector>

class BerMap {
 public:
  // `noiseV`: RMS noise in volts; `jitterUi`: RMS jitter in UI; both >= 0.
  BerMap(const SampleHistograms& histograms, double noiseV, double jitterUi);

  static constexpr int kPhases = SampleHistograms::kPhases;
  static constexpr int kThresholds = SampleHistograms::kBins + 1;

  const double& At(int phase, int threshold) const { return ber_[Index(phase, threshold)]; }
  // Threshold `threshold` in volts; phase `phase` in UI from the bit's start.
  double ThresholdVolts(int threshold) const { return low_ + step_ * threshold; }
  double ThresholdStep() const { return step_; }
  static double PhaseUi(int phase) { return SampleHistograms::PhaseUi(phase); }
  uint64_t Bits() const { return bits_; }
  double NoiseV() const { return noiseV_; }
  double JitterUi() const { return jitterUi_; }

  // Places in a bin at which its samples are taken.
  static constexpr int kPositions = 64;
  // The noise kernels for a noise of `noiseOverBin` bins RMS: for each place
  // j in a bin (at (j + 1/2) / kPositions of it) and m = threshold - bin in
  // (-reach, reach), the probability that a '1' there is read as '0'
  // (`ones`, 1 for m >= reach, 0 for m <= -reach) and that a '0' there is
  // read as '1' (`zeros`, 0 for m >= reach, 1 for m <= -reach), each at
  // [j * (2 reach - 1) + m + reach - 1].
  static void NoiseKernels(double noiseOverBin, int& reach, std::vector<double>& ones, std::vector<double>& zeros);

 private:
  static size_t Index(int phase, int threshold) {
    return static_cast<size_t>(phase) * kThresholds + static_cast<size_t>(threshold);
  }
  // Errors at every threshold of one phase, for the bits of value `bit`
  // (`definite`: room for kThresholds + 1 values).
  void AddErrors(const SampleHistograms::Bin* bins, int bit, double* errors, std::vector<double>& definite) const;
  void ApplyJitter();

  double low_;
  double step_;
  double noiseV_;
  double jitterUi_;
  uint64_t bits_;
  std::vector<double> ones_;  // the noise kernels (NoiseKernels)
  std::vector<double> zeros_;
  int reach_ = 1;
  std::vector<double> ber_;  // [phase][threshold]
};
