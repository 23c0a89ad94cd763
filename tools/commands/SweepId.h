// The identity of a sweep: a hash of everything that decides its figures
// (the options, the .ami file, every channel file's bytes, the model
// library's bytes), so that `tessalune merge` can refuse results of
// different sweeps. Options that only split or place the work (--shard,
// --results, --jobs, --grid) are not in it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SweepId {
 public:
  void AddText(const std::string& name, const std::string& value);
  void AddNumber(const std::string& name, double value);
  // The file's bytes; false with `error` when it cannot be read.
  bool AddFile(const std::string& name, const std::string& path, std::string& error);
  // 16 hexadecimal digits.
  std::string Text() const;

 private:
  void Mix(const void* data, size_t size);
  uint64_t a_ = 0xcbf29ce484222325ull;  // two FNV-1a streams of different
  uint64_t b_ = 0x84222325cbf29ce4ull;  // offsets, folded at the end
};
