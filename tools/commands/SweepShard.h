// Which points of a sweep one process runs: shard I of N takes the points
// whose index modulo N is I. The index follows the fixed point order
// (channel outermost, then emphasis, Vreg and corner, each in the order the
// channel list and the .ami file give them), so that any split of the same
// sweep covers every point once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct SweepShard {
  size_t index = 0;
  size_t count = 1;    // 1: the whole sweep
  bool given = false;  // from --shard or the environment

  bool Holds(size_t point) const { return point % count == index; }
  // Whether any of the points [first, end) is this shard's.
  bool HoldsAnyOf(size_t first, size_t end) const {
    return first < end && first + (index + count - first % count) % count < end;
  }
  // "I/N"
  std::string Text() const;

  // Reads "I/N" (0 <= I < N); false with `error` set otherwise.
  static bool Parse(const std::string& text, SweepShard& shard, std::string& error);
  // The shard of a Slurm job-array task: SLURM_ARRAY_TASK_ID less
  // SLURM_ARRAY_TASK_MIN, of SLURM_ARRAY_TASK_COUNT; with `count` non-zero
  // (an array that reruns some shards only) the task id itself, of `count`.
  // False when the environment names no array task; `error` set when it
  // names one that does not make a shard.
  static bool FromSlurm(size_t count, SweepShard& shard, std::string& error);
};

// Indices as a job-array list: ascending, runs of consecutive ones as
// ranges ("0-3,5,7-8").
std::string ArrayList(std::vector<size_t> indices);
