#pragma once

#include "dataflow/DFModel.h"

#include <cmath>
#include <cstdint>

// Transmit de-emphasis: a main tap one unit interval (n samples) behind the
// input and a post-cursor tap two unit intervals (2n samples) behind it,
// both scaled by 1.05. The post weight comes from a table of seven levels;
// the main weight is 1 - |post weight|. The two paths are separate outputs
// (the owner adds them). No pins: the owner writes Input before each firing
// and reads MainOutput and PostOutput after it.
class TXFIR_1pre2pst : public OrvennModelBuilder::DFModel {
 public:
  static constexpr int32_t MaxSamplesPerBit = 128;
  static constexpr int32_t LevelCount = 7;
  static constexpr double PathGain = 1.05;
  // Post-cursor weight of each emphasis level.
  static const double PostWeights[LevelCount];

  // The rule of the weights and paths, which the block path (TxBlockPath)
  // applies too, so both give the same bits:
  // the post weight a firing uses: SETTING's level, or HELD when SETTING
  // names no level;
  static double PostWeightFor(int32_t setting, double held) {
    return setting >= 0 && setting < LevelCount ? PostWeights[setting] : held;
  }
  // the main weight: 1 - |post weight|;
  static double MainWeightFor(double postWeight) { return 1.0 - std::fabs(postWeight); }
  // each path's sample from the input sample it delays.
  static double MainPath(double mainWeight, double input) { return (mainWeight * input) * PathGain; }
  static double PostPath(double postWeight, double input) { return (input * postWeight) * PathGain; }

  // Rejects a SamplesPerBit outside 1 .. MaxSamplesPerBit, which the fixed
  // delay lines cannot hold.
  bool Setup() override;
  // Clears the delay lines; refuses (false, nothing written) a
  // SamplesPerBit the delay lines cannot hold.
  bool Initialize() override;
  // One firing; false only when no Initialize has succeeded.
  bool Run() override;

  int32_t Setting = 0;      // emphasis level 0..6, written by the owner
  double Input = 0.0;       // current input sample, written by the owner
  double MainWeight = 1.0;  // 1 - |PostWeight|
  double PostWeight = 0.0;  // kept when Setting names no level
  double MainOutput = 0.0;
  double PostOutput = 0.0;
  int32_t SamplesPerBit = 0;  // n, written by the owner before Setup

 private:
  // Rings sized for the largest n: the main tap lies n samples behind the
  // input (a ring of 2n), the post-cursor tap 2n samples (a ring of 3n).
  double mainDelay[2 * MaxSamplesPerBit] = {};  // ring of 2n
  double postDelay[3 * MaxSamplesPerBit] = {};  // ring of 3n
  int32_t mainWrite = 0, mainRead = 0;
  int32_t postWrite = 0, postRead = 0;
  int32_t mainLength = 0, postLength = 0;  // ring lengths; 0 until initialised

  // Reports and refuses a SamplesPerBit the delay lines cannot hold.
  bool CheckSamplesPerBit() const;
};
