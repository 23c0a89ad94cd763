#pragma once

#include "blocks/FIRLanes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class tessalune_tx;

// The block path of AMI_GetWave: the samples the per-sample network gives,
// computed for the caller's whole wave at once.
//
// The network fires the emphasis filter, its adder and all nine response
// filters for every sample, and its multiplexers pass on the one response
// that the constant Vreg and corner indices select. This path does what
// reaches the output and nothing else: the emphasis stage with the emphasis
// filter's arithmetic in its order, the adder's sum in its order, then the
// selected response filter (its own tap array, copied) through FIRLanes,
// which gives the FIR block's bits at every dispatch level. The other eight
// responses and the equaliser output are not computed: nothing the entry
// points hand out reads them.
//
// State carries across calls of any size: the last 2n inputs (the emphasis
// delays) and the last NumTaps - 1 emphasis outputs (the response history)
// stay in windows in front of the next samples. A wave is processed in
// chunks of at most ChunkSize samples, so the windows are sized once, in
// Prepare, and Process allocates nothing.
//
// The per-sample network stays the reference: Prepare leaves the path
// inactive, and AMI_GetWave fires the network, whenever this path could not
// promise the same samples (a network that is not ready, a selection outside
// the bank, a filter configuration other than the single-rate one).
class TxBlockPath {
 public:
  using FIRLanes = OrvennModelBuilder::FIRLanes;
  static constexpr size_t ChunkSize = 2048;

  TxBlockPath() = default;
  // The windows point into the path's own storage.
  TxBlockPath(const TxBlockPath&) = delete;
  TxBlockPath& operator=(const TxBlockPath&) = delete;

  // Takes the emphasis weights, the samples per bit and the selected
  // response's taps from a network that Setup and Initialize have just
  // prepared (histories clear, nothing fired yet), sizes the windows and
  // selects the best lane level of the processor. Returns whether the path is
  // active; when it is not (or memory for the windows is short), the network
  // serves as before.
  bool Prepare(const tessalune_tx& model);

  bool Active() const { return active; }

  // Internal switches for tests and benchmarks, not part of the AMI
  // interface; both belong before the first AMI_GetWave of the instance.
  // SelectLevel runs the response at another lane level (false, nothing
  // changed, when the path is inactive or the processor lacks the level);
  // UseNetwork hands every later sample to the per-sample network.
  bool SelectLevel(FIRLanes::Level level);
  void UseNetwork() { active = false; }
  FIRLanes::Level Level() const { return lanes.Current(); }

  // Replaces count samples of wave, in place, by the network's output for
  // them, continuing the stream of earlier calls.
  void Process(double* wave, size_t count);

 private:
  // A stretch of a stream kept in front of the samples that follow it: the
  // last `history` samples, then room for one chunk.
  struct Window {
    double* data = nullptr;
    size_t history = 0;
    size_t end = 0;  // one past the newest sample

    // Takes `count` (at most ChunkSize) new samples after the newest and
    // returns where they go; the `history` samples before that address are
    // the newest so far. Moves the history to the front first when the new
    // samples would not fit.
    double* Append(size_t count);
  };

  FIRLanes lanes;
  std::vector<double> storage;  // taps, then the input window, then the emphasis window
  const double* taps = nullptr;
  uint32_t numTaps = 0;
  size_t samplesPerBit = 0;  // n: the main path is n samples behind, the post path 2n
  double mainWeight = 1.0;
  double postWeight = 0.0;
  Window inputs;    // history 2n
  Window emphasis;  // history numTaps - 1
  bool active = false;
};
