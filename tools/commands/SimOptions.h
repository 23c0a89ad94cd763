// The options `sim` and `sweep` share (model, .ami file, stimulus, block,
// channel, noise), read once into the settings of the simulation host.
#pragma once

#include "tools/host/AmiFileParams.h"
#include "tools/host/AmiModelLoader.h"
#include "tools/host/IsolatedRun.h"
#include "tools/host/SimulationRun.h"

#include <CLI/CLI.hpp>

#include <string>

// The shared options as the command line gives them: the settings, and the
// text of the one option read after parsing (--ports).
struct SimCommandLine {
  SimSettings settings;
  std::string ports = "1,2,3,4";
  // Models of others run in a child process, each entry point call within
  // this many seconds (far beyond any run's); --in-process runs them here.
  double modelTimeout = 3600;
  bool inProcess = false;

  // Whether the runs go to child processes: some model is not one of ours
  // and --in-process was not given.
  bool Isolates() const;
  IsolationLimits Limits() const;
};

void AddSimOptions(CLI::App* cmd, SimCommandLine& line);

// Empty when every setting is one its option takes (and the settings can
// run), else which is not: for settings read from elsewhere than the command
// line, such as a results file's header.
std::string SettingsProblem(const SimSettings& settings);

// Everything before the first run: line-buffered standard output, paths,
// settings (--ports read into them), the .ami file, the channel file and the
// model library. Returns 0 when ready, else prints "COMMAND: reason" on
// standard error and returns the exit status (2 for usage errors).
int PrepareSimulation(const char* command, SimCommandLine& line, AmiFileParams& ami, AmiModelLoader& model);

// The receiver of --rx, when given: its .ami file and library loaded, and
// its parameter string built from --rx-param into `parameters`. Returns 0
// when ready (or when there is none), else prints "COMMAND: reason" on
// standard error and returns the exit status.
int PrepareReceiver(const char* command, const SimSettings& settings, AmiFileParams& ami, AmiModelLoader& model,
                    std::string& parameters);

// The pair a run drives: the transmitter, and the receiver when its library
// is open; each with the reserved parameters its .ami file gives.
LinkModels MakeLink(const AmiFileParams& txAmi, const AmiModelLoader& tx, const AmiFileParams& rxAmi,
                    const AmiModelLoader& rx);
