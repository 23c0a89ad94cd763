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
// Where --noise is given and read, for the setup's noise line: at the
// receiver's input pins, flat from DC to the bit rate (without a receiver
// model its decision point); with one, carried to its decision point through
// its AMI_Init response, or (its Init returns none, or --noise-at decision)
// added there, after its equalisation.
const char* NoisePlace(NoiseReferral::Path path);
// The path of the settings' noise for a receiver whose AMI_Init does or does
// not return an impulse response.
NoiseReferral::Path NoisePath(const SimSettings& settings, bool rxInitReturnsImpulse);
// "N mV RMS at the input, D mV RMS at the decision point".
std::string NoiseFigures(const NoiseReferral& noise);
// After writing an output file: prints "LABEL PATH" on success, else
// "COMMAND: ERROR" on standard error; returns the exit status (0 or 1).
int ReportFile(bool written, const char* command, const char* label, const std::string& path, const std::string& error);

}  // namespace RunReport
