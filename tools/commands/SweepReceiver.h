// `tessalune sweep --rx`: the receiver's side of a sweep. Each point runs the
// transmitter's setting with the receiver (adapting as it does in its own
// GetWave), and --rx-sweep NAME=V1,V2,... adds one receiver parameter's
// values as the innermost axis, each point carrying its receiver parameter
// string.
#pragma once

#include "tools/commands/SweepPoints.h"
#include "tools/host/AmiFileParams.h"

#include <string>
#include <vector>

// Reads --rx-sweep into the axes (name and values); false with the reason
// when it is not NAME=V1,V2,... or names no input of the receiver's file.
bool ReadRxSweep(const std::string& text, const AmiFileParams& rxAmi, SweepAxes& axes, std::string& error);

// Gives every point its receiver parameter string (--rx-param, then its
// --rx-sweep value), each point becoming one per value of the receiver's
// axis, innermost. False with the reason when a value does not fit.
bool AddReceiverAxis(const AmiFileParams& rxAmi, const SimSettings& s, const SweepAxes& axes,
                     std::vector<SweepPoint>& points, std::string& error);

// The receiver's lines of the setup; with noise carried through its AMI_Init
// response, the noise at its decision point for each of its parameter
// strings (each measured by SimulationRun::ReferNoise, as the runs do).
void PrintReceiver(const SimSettings& s, const SweepAxes& axes, const std::vector<SweepPoint>& points,
                   const LinkModels& models);

// The best pair of the whole sweep at `ber`: the transmitter's setting and
// the receiver's value with the widest eye (the taller within one phase
// step), or that every eye is closed.
void PrintBestPair(const SweepAxes& axes, const std::vector<SweepPoint>& points, double ber, double bitTime);
