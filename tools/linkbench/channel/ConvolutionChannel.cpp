#include "tools/linkbench/channel/ConvolutionChannel.h"

#include <algorithm>

ConvolutionChannel::ConvolutionChannel(const std::vector<double>& impulse, long delaySamples)
    : convolver_(impulse), delay_(std::max(0L, delaySamples)) {}

void ConvolutionChannel::Process(double* samples, long count) {
  if (count > 0) convolver_.Push(samples, static_cast<size_t>(count), samples);
}
