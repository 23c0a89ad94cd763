#include "blocks/Mux.h"

#include "dataflow/ReportError.h"

#include <sstream>

namespace OrvennModelBuilder {

template <class Buffer>
bool Mux<Buffer>::Setup() {
  if (BlockSize < 1) {
    ReportError(this, "BlockSize must be >= 1");
    return false;
  }
  Output.SetBlockSize(uint32_t(BlockSize));
  for (uint32_t i = 0; i < Input.count; ++i) Input.buffers[i].SetBlockSize(uint32_t(BlockSize));
  return true;
}

template <class Buffer>
bool Mux<Buffer>::Run() {
  if (Control >= 0 && uint32_t(Control) < Input.count) {
    Input.buffers[Control].CopyTo(0, Output, 0, uint32_t(BlockSize));
    return true;
  }
  ReportControlOutOfRange();
  return false;
}

template <class Buffer>
void Mux<Buffer>::ReportControlOutOfRange() {
  const uint32_t n = Input.count;
  std::ostringstream text;
  text << "Control input signal value is equal to " << Control << ".  ";
  if (n == 0) {
    // No range to name: every control value is out of range.
    text << "There are no inputs connected, so no control input value is valid.";
  } else {
    text << "There " << (n == 1 ? "is " : "are ") << n << (n == 1 ? " input" : " inputs")
         << " connected.  The valid control input range is [0," << (n - 1) << "].";
  }
  ReportError(this, text.str());
}

template class Mux<CircularBuffer<double>>;

}  // namespace OrvennModelBuilder
