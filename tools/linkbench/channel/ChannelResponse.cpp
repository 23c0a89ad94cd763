#include "tools/linkbench/channel/ChannelResponse.h"

#include "tools/common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/linkbench/channel/RealFft.h"

namespace {

constexpr size_t kDcFitPoints = 8;
// A group delay longer than this (300,000 km of line) comes from points too
// close together for their phase step, not from a channel.
constexpr double kMaxDelaySeconds = 1.0;

std::string Figure(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Least-squares a, b, c of y = a + b sqrt(x) + c x; false when singular.
bool FitLoss(const std::vector<double>& x, const std::vector<double>& y, double coefficients[3]) {
  double m[3][4] = {};
  for (size_t i = 0; i < x.size(); ++i) {
    const double basis[3] = {1.0, std::sqrt(x[i]), x[i]};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) m[r][c] += basis[r] * basis[c];
      m[r][3] += basis[r] * y[i];
    }
  }
  for (int col = 0; col < 3; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 3; ++r)
      if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
    if (!(std::fabs(m[pivot][col]) > 1e-12 * std::fabs(m[0][0]))) return false;
    for (int c = 0; c < 4; ++c) std::swap(m[col][c], m[pivot][c]);
    for (int r = 0; r < 3; ++r) {
      if (r == col) continue;
      const double k = m[r][col] / m[col][col];
      for (int c = col; c < 4; ++c) m[r][c] -= k * m[col][c];
    }
  }
  for (int r = 0; r < 3; ++r) coefficients[r] = m[r][3] / m[r][r];
  return std::isfinite(coefficients[0]) && std::isfinite(coefficients[1]) && std::isfinite(coefficients[2]);
}

}  // namespace

std::string FormatHertz(double f) { return SiPrefixed(f, "Hz", 4); }

TouchstoneLimits ChannelResponse::FileLimits() {
  TouchstoneLimits limits;
  limits.ports = {2, 4};
  limits.portsRefusal = "cannot be used as a channel: a 2-port (S21) or a 4-port (differential SDD21)";
  return limits;
}

bool ChannelResponse::ParsePorts(const std::string& text, Ports& ports, std::string& error) {
  int values[4] = {};
  int count = 0;
  bool seen[5] = {};
  size_t i = 0;
  while (i <= text.size()) {
    const size_t comma = std::min(text.find(',', i), text.size());
    const std::string item = text.substr(i, comma - i);
    if (count == 4 || item.size() != 1 || item[0] < '1' || item[0] > '4' || seen[item[0] - '0']) {
      error = "--ports needs four different ports from 1 to 4, p-in,p-out,n-in,n-out (e.g. 1,2,3,4), not " + text;
      return false;
    }
    seen[item[0] - '0'] = true;
    values[count++] = item[0] - '0';
    i = comma + 1;
  }
  if (count != 4) {
    error = "--ports needs four different ports from 1 to 4, p-in,p-out,n-in,n-out (e.g. 1,2,3,4), not " + text;
    return false;
  }
  ports = Ports{values[0], values[1], values[2], values[3]};
  return true;
}

bool ChannelResponse::SetNetwork(const TouchstoneNetwork& network, const Ports& ports, std::string& error) {
  *this = ChannelResponse();
  if (network.ports != 2 && network.ports != 4) {
    error = "a " + std::to_string(network.ports) +
            "-port network cannot be used as a channel: a 2-port (S21) or a 4-port (differential SDD21)";
    return false;
  }
  if (network.Points() == 0 || network.s.size() != network.Points() * network.ports * network.ports) {
    error = "no network data";
    return false;
  }
  if (network.ports == 2) {
    name_ = "S21";
  } else {
    name_ = "SDD21 (p " + std::to_string(ports.pIn) + "->" + std::to_string(ports.pOut) + ", n " +
            std::to_string(ports.nIn) + "->" + std::to_string(ports.nOut) + ")";
    CheckPortOrder(network, ports);
  }
  if (!TakeThroughPath(network, ports, error)) return false;
  FitDc();
  const size_t n = f_.size();
  if (n >= 2) {
    const double from = f_.back() - 0.1 * (f_.back() - f_.front());
    topDelay_ = -(phase_.back() - Phase(from)) / (2.0 * kPi * (f_.back() - from));
  }
  return CheckFinite(error);
}

