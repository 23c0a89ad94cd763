// `tessalune new-model DIR --name NAME --direction tx|rx`: writes a model
// project that builds against the installed kit (find_package(tessalune)):
// a network of kit blocks (a transmitter: a 3-tap FFE; a receiver: a CTLE
// and a slicer with clock recovery), its entry points on the frame, its
// .ibs/.ami for the newest IBIS version the checker knows, a CMakeLists.txt,
// a test and a README that says what to change first.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

struct NewModelFile {
  std::string path;  // relative to the project folder
  std::string text;
};

// The project's files for a model NAME of direction "tx" or "rx", with
// every placeholder filled in; `date` as the .ibs file's [Date] gives it.
std::vector<NewModelFile> NewModelFiles(const std::string& name, const std::string& direction, const std::string& date);

// Empty when NAME can name a model (a lower-case letter, then up to 19
// lower-case letters, digits or underscores: it names files the IBIS rules
// want in lower case and its longest .ibs line stays within 80 columns);
// else the reason.
std::string NewModelNameProblem(const std::string& name);

void AddNewModelCommand(CLI::App& app, std::function<int()>& action);
