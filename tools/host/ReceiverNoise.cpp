#include "tools/host/ReceiverNoise.h"

#include "tools/common/Numbers.h"
#include "tools/linkbench/channel/RealFft.h"

#include <algorithm>
#include <cmath>

namespace ReceiverNoise {

NoiseReferral::Path PathFor(bool receiver, NoiseAt at, bool initReturnsImpulse) {
  using Path = NoiseReferral::Path;
  if (!receiver) return Path::kNoReceiver;
  if (at == NoiseAt::kDecision) return Path::kAtDecision;
  return initReturnsImpulse ? Path::kThroughResponse : Path::kNoResponse;
}

double BandPowerGain(const std::vector<double>& taps, int samplesPerBit) {
  const size_t n = taps.size();
  if (n == 0 || samplesPerBit <= 0) return 0.0;
  for (double t : taps)
    if (!std::isfinite(t)) return std::nan("");
  // The autocorrelation through the spectrum's power, padded so that the
  // circular one is the linear one.
  RealFft fft(RealFft::NiceSize(2 * n));
  std::fill(fft.Time(), fft.Time() + fft.Size(), 0.0);
  std::copy(taps.begin(), taps.end(), fft.Time());
  fft.Forward();
  for (size_t k = 0; k < fft.Bins(); ++k) fft.Spectrum()[k] = std::norm(fft.Spectrum()[k]);
  fft.Inverse();
  const double* r = fft.Time();
  // The mean of cos(2 pi f m dt) over f from 0 to the bit rate is
  // sin(x) / x with x = 2 pi m / samplesPerBit.
  double sum = r[0];
  for (size_t m = 1; m < n; ++m) {
    const double x = 2.0 * kPi * static_cast<double>(m) / samplesPerBit;
    sum += 2.0 * r[m] * (std::sin(x) / x);
  }
  return std::max(0.0, sum / static_cast<double>(fft.Size()));
}

bool OwnResponse(const AmiModelLoader& rx, long length, double sampleInterval, double bitTime,
                 const std::string& parameters, std::vector<double>& taps, std::string& error) {
  AmiInstance instance;
  std::string message;
  const bool initOk = rx.Init(instance, sampleInterval, bitTime, parameters, length, message);
  const bool closeOk = rx.Close(instance);
  if (!initOk || !closeOk) {
    error = std::string("the receiver's AMI_") + (initOk ? "Close" : "Init") +
            " reported failure on the unit impulse that measures its response for the noise";
    return false;
  }
  taps.resize(instance.impulse.size());
  for (size_t i = 0; i < taps.size(); ++i) {
    taps[i] = instance.impulse[i] * sampleInterval;
    if (!std::isfinite(taps[i])) {
      error = "the receiver's AMI_Init returned a response that is not finite (sample " + std::to_string(i) +
              ") for the unit impulse that measures its response for the noise";
      return false;
    }
  }
  return true;
}

}  // namespace ReceiverNoise
