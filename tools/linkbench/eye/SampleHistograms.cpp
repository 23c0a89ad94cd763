#include "tools/linkbench/eye/SampleHistograms.h"

#include <algorithm>
#include <cmath>

namespace {

// Samples a batch holds of each bit value: 128 kB (16 MB of bins beside it),
// 252 bits at 32 samples per UI.
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
    for (int v = 0; v < 2; ++v) {
      b.samples[v].resize(static_cast<size_t>(bitsPerBatch_ * span_));
      b.count[v] = 0;
    }
    b.capacity = bitsPerBatch_;
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
  if (batches_[filling_].capacity == 0) MakeBatches();  // read before: the batches were let go
  Batch& batch = batches_[filling_];
  const int bit = w.value ? 1 : 0;
  const long capacity = batch.capacity;
  double* column = &batch.samples[bit][static_cast<size_t>(batch.count[bit])];
  const double* from = w.start + sample_[0];
  for (long j = 0; j < span_; ++j) column[j * capacity] = from[j];
  ++bits_[bit];
  if (++batch.count[bit] == capacity) Submit();
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
  batches_[filling_].count[0] = batches_[filling_].count[1] = 0;
}

void SampleHistograms::CountInHand() const {
  const Batch& batch = batches_[filling_];
  if (batch.count[0] > 0 || batch.count[1] > 0) Submit();
  team_->Wait();
}

// Counts the bits in hand and lets the batches go (the readers come at the
// end of a run, when their memory is better spent on the BER; more bits
// make them again).
void SampleHistograms::Settle() const {
  CountInHand();
  for (Batch& b : batches_) {
    for (int v = 0; v < 2; ++v) {
      std::vector<double>().swap(b.samples[v]);
      b.count[v] = 0;
    }
    b.capacity = 0;
  }
}

// Worker `part`'s share of the phases, one after the other.
void SampleHistograms::CountBatch(const Batch& batch, int part, Scratch& scratch) const {
  const int parts = team_->Parts();
  const int first = kPhases * part / parts, end = kPhases * (part + 1) / parts;
  for (int p = first; p < end; ++p) {
    CountPhase(batch, p, 1, scratch);
    CountPhase(batch, p, 0, scratch);
  }
}

// Places phase p of the batch's bits of value `bit`, then counts them, in
// their order.
void SampleHistograms::CountPhase(const Batch& batch, int p, int bit, Scratch& scratch) const {
  const long count = batch.count[bit];
  if (count == 0) return;
  const size_t capacity = static_cast<size_t>(batch.capacity);
  const double* at = &batch.samples[bit][static_cast<size_t>(spanSample_[p]) * capacity];
  int32_t* bins = scratch.bins.data();
  double* offsets = scratch.offsets.data();
  lanes_.Place(plan_, fraction_[p], at, at + capacity, count, bins, offsets);
  Bin* row = &bins_[Index(bit, p, 0)];
  for (long k = 0; k < count; ++k) {
    Bin& into = row[bins[k]];
    ++into.count;
    into.offsets += offsets[k];
  }
}