// What the extrapolation and the FFT size rest on must be finite numbers of
// a channel's size.
bool ChannelResponse::CheckFinite(std::string& error) const {
  if (!std::isfinite(dcMagnitude_) || !std::isfinite(dcPhase_)) {
    error = "the DC value fitted to the lowest points is not finite (" + Figure("%g", dcMagnitude_) + ")";
    return false;
  }
  const double delays[2] = {MeanDelay(), topDelay_};
  for (int i = 0; i < 2; ++i) {
    if (!(std::fabs(delays[i]) <= kMaxDelaySeconds)) {
      const double from = i == 0 ? f_.front() : f_.back() - 0.1 * (f_.back() - f_.front());
      error = "the phase of " + name_ + " from " + FormatHertz(from) + " to " + FormatHertz(f_.back()) +
              " gives a group delay of " + Figure("%g", delays[i]) +
              " s, not a channel's: points too close together for their phase step?";
      return false;
    }
  }
  return true;
}

// The mean group delay over the file's band (0 with one point).
double ChannelResponse::MeanDelay() const {
  const size_t n = f_.size();
  if (n < 2) return 0.0;
  return -(phase_.back() - phase_.front()) / (2.0 * kPi * (f_.back() - f_.front()));
}

// The through paths are the strongest at the lowest frequency: a note names
// the port order that fits when the one given is much weaker.
void ChannelResponse::CheckPortOrder(const TouchstoneNetwork& network, const Ports& p) {
  auto strength = [&](int a, int b) { return 0.5 * (std::abs(network.S(0, a, b)) + std::abs(network.S(0, b, a))); };
  const int pairings[3][4] = {{1, 2, 3, 4}, {1, 3, 2, 4}, {1, 4, 2, 3}};
  int best = 0;
  double bestStrength = -1.0;
  for (int k = 0; k < 3; ++k) {
    const double s = strength(pairings[k][0], pairings[k][1]) + strength(pairings[k][2], pairings[k][3]);
    if (s > bestStrength) bestStrength = s, best = k;
  }
  const double chosen = strength(p.pIn, p.pOut) + strength(p.nIn, p.nOut);
  if (bestStrength > 2.0 * chosen) {
    const int* q = pairings[best];
    char text[200];
    std::snprintf(text, sizeof text,
                  "at %s the strongest through paths are ports %d-%d and %d-%d, not the ones --ports names: "
                  "try --ports %d,%d,%d,%d",
                  FormatHertz(network.frequency[0]).c_str(), q[0], q[1], q[2], q[3], q[0], q[1], q[2], q[3]);
    notes_.push_back(text);
  }
}

// S21, or SDD21 from the four ports, as magnitude and unwrapped phase at
// every frequency; a repeated frequency keeps its first point.
bool ChannelResponse::TakeThroughPath(const TouchstoneNetwork& network, const Ports& p, std::string& error) {
  auto through = [&](size_t k) {
    if (network.ports == 2) return network.S(k, 2, 1);
    return 0.5 * (network.S(k, p.pOut, p.pIn) - network.S(k, p.pOut, p.nIn) - network.S(k, p.nOut, p.pIn) +
                  network.S(k, p.nOut, p.nIn));
  };
  size_t repeated = 0;
  for (size_t k = 0; k < network.Points(); ++k) {
    const double f = network.frequency[k];
    if (!f_.empty() && f <= f_.back()) {
      ++repeated;
      continue;
    }
    const std::complex<double> h = through(k);
    if (!std::isfinite(std::abs(h))) {
      error = name_ + " is not finite at " + FormatHertz(f) + ": the file's values there are too large to combine";
      return false;
    }
    largest_ = std::max(largest_, std::abs(h));
    double phase = std::arg(h);
    if (!phase_.empty()) {
      const double step = std::remainder(phase - phase_.back(), 2.0 * kPi);
      phase = phase_.back() + step;
    }
    f_.push_back(f);
    mag_.push_back(std::abs(h));
    phase_.push_back(phase);
  }
  if (repeated > 0) notes_.push_back(std::to_string(repeated) + " repeated frequencies: the first of each used");
  return true;
}

