#include "tools/linkbench/channel/ConvolutionChannel.h"

#include <algorithm>
#include <utility>

namespace {

// The convolver this thread's last stage let go, and its response.
struct Spare {
  std::vector<double> impulse;
  std::unique_ptr<OverlapSaveConvolver> convolver;
};
thread_local Spare spare;

}  // namespace

ConvolutionChannel::ConvolutionChannel(const std::vector<double>& impulse, long delaySamples)
    : delay_(std::max(0L, delaySamples)) {
  if (spare.convolver && spare.impulse == impulse) {
    impulse_ = std::move(spare.impulse);
    convolver_ = std::move(spare.convolver);
    convolver_->Reset();
    reused_ = true;
  }
  spare = Spare();  // another response's is let go before this one is made
  if (!convolver_) {
    convolver_ = std::make_unique<OverlapSaveConvolver>(impulse);
    impulse_ = impulse;
  }
}

ConvolutionChannel::~ConvolutionChannel() {
  spare.impulse = std::move(impulse_);
  spare.convolver = std::move(convolver_);
}

void ConvolutionChannel::Process(double* samples, long count) {
  if (count > 0) convolver_->Push(samples, static_cast<size_t>(count), samples);
}
