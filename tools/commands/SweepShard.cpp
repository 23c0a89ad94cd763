#include "tools/commands/SweepShard.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

// A whole number of at most 18 digits, nothing around it.
bool ReadCount(const std::string& text, size_t& value) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = static_cast<size_t>(std::strtoull(text.c_str(), nullptr, 10));
  return true;
}

bool ReadEnvironment(const char* name, size_t& value) {
  const char* text = std::getenv(name);
  return text && ReadCount(text, value);
}

}  // namespace

std::string SweepShard::Text() const { return std::to_string(index) + "/" + std::to_string(count); }

bool SweepShard::Parse(const std::string& text, SweepShard& shard, std::string& error) {
  const size_t slash = text.find('/');
  size_t index = 0, count = 0;
  if (slash == std::string::npos || !ReadCount(text.substr(0, slash), index) ||
      !ReadCount(text.substr(slash + 1), count) || count == 0 || index >= count) {
    error = "--shard " + text + " is not I/N with 0 <= I < N";
    return false;
  }
  shard.index = index;
  shard.count = count;
  shard.given = true;
  return true;
}

bool SweepShard::FromSlurm(size_t count, SweepShard& shard, std::string& error) {
  size_t id = 0, arrayCount = 0, low = 0;
  if (!std::getenv("SLURM_ARRAY_TASK_ID")) return false;
  if (!ReadEnvironment("SLURM_ARRAY_TASK_ID", id)) {
    error = "SLURM_ARRAY_TASK_ID is not a whole number";
    return true;
  }
  if (count == 0) {
    if (!ReadEnvironment("SLURM_ARRAY_TASK_COUNT", arrayCount) || !ReadEnvironment("SLURM_ARRAY_TASK_MIN", low) ||
        id < low || arrayCount == 0) {
      error = "SLURM_ARRAY_TASK_COUNT and SLURM_ARRAY_TASK_MIN do not make a shard of task " + std::to_string(id);
      return true;
    }
    id -= low;
    count = arrayCount;
  }
  if (id >= count) {
    error = "array task " + std::to_string(id) + " is no shard of " + std::to_string(count);
    return true;
  }
  shard.index = id;
  shard.count = count;
  shard.given = true;
  return true;
}

std::string ArrayList(std::vector<size_t> indices) {
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  std::string list;
  for (size_t i = 0; i < indices.size();) {
    size_t j = i;
    while (j + 1 < indices.size() && indices[j + 1] == indices[j] + 1) ++j;
    if (!list.empty()) list += ",";
    list += std::to_string(indices[i]);
    if (j > i) list += "-" + std::to_string(indices[j]);
    i = j + 1;
  }
  return list;
}
