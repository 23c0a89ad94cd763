#include "tools/linkbench/eye/SampleHistograms.h"

#include <algorithm>
#include <cmath>

namespace {

// Samples a batch holds: 128 kB (16 MB of bins beside it), 252 bits at 32
// samples per UI.
constexpr long kBatchSamples = 16'384;

}  // namespace

SampleHistograms::SampleHistograms(int samplesPerBit, int threads)
    : samplesPerBit_(std::max(1, samplesPerBit)),
      sample_(kPhases),
      fraction_(kPhases),
      spanSample_(kPhases),
      bins_(static_cast<size_t>(2) * kPhases * kBins) {
  for (int p = 0; p < kPhases; ++p) {
    const double t = PhaseUi(p) * samplesPerBit_;
    sample_[p] = static_cast<long>(std::floor(t));
    fraction_[p] = t - static_cast<double>(sample_[p]);
  }
  // The phases read samples sample_[0] .. sample_[last] + 1 of a bit.
  span_ = sample_[kPhases - 1] + 2 - sample_[0];
  for (int p = 0; p < kPhases; ++p) spanSample_[p] = sample_[p] - sample_[0];
  plan_ = HistogramLanes::Plan{low_, binsPerVolt_, kBins - 1.0};
  bitsPerBatch_ = std::max(16L, kBatchSamples / span_);
  MakeBatches();
  team_ = std::make_unique<WorkerTeam>(threads > 1 ? threads - 1 : 0);
  scratch_.resize(static_cast<size_t>(team_->Parts()));
  for (Scratch& s : scratch_) {
    s.bins.resize(static_cast<size_t>(bitsPerBatch_));
    s.offsets.resize(static_cast<size_t>(bitsPerBatch_));
  }
}

void SampleHistograms::MakeBatches() const {
  for (Batch& b : batches_) {
    b.values.resize(static_cast<size_t>(bitsPerBatch_));
    b.samples.resize(static_cast<size_t>(bitsPerBatch_ * span_));
    b.count = 0;
  }
}

SampleHistograms::~SampleHistograms() { team_->Wait(); }

void SampleHistograms::Begin(const EyeAlignment& a) {
  CountInHand();
  double low = a.low, high = a.high;
  if (!(std::isfinite(low) && std::isfinite(high) && high > low)) {
    const double mid = std::isfinite(low) ? low : 0.0;
    low = mid - 0.5;
    high = mid + 0.5;
  }
  const double span = high - low;
  low_ = low - 0.5 * span;
  binWidth_ = 2.0 * span / kBins;
  binsPerVolt_ = 1.0 / binWidth_;
  plan_.low = low_;
  plan_.binsPerVolt = binsPerVolt_;
}

void SampleHistograms::Add(const BitWindow& w) {
  // Every phase reads samples up to one and a half UI after the bit's start.
  if (w.end <= sample_[kPhases - 1] + 1) return;
  if (batches_[filling_].values.empty()) MakeBatches();  // read before: the batches were let go
  Batch& batch = batches_[filling_];
  const int bit = w.value ? 1 : 0;
  const long capacity = static_cast<long>(batch.values.size());
  batch.values[static_cast<size_t>(batch.count)] = static_cast<uint8_t>(bit);
  double* column = &batch.samples[static_cast<size_t>(batch.count)];
  const double* from = w.start + sample_[0];
  for (long j = 0; j < span_; ++j) column[j * capacity] = from[j];
  ++bits_[bit];
  if (++batch.count == capacity) Submit();
}

void SampleHistograms::AddDirect(const BitWindow& w) {
  // Every phase reads samples up to one and a half UI after the bit's start.
  if (w.end <= sample_[kPhases - 1] + 1) return;
  CountInHand();
  const int bit = w.value ? 1 : 0;
  Bin* bins = &bins_[Index(bit, 0, 0)];
  for (int p = 0; p < kPhases; ++p) {
    const double* at = w.start + sample_[p];
    const double f = fraction_[p];
    const double v = f == 0.0 ? at[0] : at[0] + (at[1] - at[0]) * f;
    const double position = (v - low_) * binsPerVolt_;
    // NaN and anything below the bins go to the bottom of the first bin.
    const int bin = position >= 0.0 ? static_cast<int>(std::min(position, kBins - 1.0)) : 0;
    Bin& into = bins[static_cast<size_t>(p) * kBins + static_cast<size_t>(bin)];
    ++into.count;
    into.offsets += position >= 0.0 ? std::min(position - bin, 1.0) : 0.0;
  }
  ++bits_[bit];
}

uint64_t SampleHistograms::Count(int bit, int phase, int bin) const {
  Settle();
  return bins_[Index(bit, phase, bin)].count;
}

const SampleHistograms::Bin* SampleHistograms::Row(int bit, int phase) const {
  Settle();
  return &bins_[Index(bit, phase, 0)];
}

// Hands the filled batch to the team (which first finishes the other one)
// and goes on filling the other.
void SampleHistograms::Submit() const {
  const Batch* batch = &batches_[filling_];
  team_->Start([this, batch](int part) { CountBatch(*batch, part, scratch_[static_cast<size_t>(part)]); });
  filling_ ^= 1;
  batches_[filling_].count = 0;
}

void SampleHistograms::CountInHand() const {
  if (batches_[filling_].count > 0) Submit();
  team_->Wait();
}

// Counts the bits in hand and lets the batches go (the readers come at the
// end of a run, when their memory is better spent on the BER; more bits
// make them again).
void SampleHistograms::Settle() const {
  CountInHand();
  for (Batch& b : batches_) {
    std::vector<uint8_t>().swap(b.values);
    std::vector<double>().swap(b.samples);
    b.count = 0;
  }
}

// Worker `part`'s share of the phases, one after the other.
void SampleHistograms::CountBatch(const Batch& batch, int part, Scratch& scratch) const {
  const int parts = team_->Parts();
  const int first = kPhases * part / parts, end = kPhases * (part + 1) / parts;
  for (int p = first; p < end; ++p) CountPhase(batch, p, scratch);
}

// Places phase p of every bit of the batch, then counts them, the bits in
// their order.
void SampleHistograms::CountPhase(const Batch& batch, int p, Scratch& scratch) const {
  const size_t capacity = batch.values.size();
  const double* at = &batch.samples[static_cast<size_t>(spanSample_[p]) * capacity];
  lanes_.Place(plan_, fraction_[p], at, at + capacity, batch.count, scratch.bins.data(), scratch.offsets.data());
  Bin* rows[2] = {&bins_[Index(0, p, 0)], &bins_[Index(1, p, 0)]};
  for (long k = 0; k < batch.count; ++k) {
    const size_t i = static_cast<size_t>(k);
    Bin& into = rows[batch.values[i]][scratch.bins[i]];
    ++into.count;
    into.offsets += scratch.offsets[i];
  }
}
