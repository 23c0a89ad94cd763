#include "tools/linkbench/eye/SampleHistograms.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Samples a batch holds (about 4 MB less than the bins, so that memory
// stays where it was), and the phases a worker places at once (their bins
// and the batch's places stay in the cache together).
constexpr long kBatchSamples = 65'536;
constexpr int kPhaseGroup = 16;

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
  plan_ = HistogramLanes::Plan{sample_.data(), fraction_.data(), kPhases, low_, binsPerVolt_, kBins - 1.0};
  const long bitsPerBatch = std::max(16L, kBatchSamples / span_);
  for (Batch& b : batches_) {
    b.values.resize(static_cast<size_t>(bitsPerBatch));
    b.samples.resize(static_cast<size_t>(bitsPerBatch * span_));
  }
  team_ = std::make_unique<WorkerTeam>(threads > 1 ? threads - 1 : 0);
  scratch_.resize(static_cast<size_t>(team_->Parts()));
  for (Scratch& s : scratch_) {
    s.bins.resize(static_cast<size_t>(bitsPerBatch * kPhaseGroup));
    s.offsets.resize(static_cast<size_t>(bitsPerBatch * kPhaseGroup));
  }
}

SampleHistograms::~SampleHistograms() { team_->Wait(); }

void SampleHistograms::Begin(const EyeAlignment& a) {
  Settle();
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
  Batch& batch = batches_[filling_];
  const int bit = w.value ? 1 : 0;
  batch.values[static_cast<size_t>(batch.count)] = static_cast<uint8_t>(bit);
  std::memcpy(&batch.samples[static_cast<size_t>(batch.count * span_)], w.start + sample_[0],
              sizeof(double) * static_cast<size_t>(span_));
  ++bits_[bit];
  if (++batch.count == static_cast<long>(batch.values.size())) Submit();
}

void SampleHistograms::AddDirect(const BitWindow& w) {
  // Every phase reads samples up to one and a half UI after the bit's start.
  if (w.end <= sample_[kPhases - 1] + 1) return;
  Settle();
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

void SampleHistograms::Settle() const {
  if (batches_[filling_].count > 0) Submit();
  team_->Wait();
}

// Worker `part`'s share of the phases, kPhaseGroup at a time.
void SampleHistograms::CountBatch(const Batch& batch, int part, Scratch& scratch) const {
  const int parts = team_->Parts();
  const int first = kPhases * part / parts, end = kPhases * (part + 1) / parts;
  for (int p = first; p < end; p += kPhaseGroup) CountPhases(batch, p, std::min(kPhaseGroup, end - p), scratch);
}

// Places phases first .. first + phases - 1 of every bit of the batch, then
// counts them phase by phase, the bits in their order.
void SampleHistograms::CountPhases(const Batch& batch, int first, int phases, Scratch& scratch) const {
  HistogramLanes::Plan plan = plan_;
  plan.sample = spanSample_.data() + first;
  plan.fraction = fraction_.data() + first;
  plan.phases = phases;
  for (long k = 0; k < batch.count; ++k)
    lanes_.Place(plan, &batch.samples[static_cast<size_t>(k * span_)], &scratch.bins[static_cast<size_t>(k * phases)],
                 &scratch.offsets[static_cast<size_t>(k * phases)]);
  for (int q = 0; q < phases; ++q) {
    Bin* rows[2] = {&bins_[Index(0, first + q, 0)], &bins_[Index(1, first + q, 0)]};
    for (long k = 0; k < batch.count; ++k) {
      const size_t at = static_cast<size_t>(k * phases + q);
      Bin& into = rows[batch.values[static_cast<size_t>(k)]][scratch.bins[at]];
      ++into.count;
      into.offsets += scratch.offsets[at];
    }
  }
}
