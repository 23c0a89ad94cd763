// `tessalune sim`: a channel simulator's GetWave host for the model. Loads
// the model library, builds the parameter string from the .ami file, drives
// AMI_Init / AMI_GetWave / AMI_Close with a PRBS stimulus and reports the
// model's message, the parameters used, the eye and the throughput; draws
// the eye diagram and writes the waveform on request.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddSimCommand(CLI::App& app, std::function<int()>& action);
