// The stimulus bits that the stages after the model still need. The
// stimulus appends every bit it sends; the sinks that line the output up with
// the bits (the eye measurement, the waveform writer) read them back a
// bounded number of bits later. A ring of the most recent bits, indexed by
// bit number, so that memory stays the same however long the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class BitHistory {
 public:
  // Keeps at least the last `bitsKept` bits (at least one).
  explicit BitHistory(long bitsKept);

  void Append(uint8_t bit) { ring_[static_cast<size_t>(end_++ & mask_)] = bit; }
  // Bit number `index` of the run (from 0). Only the last Capacity() bits
  // appended are still there; an older index reads a newer bit.
  uint8_t At(long index) const { return ring_[static_cast<size_t>(index & mask_)]; }
  // Bits appended so far.
  long End() const { return end_; }
  long Capacity() const { return mask_ + 1; }

 private:
  std::vector<uint8_t> ring_;
  long mask_ = 0;
  long end_ = 0;
};
