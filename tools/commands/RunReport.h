// The words the commands print for the figures a simulation run returns:
// one number, the eye, the BER figures at a target, a written file.
#pragma once

#include "tools/host/SimulationRun.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/eye/StatisticalEye.h"

#include <string>

namespace RunReport {

// printf of one number.
std::string Fixed(const char* format, double value);
// "height H mV, width W ps (U UI)" or why the eye was not measured.
std::string EyeSummary(const EyeMeasurement& eye);
// "height H mV, width W ps (U UI)" at the target's BER, or "closed".
std::string BerFigures(const BerTargetFigures& figures, double bitTime);
// "BER 1e-12: " and the figures.
std::string BerSummary(const BerTargetFigures& figures, double bitTime);
// What a run passes through, for the pictures' titles of sim and sweep:
// ", after FILE (L dB)" (L: its loss at Nyquist), ", after a L dB RC channel"
// or nothing.
std::string ChannelCaption(const SimSettings& settings);
// Where the noise and the jitter act: at the receiver's input pins without a
// receiver model; with one, at its decision point, after its equalisation
// (the BER is computed from the samples it decides on).
const char* NoisePlace(const SimSettings& settings);
// After writing an output file: prints "LABEL PATH" on success, else
// "COMMAND: ERROR" on standard error; returns the exit status (0 or 1).
int ReportFile(bool written, const char* command, const char* label, const std::string& path, const std::string& error);

}  // namespace RunReport
