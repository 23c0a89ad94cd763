#include "tools/linkbench/stream/BitHistory.h"

BitHistory::BitHistory(long bitsKept) {
  long capacity = 1;
  while (capacity < bitsKept) capacity *= 2;
  ring_.assign(static_cast<size_t>(capacity), 0);
  mask_ = capacity - 1;
}
