// A model library as a qualifying probe drives it: loaded with dlopen in the
// child process, each entry point called raw so that the probe sees exactly
// what the model returned (the result code, a NULL handle, the message and
// output parameter pointers), plus the runs the probes share: a stimulus
// through AMI_GetWave in blocks of a given size.
#pragma once

#include <string>
#include <vector>

#include "tools/host/AmiModelLoader.h"
#include "tools/host/ProbeRequest.h"

struct ProbeInstance {
  void* memory = nullptr;
  long initResult = 0;
  std::string message;            // AMI_Init's message (empty: none)
  bool parametersOutSet = false;  // AMI_Init set the output parameter pointer
  std::string parametersOut;      // its text
  std::vector<double> impulse;    // the impulse matrix as AMI_Init left it
  std::vector<double> clocks;     // a clock-times array with room to spare
  char* parametersOutPointer = nullptr;
};

class ProbeModel {
 public:
  ProbeModel() = default;
  ~ProbeModel();
  ProbeModel(const ProbeModel&) = delete;
  ProbeModel& operator=(const ProbeModel&) = delete;

  // dlopen with every symbol bound now; false and the loader's words when it
  // fails or AMI_Init or AMI_Close is missing.
  bool Open(const std::string& path, std::string& error);
  bool HasGetWave() const { return getWave_ != nullptr; }

  // AMI_Init with `setting`: a unit-area impulse in the victim's column and
  // one a tenth of it, a few samples later, in each aggressor's.
  void Init(const InitSetting& setting, ProbeInstance& instance) const;
  // AMI_Init with the given matrix (one column, no aggressors).
  void Init(const InitSetting& setting, std::vector<double> impulse, ProbeInstance& instance) const;
  // AMI_GetWave in place, with the instance's roomy clock array.
  long GetWave(ProbeInstance& instance, double* wave, long size) const;
  // AMI_GetWave with the caller's clock array.
  long GetWave(ProbeInstance& instance, double* wave, long size, double* clocks) const;
  long Close(ProbeInstance& instance) const;

  // Init, the stimulus through AMI_GetWave in blocks of `block` samples
  // (0: one call), Close. The output, or empty when AMI_Init failed.
  std::vector<double> Run(const InitSetting& setting, std::vector<double> wave, long block) const;

 private:
  void* handle_ = nullptr;
  AmiInitFunction init_ = nullptr;
  AmiGetWaveFunction getWave_ = nullptr;
  AmiCloseFunction close_ = nullptr;
};

namespace ProbeWave {

// A PRBS7 bit stream, +-0.5 V levels, `samplesPerBit` samples per bit (need
// not be whole), with a little seeded ripple so two seeds differ everywhere.
std::vector<double> Stimulus(long samples, double samplesPerBit, unsigned seed);

// The largest |a[i] - b[i]| (infinity where one is not a number and the
// other is, or the lengths differ) and the first index where they differ.
double MaxDifference(const std::vector<double>& a, const std::vector<double>& b, long& first);

// True when a result code says success (its low 32 bits are not 0).
bool Succeeded(long result);

}  // namespace ProbeWave
