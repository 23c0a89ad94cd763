#pragma once

#include "blocks/AlexanderCDR.h"
#include "blocks/CTLE.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>
#include <string>

// The receiver's network: a CTLE, then a slicer that decides each bit at
// the instants of a bang-bang clock recovery (the AlexanderCDR block slices
// at 0 and moves its instants to the data's crossings),
//
//   input -> CTLE -> output (the equalised waveform)
//              \--> slicer + clock recovery -> clock event and instant
//
// fired once per input sample. Add blocks as members, configure them in
// Setup, connect their pins in Initialize and fire them in Run.
//
// The instance is also the AMI memory handle: the message text and Ready
// are what the entry-point frame (amiframe/AmiFrame.h) needs; the clock
// times that did not fit the last AMI_GetWave's array wait here.
class Network : public OrvennModelBuilder::DFModel {
 public:
  static constexpr size_t PendingClockCapacity = 64;

  bool Setup() override;
  bool Initialize() override;
  bool Run() override;
  bool Finalize() override;

  // Filters `count` samples in place through the CTLE from rest, as
  // AMI_Init does with the impulse response.
  void FilterFromRest(double* samples, size_t count);

  // Model ports, one sample each; their storage comes from the entry points.
  OrvennModelBuilder::CircularBuffer<double> InputBuffer;
  OrvennModelBuilder::CircularBuffer<double> OutputBuffer;

  // Timing, set by AMI_Init; parameters, from the .ami file.
  double BitTime = 1e-10;       // seconds
  double SampleInterval = 0.0;  // seconds
  double CtleDcGain = 0.0;      // dB
  double CtlePeaking = 6.0;     // dB, at half the bit rate
  double CdrPhaseStep = 1.0 / 64.0;

  OrvennModelBuilder::CTLE Ctle;
  OrvennModelBuilder::AlexanderCDR Slicer;

  // The slicer's pins the entry points read after each firing.
  int ClockEvent = 0;
  double ClockOffset = 0.0;
  double SlicedSample = 0.0;

  std::string MessageText;  // sentences for the simulator, each ending ". "
  bool Ready = false;       // Setup and Initialize both succeeded
  double PendingClocks[PendingClockCapacity] = {};
  size_t PendingCount = 0;
  int64_t SampleCount = 0;  // samples before the current AMI_GetWave
};
