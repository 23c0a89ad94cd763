#include "amiframe/AmiFrame.h"

#include "dataflow/ReportError.h"

#include <cmath>
#include <sstream>

namespace AmiFrame {

int32_t SamplesPerBit(const OrvennModelBuilder::DFModel* reporter, double sampleInterval, double bitTime) {
  const double ratio = bitTime / sampleInterval + 0.5;
  if (sampleInterval > 0.0 && std::isfinite(sampleInterval) && bitTime > 0.0 && std::isfinite(bitTime) &&
      ratio < 2147483648.0)
    return int32_t(ratio);
  std::ostringstream text;
  text << "Sample interval " << sampleInterval << " s and bit time " << bitTime
       << " s must be positive and finite, with at most 2147483647 samples per bit";
  OrvennModelBuilder::ReportError(reporter, text.str());
  return 0;
}

void AppendInPlace(std::string& text, const char* sentence) {
  const size_t length = std::strlen(sentence);
  if (text.size() + length <= text.capacity()) text.append(sentence, length);
}

void AttachPortStorage(OrvennModelBuilder::CircularBuffer<double>& port) {
  port.Free(nullptr);
  port.Attach(static_cast<double*>(port.Allocate(1)), 1, 1, 0);
  port.data[0] = 0.0;
}

void ReleasePort(OrvennModelBuilder::CircularBuffer<double>& port) { port.Free(nullptr); }

bool SetUpNetwork(OrvennModelBuilder::DFModel& model, std::string& text, const LifecycleSentences& sentences) {
  if (!model.Setup()) {
    text += sentences.setup;
    return false;
  }
  if (!model.Initialize()) {
    text += sentences.initialize;
    return false;
  }
  return true;
}

}  // namespace AmiFrame
