// Reads a model's .ami parameter file with the project's parameter parser and
// builds the AMI parameter string a simulator hands to AMI_Init: every
// Model_Specific parameter of Usage In or InOut with its default, in file
// order, under the model's root name, as in
//   (tessalune_tx (emphasis 0) (Vreg 2) (corner 2))
// A parameter's default is its Default value; without one, the typical
// value of a Range, Corner, Increment or Steps format, the first entry of a
// List, or the value of a Value format. Parameter groups (branches inside
// Model_Specific that are not parameters) keep their nesting.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

struct AmiParameterDefinition {
  std::string path;                       // name under Model_Specific; groups joined by "."
  std::string usage;                      // In, Out, InOut, Info
  std::string type;                       // Integer, Float, UI, Tap, Boolean, String
  std::string format;                     // Value, Range, List, Corner, ...
  std::vector<std::string> formatValues;  // the values after the format word
  std::string defaultValue;               // as written (empty: none)
  std::string description;

  bool IsInput() const { return usage == "In" || usage == "InOut"; }
  // The value a simulator uses when the user gives none (empty: none found).
  std::string EffectiveDefault() const;
  // Checks a user value against the type and format; empty when it fits,
  // else the reason.
  std::string Reject(const std::string& value) const;
};

// What a model's Reserved_Parameters tell a host about how to run it
// (IBIS 7.2, Section 10, the AMI reserved parameters): the values as the
// file gives them (Value, Default, or the first of a format), or the
// standard's default where the file has none.
struct AmiReservedParameters {
  bool initReturnsImpulse = false;  // AMI_Init returns the impulse response it was given, filtered
  bool getWaveExists = true;        // AMI_GetWave processes the waveform
  bool getWaveGiven = false;        // the file says GetWave_Exists (else the library's exports decide)
  bool useInitOutput = true;        // (before AMI_Version 6.0) the Init output is what the flow uses
  long ignoreBits = 0;              // bits at the start of the run every figure leaves out
  std::string ignoreBitsNote;       // an Ignore_Bits that is no count of bits, taken as 0
  long maxInitAggressors = 0;       // crosstalk columns AMI_Init accepts
};

class AmiFileParams {
 public:
  // Reads and parses an .ami file. Lines whose first non-blank character is
  // "|" are comments.
  bool Load(const std::string& path, std::string& error);
  // Parses the text of an .ami file.
  bool LoadText(const std::string& text, std::string& error);

  const std::string& RootName() const { return root_; }
  const AmiReservedParameters& Reserved() const { return reserved_; }
  const std::vector<AmiParameterDefinition>& Parameters() const { return parameters_; }
  const AmiParameterDefinition* Find(const std::string& path) const;

  // The parameter string from the input parameters' defaults, each
  // NAME=VALUE in `overrides` replacing the default of the parameter NAME.
  // Fails (with the reason) on an unknown name, a parameter that is not an
  // input, or a value that does not fit its type and format.
  // `chosen`, when given, receives each input parameter's path and value in
  // file order.
  bool BuildParameterString(const std::vector<std::string>& overrides, std::string& out, std::string& error,
                            std::vector<std::pair<std::string, std::string>>* chosen = nullptr) const;

 private:
  // Each NAME=VALUE of OVERRIDES, checked against the file's In and InOut
  // parameters, into CHOSEN; false and `error` at the first that is wrong.
  bool ReadOverrides(const std::vector<std::string>& overrides, std::map<std::string, std::string>& chosen,
                     std::string& error) const;

  std::string root_;
  AmiReservedParameters reserved_;
  std::vector<AmiParameterDefinition> parameters_;
};
