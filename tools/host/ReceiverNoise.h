// Noise at the receiver's input pins, carried to its decision point.
//
// `--noise` is the RMS of Gaussian noise at the receiver's input pins, flat
// from DC to the bit rate and none beyond, so that the figure names the
// noise whatever the simulation grid. Without a receiver the decision point
// is the input pins themselves: the noise there is the same. A receiver's
// linear part (the impulse response its AMI_Init returns) shapes the noise
// as it shapes the signal: after a response H its variance is the input's
// times the mean of |H(f)|^2 over the band. H is the receiver's own,
// measured on a unit impulse by a fresh instance with the run's parameters.
// A decision-feedback equaliser subtracts decisions, not noise, and changes
// nothing. A receiver whose AMI_Init returns no impulse response gives no H:
// its noise is then taken as given at the decision point (output-referred),
// as it is on request (--noise-at decision).
#pragma once

#include "tools/host/AmiModelLoader.h"

#include <string>
#include <vector>

// Where --noise is given.
enum class NoiseAt { kInput, kDecision };

// The noise of one run: as given, and where the BER is read.
struct NoiseReferral {
  enum class Path {
    kNoReceiver,       // the decision point is the input pins
    kThroughResponse,  // through the receiver's own AMI_Init response
    kNoResponse,       // its AMI_Init returns none: added at the decision point
    kAtDecision,       // given at the decision point (--noise-at decision)
  };
  Path path = Path::kNoReceiver;
  double inputMv = 0.0;     // RMS as given
  double decisionMv = 0.0;  // RMS at the decision point
};

namespace ReceiverNoise {

// The noise's path for a run: without a receiver, with one given the noise
// where `at` says, and whether its AMI_Init returns an impulse response.
NoiseReferral::Path PathFor(bool receiver, NoiseAt at, bool initReturnsImpulse);

// The mean of |H(f)|^2 from DC to the bit rate for the response whose taps
// (one per sample, `samplesPerBit` to the UI) are `taps`: exactly
// r[0] + 2 sum_m r[m] sin(2 pi m / spb) / (2 pi m / spb), r the taps'
// autocorrelation. Not finite when a tap is not.
double BandPowerGain(const std::vector<double>& taps, int samplesPerBit);

// The receiver's own response, one tap per sample: a fresh instance's
// AMI_Init with `parameters` on a unit impulse of `length` samples, then
// closed. False with `error` when the model refuses or returns values that
// are not finite.
bool OwnResponse(const AmiModelLoader& rx, long length, double sampleInterval, double bitTime,
                 const std::string& parameters, std::vector<double>& taps, std::string& error);

}  // namespace ReceiverNoise
