// What one qualifying probe is asked to do: which probe, on which library,
// with which AMI_Init settings. The parent builds it; a child process runs
// it (QualifyProbes) and writes a ProbeReport. A probe in a program of its
// own (tessalune-probe.exe, for a Windows DLL under Wine) reads it from a
// file, as text.
#pragma once

#include <string>
#include <vector>

// One AMI_Init call: the timing, the impulse matrix's shape and the
// parameter string. `label` names it in the report ("32 samples/UI").
struct InitSetting {
  std::string label;
  double sampleInterval = 1e-10 / 32;
  double bitTime = 1e-10;
  long rowSize = 2048;
  long aggressors = 0;
  std::string parameters;
};

struct ProbeRequest {
  std::string probe;    // exports, init, outparams, blocks, finite, clocks, interleave, threads, reinit, cycles,
                        // consistency, speed
  std::string library;  // the model library's path
  bool getWaveExpected = true;     // the .ami says GetWave_Exists
  std::vector<InitSetting> inits;  // init: each; the others: [0] the setting, [1] a second one
  long samples = 8525;             // stimulus length (not a multiple of any block size)
  int threads = 4;                 // instances on threads at once
  long cycles = 1000;              // AMI_Init/AMI_Close cycles
};

namespace ProbeRequestText {

// The first line of the text: the format, which a probe checks.
constexpr const char* kFormat = "tessalune-probe-request 1";

std::string Write(const ProbeRequest& request);
// False with the reason when the text is not a request of this format or a
// value is out of its range.
bool Read(const std::string& text, ProbeRequest& request, std::string& error);

}  // namespace ProbeRequestText
