#include "tools/linkbench/eye/LatencyAligner.h"

#include <algorithm>
#include <limits>

LatencyAligner::Search LatencyAligner::PlanSearch(long samples, long bits, int samplesPerBit, long maxLag,
                                                  long minLag) {
  Search search;
  const long spb = samplesPerBit;
  if (spb <= 0 || bits <= 0 || samples < spb) return search;
  search.maxLag = std::max(0L, std::min(maxLag, samples - spb));
  // Whole bits whose samples stay inside the output at every lag searched.
  search.bits = std::max(0L, std::min({bits, (samples - search.maxLag) / spb, kLatencyBits}));
  search.span = search.bits > 0 ? search.bits * spb + search.maxLag : 0;
  search.minLag = std::max(0L, std::min(minLag, search.maxLag));
  return search;
}

long LatencyAligner::FindDelay(const double* output, const uint8_t* bits, int samplesPerBit, const Search& search) {
  if (search.bits <= 0) return 0;
  const long spb = samplesPerBit;
  // The stimulus is constant over each bit, so the correlation at one lag is a
  // sum over bits of +-(sum of the output over that bit's samples): prefix sums
  // of the output (its mean removed) make that one subtraction per bit.
  const long span = search.span;
  double mean = 0.0;
  for (long i = 0; i < span; ++i) mean += output[i];
  mean /= static_cast<double>(span);
  std::vector<double> prefix(static_cast<size_t>(span) + 1, 0.0);
  for (long i = 0; i < span; ++i) prefix[i + 1] = prefix[i] + (output[i] - mean);

  long best = search.minLag;
  double bestCorr = -std::numeric_limits<double>::infinity();
  for (long lag = search.minLag; lag <= search.maxLag; ++lag) {
    double corr = 0.0;
    for (long k = 0; k < search.bits; ++k) {
      const double s = prefix[lag + (k + 1) * spb] - prefix[lag + k * spb];
      corr += bits[k] ? s : -s;
    }
    if (corr > bestCorr) {
      bestCorr = corr;
      best = lag;
    }
  }
  return best;
}

EyeAlignment LatencyAligner::Align(const EyeGeometry& g, long delay) {
  EyeAlignment a;
  const long spb = g.samplesPerBit;
  a.delaySamples = delay;
  if (spb <= 0) return a;
  // Each measured bit needs its previous bit (transition or not) and the
  // samples from one UI before to two UI after its own start (the width
  // search looks across both neighbours).
  a.firstBit = std::max<long>(1, g.settleBits);
  a.endBit = std::min(g.totalBits, (g.totalSamples - delay) / spb - 1);
  while (a.firstBit < a.endBit && delay + a.firstBit * spb - spb < 0) ++a.firstBit;
  return a;
}

LatencyAligner::LatencyAligner(const EyeGeometry& geometry)
    : geometry_(geometry),
      search_(PlanSearch(geometry.totalSamples, geometry.totalBits, geometry.samplesPerBit, geometry.maxLagSamples,
                         geometry.minLagSamples)),
      finished_(geometry.samplesPerBit <= 0) {
  // The prefix and the block that ends it, taken here, so that the buffer
  // seldom grows on the thread that fills it (a run's sinks may have one of
  // their own, whose memory then stays with that thread).
  if (!finished_) buffer_.reserve(static_cast<size_t>(search_.span + kReserveBlock));
}

long LatencyAligner::BitsKept(long blockSamples) const {
  const long spb = std::max(1, geometry_.samplesPerBit);
  // Before the latency is known: the whole prefix and the block that ends it;
  // after: the lag, the three UI of a window and a block.
  return (search_.span + geometry_.maxLagSamples + blockSamples) / spb + 8;
}

void LatencyAligner::Push(const WaveBlock& block) {
  if (finished_) return;
  buffer_.insert(buffer_.end(), block.samples, block.samples + block.count);
  if (!aligned_) {
    if (BufferEnd() < search_.span) return;
    AlignOnPrefix(*block.bits);
  }
  HandOnWindows(*block.bits);
  DropUsedSamples();
}

void LatencyAligner::AlignOnPrefix(const BitHistory& bits) {
  std::vector<uint8_t> prefixBits(static_cast<size_t>(search_.bits));
  for (long k = 0; k < search_.bits; ++k) prefixBits[k] = bits.At(k);
  alignment_ = Align(geometry_, FindDelay(buffer_.data(), prefixBits.data(), geometry_.samplesPerBit, search_));
  if (search_.span > 0) {
    const auto [low, high] = std::minmax_element(buffer_.begin(), buffer_.begin() + search_.span);
    alignment_.low = *low;
    alignment_.high = *high;
  }
  aligned_ = true;
  nextBit_ = alignment_.firstBit;
  for (BitWindowSink* sink : sinks_) sink->Begin(alignment_);
}

void LatencyAligner::HandOnWindows(const BitHistory& bits) {
  const long spb = geometry_.samplesPerBit;
  for (; nextBit_ < alignment_.endBit; ++nextBit_) {
    const long start = alignment_.delaySamples + nextBit_ * spb;
    const long end = std::min(2 * spb + 1, geometry_.totalSamples - start);
    if (start + end > BufferEnd()) break;
    BitWindow window;
    window.bit = nextBit_;
    window.value = bits.At(nextBit_) ? 1 : 0;
    window.previous = bits.At(nextBit_ - 1) ? 1 : 0;
    window.start = buffer_.data() + (start - bufferStart_);
    window.end = end;
    for (BitWindowSink* sink : sinks_) sink->Add(window);
  }
}

void LatencyAligner::DropUsedSamples() {
  if (nextBit_ >= alignment_.endBit) {
    finished_ = true;
    std::vector<double>().swap(buffer_);
    return;
  }
  // The next window reaches back one UI before its bit.
  const long keepFrom = alignment_.delaySamples + (nextBit_ - 1) * geometry_.samplesPerBit;
  const long drop = std::min(keepFrom - bufferStart_, static_cast<long>(buffer_.size()));
  if (drop <= 0) return;
  buffer_.erase(buffer_.begin(), buffer_.begin() + drop);
  bufferStart_ += drop;
}
