// The impulse response of a channel given as S-parameters, on a simulation
// grid of sample interval dt.
//
// The through transfer function is S21 of a 2-port, or the differential
// through SDD21 of a 4-port,
//   SDD21 = (S[pOut][pIn] - S[pOut][nIn] - S[nOut][pIn] + S[nOut][nIn]) / 2,
// with the ports named by `--ports pIn,pOut,nIn,nOut`. The default 1,2,3,4
// (p line 1 -> 2, n line 3 -> 4: odd ports in, even ports out) is the order
// in which a differential pair is most often measured and exported, and the
// one this project's generated channels use; the other common order, inputs
// 1 and 2 and outputs 3 and 4, is --ports 1,3,2,4. Which pairs carry the
// signal shows in the data (a through path is strong at low frequencies), so
// a file whose strongest paths disagree with the chosen ports gets a note
// naming the order that fits.
//
// From the file's frequencies to the grid's 0 .. 1 / (2 dt):
// - between points, magnitude and unwrapped phase are interpolated linearly;
// - below the first point, the magnitude goes to a DC value taken from a
//   least-squares fit of the loss in dB to a + b sqrt(f) + c f (DC, skin
//   effect and dielectric loss of a line) over the lowest points, and the
//   phase to the multiple of pi that its low-frequency trend points to, so
//   the DC gain is real;
// - above the last point, the phase continues with the group delay of the
//   top tenth of the band and the magnitude rolls off to zero at the grid's
//   Nyquist frequency with a raised cosine; data above it are cut off the
//   same way over the top tenth of the grid's band.
// The spectrum, sampled at 1 / (N dt) with N large enough for the file's
// frequency steps (four periods of the mean step, two of the finest) and
// the channel's delay, goes through an inverse FFT. The
// result is h[n] with y = h * x on the grid (its sum is the DC gain); the
// second half of the period is time before t = 0, whose energy is reported
// as the causality check, with a note when the response from t = 0 on does
// not add up to the DC gain (non-causal data near DC).
//
// The kept response ends where the rest is below 1e-6 of the peak and moves
// the step response by less than 1e-4 of its final value, or earlier where
// the rest holds less than 1e-12 of the response's energy (120 dB down), and
// never beyond kMaxKeptSamples: what one run's convolution of it holds is
// then bounded (about 46 bytes per FFT point, the FFT four times the kept
// length rounded up to a power of two: at most about 100 MiB), as is the FFT
// that builds it (kMaxFftSize points, about 100 MiB).
//
// Refused with the reason: a through path, DC fit or response that is not
// finite (values too large to combine, points too close to give a delay),
// and an FFT period that cannot hold the channel: when the period (capped,
// or given) is shorter than four times the channel's delay (the delay and
// as long again for its tail, in the first half of the period), the
// response would wrap around into the time before t = 0.
#pragma once

#include <complex>
#include <cstddef>
#include <string>
#include <vector>

#include "tools/linkbench/channel/Touchstone.h"

// "5 GHz", "20 MHz": a frequency with four significant digits (SiPrefixed).
std::string FormatHertz(double f);

class ChannelResponse {
 public:
  static constexpr size_t kMaxFftSize = size_t{1} << 22;
  static constexpr size_t kMaxKeptSamples = size_t{1} << 19;
  static constexpr double kTailEnergy = 1e-12;

  struct Ports {
    int pIn = 1, pOut = 2, nIn = 3, nOut = 4;
  };

  // What reading a Touchstone file for a channel accepts: 2 or 4 ports,
  // others refused as soon as the file gives its count.
  static TouchstoneLimits FileLimits();

  // Reads "a,b,c,d": four different ports from 1 to 4.
  static bool ParsePorts(const std::string& text, Ports& ports, std::string& error);

  // Takes the through transfer function out of NETWORK (2 or 4 ports). On
  // failure returns false with a reason.
  bool SetNetwork(const TouchstoneNetwork& network, const Ports& ports, std::string& error);

  // Builds the impulse response on a grid of sample interval `dt` seconds;
  // `fftSize` 0 picks the length. Needs SetNetwork first. On failure returns
  // false with a reason (a wrapped response names the option to change).
  bool Build(double dt, std::string& error, size_t fftSize = 0);
  // Bytes one run's convolution of the kept response takes (its FFT
  // buffers, spectra and windows), after Build.
  size_t ConvolutionBytes() const;

  // The transfer function used, interpolated and extrapolated as for the
  // grid (before Build, as far as the file's last frequency): f >= 0 Hz.
  std::complex<double> At(double f) const;
  double LossDb(double f) const;  // -20 log10 |At(f)|
  // False, with the reason, when LossDb(f) is not a finite number (a path
  // that passes nothing there): the figures at f would be meaningless.
  bool CheckLossAt(double f, std::string& error) const;

  const std::string& Name() const { return name_; }  // "S21" or "SDD21 (p 1->2, n 3->4)"
  const std::vector<std::string>& Notes() const { return notes_; }
  double FirstFrequency() const { return f_.front(); }
  double LastFrequency() const { return f_.back(); }

  // Results of Build.
  const std::vector<double>& Impulse() const { return impulse_; }
  double Dt() const { return dt_; }
  size_t FftSize() const { return fftSize_; }
  double DcGain() const { return dcGain_; }
  double Delay() const { return delay_; }              // seconds to 50 % of the final step value
  double PreT0Energy() const { return preT0Energy_; }  // share of the energy before t = 0
  double CutEnergy() const { return cutEnergy_; }      // share after the kept response ends
  double KeptSum() const { return keptSum_; }          // sum of the kept response: its DC gain
  std::vector<double> Step() const;                    // running sum of the kept impulse response

 private:
  double Magnitude(double f) const;
  double Phase(double f) const;
  void CheckPortOrder(const TouchstoneNetwork& network, const Ports& ports);
  bool TakeThroughPath(const TouchstoneNetwork& network, const Ports& ports, std::string& error);
  void FitDc();
  bool CheckFinite(std::string& error) const;
  bool CheckGrid(double dt, std::string& error) const;
  double MeanDelay() const;
  bool ChooseFftSize(double dt, size_t& fftSize, std::string& error);
  bool CheckPeriod(double dt, size_t fftSize, bool given, std::string& error) const;
  bool KeepResponse(const double* time, size_t fftSize, std::string& error);
  void FindDelay();

  std::string name_;
  std::vector<std::string> notes_;
  std::vector<double> f_;      // strictly increasing, > 0 unless the file has DC
  std::vector<double> mag_;    // |H|
  std::vector<double> phase_;  // unwrapped arg H
  double dcMagnitude_ = 0.0;
  double dcPhase_ = 0.0;  // 0 or a multiple of pi
  double topDelay_ = 0.0;
  double largest_ = 0.0;  // the largest |H| in the file
  double nyquist_ = 0.0;  // of the grid, once built
  double cutFrom_ = 0.0;  // the roll-off starts here

  std::vector<double> impulse_;
  double dt_ = 0.0;
  size_t fftSize_ = 0;
  double dcGain_ = 0.0;
  double delay_ = 0.0;
  double preT0Energy_ = 0.0;
  double cutEnergy_ = 0.0;
  double keptSum_ = 0.0;
};
