#include "tools/linkbench/eye/ClockedEye.h"

#include "tools/common/Numbers.h"

#include <algorithm>
#include <cmath>

namespace {

// Waveform samples the ring keeps, at least, in UI: the windows of the
// last three bits reach 2 UI before the middle one and 3 UI after it.
constexpr long kRingBits = 8;

long RingSize(int samplesPerBit) {
  long size = 1;
  while (size < kRingBits * std::max(1, samplesPerBit)) size *= 2;
  return size;
}

}  // namespace

ClockedEye::ClockedEye(int samplesPerBit, double bitTime, long ignoreBits, long capacity, EyeMeasure* replaced)
    : spb_(std::max(1, samplesPerBit)),
      dt_(bitTime / std::max(1, samplesPerBit)),
      ignoreBefore_(static_cast<double>(std::max(0L, ignoreBits)) * std::max(1, samplesPerBit)),
      replaced_(replaced),
      statistics_(std::max(1, samplesPerBit)),
      queue_(static_cast<size_t>(std::max(1L, capacity))),
      ring_(static_cast<size_t>(RingSize(samplesPerBit)), 0.0),
      ringMask_(RingSize(samplesPerBit) - 1),
      window_(static_cast<size_t>(3 * std::max(1, samplesPerBit) + 1), 0.0) {}

void ClockedEye::AddClockTime(double t, double earliest, double latest) {
  if (!(t >= earliest && t <= latest)) {
    ++clock_.refused;
    return;
  }
  const double instant = t / dt_ + static_cast<double>(spb_) / 2;
  if (instant < ignoreBefore_) return;
  ++clock_.ticks;
  if (size_ == queue_.size()) {
    ++clock_.dropped;
    return;
  }
  queue_[(head_ + size_) % queue_.size()] = instant;
  ++size_;
}

void ClockedEye::Begin(const EyeAlignment& alignment) {
  alignment_ = alignment;
  clocked_ = size_ > 0;
  if (clocked_ && replaced_) replaced_->DropHistograms();
  if (clocked_) {
    // The bits' mean sampling place: the circular mean of the queued
    // instants' places within the UI of the aligned bits.
    double sine = 0.0, cosine = 0.0;
    for (size_t i = 0; i < size_; ++i) {
      const double place = queue_[(head_ + i) % queue_.size()] - static_cast<double>(alignment.delaySamples);
      const double angle = 2 * kPi * place / static_cast<double>(spb_);
      sine += std::sin(angle);
      cosine += std::cos(angle);
    }
    const double turn = std::atan2(sine, cosine) / (2 * kPi);
    centre_ = (turn < 0 ? turn + 1 : turn) * static_cast<double>(spb_);
    statistics_.Begin(alignment);
  }
  for (BitWindowSink* sink : sinks_) sink->Begin(alignment);
}

void ClockedEye::Add(const BitWindow& window) {
  if (!clocked_) {
    for (BitWindowSink* sink : sinks_) sink->Add(window);
    return;
  }
  Store(window);
  values_[0] = values_[1];
  values_[1] = values_[2];
  values_[2] = window.value;
  // A bit is measured when the window after it is in: its instant may lie
  // up to 1.5 UI after its start, and the resampled window 1.5 UI beyond.
  if (++windows_ >= 3) Measure(window.bit - 1);
}

void ClockedEye::Store(const BitWindow& window) {
  const long ringSize = static_cast<long>(ring_.size());
  const long start = alignment_.delaySamples + window.bit * spb_;
  for (long i = -spb_; i < window.end; ++i) ring_[static_cast<size_t>((start + i) & ringMask_)] = window.start[i];
  if (windows_ == 0) ringLow_ = start - spb_;
  ringHigh_ = start + window.end;
  ringLow_ = std::max(ringLow_, ringHigh_ - ringSize);
}

double ClockedEye::RingAt(double position) const {
  long i = static_cast<long>(std::floor(position));
  double f = position - static_cast<double>(i);
  if (i < ringLow_) {
    i = ringLow_;
    f = 0.0;
  }
  if (i > ringHigh_ - 2) {
    i = ringHigh_ - 2;
    f = 1.0;
  }
  const double a = ring_[static_cast<size_t>(i & ringMask_)];
  const double b = ring_[static_cast<size_t>((i + 1) & ringMask_)];
  return a + (b - a) * f;
}

bool ClockedEye::PopInstant(double centre, double& instant) {
  const double half = static_cast<double>(spb_) / 2;
  while (size_ > 0 && queue_[head_] < centre - half) {
    head_ = (head_ + 1) % queue_.size();
    --size_;
  }
  if (size_ == 0 || queue_[head_] >= centre + half) return false;
  instant = queue_[head_];
  head_ = (head_ + 1) % queue_.size();
  --size_;
  return true;
}

void ClockedEye::Measure(long bit) {
  const double centre = static_cast<double>(alignment_.delaySamples + bit * spb_) + centre_;
  double instant = 0.0;
  if (!PopInstant(centre, instant)) {
    ++clock_.unpaired;
    return;
  }
  // The resampled bit starts spb/2 samples before the instant, so that the
  // instant falls on phase spb/2 of it.
  const double start = instant - static_cast<double>(spb_ / 2);
  for (long i = 0; i <= 3 * spb_; ++i)
    window_[static_cast<size_t>(i)] = RingAt(start - static_cast<double>(spb_) + static_cast<double>(i));
  BitWindow w;
  w.bit = bit;
  w.value = values_[1];
  w.previous = values_[0];
  w.start = window_.data() + spb_;
  w.end = 2 * spb_ + 1;
  statistics_.Add(w);
  for (BitWindowSink* sink : sinks_) sink->Add(w);
  const double deviation = instant - centre;
  sumDeviation_ += deviation;
  sumSquares_ += deviation * deviation;
  ++clock_.paired;
  if (firstMeasured_ < 0) firstMeasured_ = bit;
  lastMeasured_ = bit;
}

RecoveredClock ClockedEye::Clock() const {
  RecoveredClock c = clock_;
  c.used = clocked_;
  if (c.paired == 0) return c;
  const double n = static_cast<double>(c.paired);
  const double mean = sumDeviation_ / n;
  const double place =
      std::fmod(static_cast<double>(alignment_.delaySamples) + centre_ + mean, static_cast<double>(spb_));
  c.meanPhase = (place < 0 ? place + static_cast<double>(spb_) : place) * dt_;
  c.jitterRms = std::sqrt(std::max(0.0, sumSquares_ / n - mean * mean)) * dt_;
  return c;
}

EyeMeasurement ClockedEye::Result(const EyeMeasurement& base) const {
  if (!clocked_) return base;
  EyeMeasurement m;
  m.samplesPerBit = base.samplesPerBit;
  m.bitTime = base.bitTime;
  m.outMin = base.outMin;
  m.outMax = base.outMax;
  EyeAlignment measured = alignment_;
  if (firstMeasured_ >= 0) {
    measured.firstBit = firstMeasured_;
    measured.endBit = lastMeasured_ + 1;
  } else {
    measured.endBit = measured.firstBit;
  }
  m = EyeMeasure::Evaluate(m, measured, statistics_, static_cast<int>(spb_ / 2));
  if (!m.valid) m.problem = "at the receiver's clock times: " + m.problem;
  return m;
}