void ChannelResponse::FitDc() {
  if (f_.front() == 0.0) {
    dcMagnitude_ = mag_.front();
    dcPhase_ = kPi * std::round(phase_.front() / kPi);
    return;
  }
  const size_t n = std::min(kDcFitPoints, f_.size());
  // Phase: the multiple of pi its low-frequency line points to.
  double phaseAtDc = phase_.front();
  if (n >= 2) phaseAtDc -= f_[0] * (phase_[1] - phase_[0]) / (f_[1] - f_[0]);
  dcPhase_ = kPi * std::round(phaseAtDc / kPi);
  // Magnitude: the loss a line would have at DC.
  double lossDb = -20.0 * std::log10(std::max(mag_.front(), 1e-300));
  if (n >= 3) {
    std::vector<double> x(n), y(n);
    for (size_t i = 0; i < n; ++i) {
      x[i] = f_[i] / f_[0];
      y[i] = -20.0 * std::log10(std::max(mag_[i], 1e-300));
    }
    double c[3];
    if (FitLoss(x, y, c)) lossDb = c[0];
  }
  dcMagnitude_ = std::pow(10.0, -lossDb / 20.0);
  const double limit = std::max(1.0, mag_.front());
  if (!(dcMagnitude_ <= limit)) dcMagnitude_ = limit;
  notes_.push_back("DC gain extrapolated from " + FormatHertz(f_.front()));
}

double ChannelResponse::Magnitude(double f) const {
  if (f <= f_.front()) {
    if (f_.front() == 0.0) return mag_.front();
    return dcMagnitude_ + (mag_.front() - dcMagnitude_) * (f / f_.front());
  }
  if (f >= f_.back()) return mag_.back();
  const size_t i = static_cast<size_t>(std::upper_bound(f_.begin(), f_.end(), f) - f_.begin());
  const double w = (f - f_[i - 1]) / (f_[i] - f_[i - 1]);
  return mag_[i - 1] + (mag_[i] - mag_[i - 1]) * w;
}

double ChannelResponse::Phase(double f) const {
  if (f <= f_.front()) {
    if (f_.front() == 0.0) return dcPhase_;
    return dcPhase_ + (phase_.front() - dcPhase_) * (f / f_.front());
  }
  if (f >= f_.back()) return phase_.back() - 2.0 * kPi * topDelay_ * (f - f_.back());
  const size_t i = static_cast<size_t>(std::upper_bound(f_.begin(), f_.end(), f) - f_.begin());
  const double w = (f - f_[i - 1]) / (f_[i] - f_[i - 1]);
  return phase_[i - 1] + (phase_[i] - phase_[i - 1]) * w;
}

std::complex<double> ChannelResponse::At(double f) const {
  if (f_.empty() || !(f >= 0.0)) return 0.0;
  if (f == 0.0) return dcMagnitude_ * std::cos(dcPhase_);
  double m = Magnitude(f);
  if (nyquist_ > 0.0 && f > cutFrom_) {
    m = f >= nyquist_ ? 0.0 : m * 0.5 * (1.0 + std::cos(kPi * (f - cutFrom_) / (nyquist_ - cutFrom_)));
  }
  const double phase = Phase(f);
  return {m * std::cos(phase), m * std::sin(phase)};
}

double ChannelResponse::LossDb(double f) const { return -20.0 * std::log10(std::abs(At(f))); }

bool ChannelResponse::CheckLossAt(double f, std::string& error) const {
  const double loss = LossDb(f);
  if (std::isfinite(loss)) return true;
  error = "the loss at " + FormatHertz(f) + " is not finite (" + Figure("%g", loss) + " dB): " + name_ +
          (std::abs(At(f)) == 0.0 ? " is zero there" : " is out of range there");
  return false;
}

bool ChannelResponse::Build(double dt, std::string& error, size_t fftSize) {
  const bool given = fftSize != 0;
  if (!CheckGrid(dt, error) || !ChooseFftSize(dt, fftSize, error) || !CheckPeriod(dt, fftSize, given, error))
    return false;
  nyquist_ = 0.5 / dt;
  cutFrom_ = std::min(f_.back(), 0.9 * nyquist_);
  if (f_.back() > cutFrom_) {
    notes_.push_back("data above " + FormatHertz(cutFrom_) + " rolled off to zero at the grid's Nyquist frequency " +
                     FormatHertz(nyquist_));
  }
  RealFft fft(fftSize);
  std::complex<double>* bins = fft.Spectrum();
  const double df = 1.0 / (static_cast<double>(fftSize) * dt);
  for (size_t k = 0; k < fft.Bins(); ++k) {
    bins[k] = At(static_cast<double>(k) * df);
    if (!std::isfinite(bins[k].real()) || !std::isfinite(bins[k].imag())) {
      error = "the response is not finite at " + FormatHertz(static_cast<double>(k) * df);
      return false;
    }
  }
  bins[0] = bins[0].real();
  bins[fft.Bins() - 1] = bins[fft.Bins() - 1].real();
  fft.Inverse();
  dt_ = dt;
  fftSize_ = fftSize;
  dcGain_ = At(0.0).real();
  if (!KeepResponse(fft.Time(), fftSize, error)) return false;
  FindDelay();
  if (!std::isfinite(dcGain_) || !std::isfinite(delay_) || !std::isfinite(keptSum_)) {
    error = "the channel's figures are not finite (DC gain " + Figure("%g", dcGain_) + ", delay " +
            Figure("%g", delay_) + " s)";
    return false;
  }
  return true;
}

