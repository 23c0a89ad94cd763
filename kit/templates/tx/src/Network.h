#pragma once

#include "blocks/FIR.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>
#include <string>
#include <vector>

// The transmitter's network: one FIR block, a 3-tap feed-forward equaliser
// whose taps sit one unit interval apart,
//   out[n] = TapPre * in[n] + TapMain * in[n - SamplesPerBit]
//          + TapPost * in[n - 2 * SamplesPerBit],
// so the output lags the input by one unit interval (the pre-cursor tap's).
// Add blocks as members, configure them in Setup, connect their pins in
// Initialize and fire them in Run.
//
// The instance is also the AMI memory handle: the message text and Ready
// are what the entry-point frame (amiframe/AmiFrame.h) needs.
class Network : public OrvennModelBuilder::DFModel {
 public:
  bool Setup() override;
  bool Initialize() override;
  bool Run() override;
  bool Finalize() override;

  // Filters `count` samples in place from rest, as AMI_Init does with the
  // impulse response; the network is back at rest afterwards.
  void FilterFromRest(double* samples, size_t count);

  // Model ports, one sample each; their storage comes from the entry points.
  OrvennModelBuilder::CircularBuffer<double> InputBuffer;
  OrvennModelBuilder::CircularBuffer<double> OutputBuffer;

  // Parameters, from the .ami file's Model_Specific section.
  double TapPre = -0.05;
  double TapMain = 0.8;
  double TapPost = -0.15;
  int32_t SamplesPerBit = 0;  // set by AMI_Init

  OrvennModelBuilder::FIR<double, 1> Ffe;
  std::vector<double> FfeTaps;  // 2 * SamplesPerBit + 1 taps, three of them not 0

  std::string MessageText;  // sentences for the simulator, each ending ". "
  bool Ready = false;       // Setup and Initialize both succeeded
};
