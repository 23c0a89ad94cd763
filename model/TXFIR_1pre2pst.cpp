#include "model/TXFIR_1pre2pst.h"

#include "dataflow/ReportError.h"

#include <cmath>
#include <string>

using OrvennModelBuilder::ReportError;

const double TXFIR_1pre2pst::PostWeights[LevelCount] = {
    0.0, -0.05555, -0.1111, -0.18889, -0.255555, -0.305555, -0.36665,
};

bool TXFIR_1pre2pst::CheckSamplesPerBit() const {
  if (SamplesPerBit >= 1 && SamplesPerBit <= MaxSamplesPerBit) return true;
  ReportError(this, "SamplesPerBit is " + std::to_string(SamplesPerBit) + "; it must be between 1 and " +
                        std::to_string(MaxSamplesPerBit));
  return false;
}

bool TXFIR_1pre2pst::Setup() { return CheckSamplesPerBit(); }

bool TXFIR_1pre2pst::Initialize() {
  if (!CheckSamplesPerBit()) {
    mainLength = postLength = 0;
    return false;
  }
  const int32_t n = SamplesPerBit;
  mainLength = 2 * n;
  postLength = 3 * n;
  // Entries 2n .. 3n - 1 of the post ring are written during the first n
  // firings, before the post read index reaches them.
  for (int32_t i = 0; i < 2 * n; ++i) {
    mainDelay[i] = 0.0;
    postDelay[i] = 0.0;
  }
  mainWrite = n;
  postWrite = 2 * n;
  mainRead = 0;
  postRead = 0;
  return true;
}

bool TXFIR_1pre2pst::Run() {
  if (mainLength == 0) {
    MainOutput = PostOutput = 0.0;
    return false;
  }
  PostWeight = PostWeightFor(Setting, PostWeight);
  MainWeight = MainWeightFor(PostWeight);

  mainDelay[mainWrite] = MainPath(MainWeight, Input);
  postDelay[postWrite] = PostPath(PostWeight, Input);
  if (++mainWrite > mainLength - 1) mainWrite = 0;
  if (++postWrite > postLength - 1) postWrite = 0;

  MainOutput = mainDelay[mainRead];
  PostOutput = postDelay[postRead];
  if (++mainRead > mainLength - 1) mainRead = 0;
  if (++postRead > postLength - 1) postRead = 0;
  return true;
}