size_t ChannelResponse::ConvolutionBytes() const {
  // As OverlapSaveConvolver sizes its FFT: at least four times the taps.
  size_t n = 1024;
  while (n < 4 * impulse_.size()) n *= 2;
  // The FFT's time and spectrum, the response's spectrum, the window, the
  // samples ready: about 38 bytes a point; the plans' own, about 8 more.
  return 46 * n;
}

bool ChannelResponse::CheckGrid(double dt, std::string& error) const {
  if (f_.empty()) {
    error = "no channel to build";
    return false;
  }
  if (!(dt > 0.0) || !std::isfinite(1.0 / dt)) {
    error = "the sample interval must be a positive number of seconds";
    return false;
  }
  const double nyquist = 0.5 / dt;
  if (f_.front() >= 0.9 * nyquist) {
    error = "the file starts at " + FormatHertz(f_.front()) + ", too close to the grid's Nyquist frequency " +
            FormatHertz(nyquist) + ": use a smaller sample interval";
    return false;
  }
  return true;
}

// A given FFT length is checked; 0 picks one whose period holds what the
// file's frequency step can describe and leaves room around the channel's
// delay.
bool ChannelResponse::ChooseFftSize(double dt, size_t& fftSize, std::string& error) {
  if (fftSize != 0) {
    if (fftSize >= 16 && fftSize % 2 == 0 && fftSize <= kMaxFftSize) return true;
    error = "the FFT length must be even, from 16 to " + std::to_string(kMaxFftSize);
    return false;
  }
  const size_t n = f_.size();
  const double step = n >= 2 ? (f_.back() - f_.front()) / static_cast<double>(n - 1) : f_.front();
  double period = step > 0.0 ? 4.0 / step : 0.0;
  for (size_t i = 1; i < n; ++i) period = std::max(period, 2.0 / (f_[i] - f_[i - 1]));
  if (n >= 2) period = std::max(period, 8.0 * std::fabs(MeanDelay()));
  const double half = std::ceil(std::max(period / dt, 64.0) / 2.0);
  fftSize = half >= static_cast<double>(kMaxFftSize / 2) ? kMaxFftSize : 2 * RealFft::NiceSize(size_t(half));
  if (fftSize > kMaxFftSize) fftSize = kMaxFftSize;
  if (fftSize == kMaxFftSize) notes_.push_back("FFT length capped at " + std::to_string(kMaxFftSize) + " points");
  return true;
}

// The response must end within the first half of the FFT's period, or it
// wraps around into the time before t = 0 and every figure is wrong: the
// period must hold four times the channel's delay (the delay and as long
// again for its tail, in the first half).
bool ChannelResponse::CheckPeriod(double dt, size_t fftSize, bool given, std::string& error) const {
  const double delay = std::fabs(MeanDelay());
  const double period = static_cast<double>(fftSize) * dt;
  if (4.0 * delay <= period) return true;
  const std::string head = "the FFT period, " + std::to_string(fftSize) + " points of " + Figure("%.6g", dt * 1e12) +
                           " ps (" + Figure("%.6g", period * 1e9) + " ns), is shorter than four times the channel's " +
                           Figure("%.6g", delay * 1e9) +
                           " ns delay (the delay and its tail, in the first half of the period): the response "
                           "would wrap around. ";
  if (given) {
    error = head + "Give a larger --fft-size, at least " + Figure("%.0f", std::ceil(4.0 * delay / dt)) + ".";
  } else {
    error = head + "Use fewer --samples-per-bit or a longer --bit-time: the FFT is capped at " +
            std::to_string(kMaxFftSize) + " points, so the sample interval must be at least " +
            Figure("%.3g", 4.0 * delay / static_cast<double>(kMaxFftSize) * 1e12) + " ps.";
  }
  return false;
}

