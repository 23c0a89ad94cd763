#include "tools/linkbench/channel/RcChannel.h"

#include "tools/common/Numbers.h"

#include <cmath>

RcChannel::RcChannel(double lossDb, int samplesPerBit) : samplesPerBit_(samplesPerBit) {
  if (!(lossDb > 0) || samplesPerBit < 2) return;
  // |H(w)|^2 = (1 - b)^2 / (1 - 2 b cos w + b^2) = g^2 at w = pi / spb gives
  // b^2 - 2 p b + 1 = 0 with p = (1 - g^2 cos w) / (1 - g^2) >= 1.
  const double g2 = std::pow(10.0, -lossDb / 10.0);
  const double c = std::cos(kPi / samplesPerBit);
  const double p = (1.0 - g2 * c) / (1.0 - g2);
  pole_ = p - std::sqrt(p * p - 1.0);
}

double RcChannel::TimeConstant(double bitTime) const {
  if (pole_ <= 0.0) return 0.0;
  return -bitTime / samplesPerBit_ / std::log(pole_);
}

void RcChannel::Process(double* samples, long count) {
  if (pole_ <= 0.0) return;
  double y = state_;
  for (long i = 0; i < count; ++i) {
    y = (1.0 - pole_) * samples[i] + pole_ * y;
    samples[i] = y;
  }
  state_ = y;
}

void RcChannel::Apply(std::vector<double>& wave) const {
  RcChannel fromRest = *this;
  fromRest.Reset();
  fromRest.Process(wave.data(), static_cast<long>(wave.size()));
}