namespace {

// How much of the inverse FFT's first half (`time` times `scale`) a channel
// keeps: up to the last sample that is not negligible, and at most to where
// the rest holds less than `tailEnergy` of the energy `total`.
size_t KeptLength(const double* time, double scale, size_t half, double peak, double reference, double total,
                  double tailEnergy) {
  // Negligible samples from the end: below 1e-6 of the peak and not moving
  // the step response by 1e-4 of its final value.
  size_t length = half;
  double tail = 0.0;
  while (length > 1) {
    const double h = time[length - 1] * scale;
    if (std::fabs(h) > 1e-6 * peak || std::fabs(tail + h) > 1e-4 * reference) break;
    tail += h;
    --length;
  }
  // At most to where the rest holds less than tailEnergy of the energy.
  size_t energyLength = half;
  double rest = 0.0;
  while (energyLength > 1) {
    const double h = time[energyLength - 1] * scale;
    if (rest + h * h >= tailEnergy * total) break;
    rest += h * h;
    --energyLength;
  }
  return std::min(length, energyLength);
}

}  // namespace

// From the inverse FFT's period (unscaled): the energy before t = 0 (the
// second half), the response kept up to where what follows is negligible,
// and a note when the kept response does not add up to the DC gain.
bool ChannelResponse::KeepResponse(const double* time, size_t fftSize, std::string& error) {
  const double scale = 1.0 / static_cast<double>(fftSize);
  const size_t half = fftSize / 2;
  double total = 0.0, before = 0.0, peak = 0.0, sum = 0.0;
  for (size_t i = 0; i < fftSize; ++i) {
    const double h = time[i] * scale;
    total += h * h;
    if (i >= half) before += h * h;
    if (i < half) peak = std::max(peak, std::fabs(h)), sum += h;
  }
  if (!std::isfinite(total) || !std::isfinite(sum)) {
    error = "the impulse response is not finite: the file's values (|" + name_ + "| up to " + Figure("%g", largest_) +
            ") are too large";
    return false;
  }
  const double reference = std::max(std::fabs(sum), peak);
  size_t length = KeptLength(time, scale, half, peak, reference, total, kTailEnergy);
  const bool capped = length > kMaxKeptSamples;
  if (capped) length = kMaxKeptSamples;
  double tail = 0.0;
  double cut = 0.0;
  for (size_t i = half; i-- > length;) {
    const double h = time[i] * scale;
    tail += h;
    cut += h * h;
  }
  impulse_.resize(length);
  for (size_t i = 0; i < length; ++i) impulse_[i] = time[i] * scale;
  preT0Energy_ = total > 0.0 ? before / total : 0.0;
  cutEnergy_ = total > 0.0 ? cut / total : 0.0;
  keptSum_ = sum - tail;
  if (capped) {
    char text[240];
    std::snprintf(text, sizeof text,
                  "the kept response is cut at %zu samples (%.6g ns), the most a run holds; the rest holds %.3g of "
                  "the energy and %.3g of the sum",
                  length, static_cast<double>(length) * dt_ * 1e9, cutEnergy_, tail);
    notes_.push_back(text);
  }
  if (std::fabs(keptSum_ - dcGain_) > 1e-3 * std::fabs(dcGain_)) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "the response from t = 0 on sums to %.6g, the DC gain is %.6g: the data are not causal near DC "
                  "(too coarse a frequency step there?)",
                  keptSum_, dcGain_);
    notes_.push_back(text);
  }
  return true;
}

// Delay: where the step response first reaches half its final value.
void ChannelResponse::FindDelay() {
  const double final = keptSum_;
  delay_ = 0.0;
  double s = 0.0;
  for (size_t i = 0; i < impulse_.size(); ++i) {
    const double previous = s;
    s += impulse_[i];
    if (final != 0.0 && s / final >= 0.5) {
      const double w = (0.5 * final - previous) / (s - previous);
      delay_ = (static_cast<double>(i) - 0.5 + w) * dt_;  // the sum up to i is the step at (i + 1/2) dt
      break;
    }
  }
}

std::vector<double> ChannelResponse::Step() const {
  std::vector<double> step(impulse_.size());
  double s = 0.0;
  for (size_t i = 0; i < impulse_.size(); ++i) step[i] = s += impulse_[i];
  return step;
}
