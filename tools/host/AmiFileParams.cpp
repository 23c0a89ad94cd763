#include "tools/host/AmiFileParams.h"

#include "amiparam/AmiTree.h"
#include "amiparam/AmiTreeWalk.h"
#include "amiparam/AmiValue.h"
#include "tools/common/ParameterFileText.h"

#include <map>
#include <sstream>

namespace {

bool IsNumberKind(int32_t kind) { return kind == AMIVALUE_INTEGER || kind == AMIVALUE_FLOAT; }

// The children of a branch, in place.
struct ChildRange {
  const AMINODE* first = nullptr;
  const AMINODE* last = nullptr;
  const AMINODE* begin() const { return first; }
  const AMINODE* end() const { return last; }
};

ChildRange Children(const AMIBRANCH* branch) {
  if (!branch || !branch->children || branch->child_count <= 0) return {};
  return ChildRange{branch->children, branch->children + branch->child_count};
}

const AMILEAF* Leaf(const AMINODE& node) {
  return node.kind == AMINODE_LEAF ? static_cast<const AMILEAF*>(node.body) : nullptr;
}
const AMIBRANCH* Branch(const AMINODE& node) {
  return node.kind == AMINODE_BRANCH ? static_cast<const AMIBRANCH*>(node.body) : nullptr;
}

std::string ValueText(const AMILEAF* leaf, int index) {
  if (!leaf || !leaf->values || index >= leaf->value_count || !leaf->values[index].text) return {};
  return leaf->values[index].text;
}

// A branch is a parameter definition when it carries Usage or Type leaves.
bool IsDefinition(const AMIBRANCH* branch) {
  for (const AMINODE& child : Children(branch)) {
    const AMILEAF* leaf = Leaf(child);
    if (leaf && (leaf->property == 1 || leaf->property == 2)) return true;
  }
  return false;
}

bool IsFormatWord(const std::string& name) {
  return name == "Value" || name == "Range" || name == "List" || name == "Corner" || name == "Increment" ||
         name == "Steps";
}

AmiParameterDefinition Definition(const AMIBRANCH* branch, const std::string& path) {
  AmiParameterDefinition def;
  def.path = path;
  for (const AMINODE& item : Children(branch)) {
    const AMILEAF* leaf = Leaf(item);
    if (!leaf || !leaf->name) continue;
    const std::string name = leaf->name;
    if (name == "Usage") def.usage = ValueText(leaf, 0);
    if (name == "Type") def.type = ValueText(leaf, 0);
    if (name == "Default") def.defaultValue = ValueText(leaf, 0);
    if (name == "Description") def.description = ValueText(leaf, 0);
    if (name == "Format") {
      def.format = ValueText(leaf, 0);
      for (int i = 1; i < leaf->value_count; ++i) def.formatValues.push_back(ValueText(leaf, i));
    }
    // The word Format may be left out before the format itself.
    if (IsFormatWord(name)) {
      def.format = name;
      for (int i = 0; i < leaf->value_count; ++i) def.formatValues.push_back(ValueText(leaf, i));
    }
  }
  return def;
}

// Longest total of the parameters' full names (group names and dots
// included). Each parameter keeps its full name, so a hostile file that puts
// many parameters at the bottom of very deep groups would otherwise take
// memory (and time, wherever the names are used) of the depth times their
// number; no real file comes near this.
constexpr size_t kPathTextMax = size_t{64} << 20;

// Every parameter definition below `top`, depth first in file order. Groups
// may nest deeper than the call stack allows, so the walk keeps its own
// stack; the names of the open groups share one path text, which each level
// only extends or cuts back (a group keeps the length of its part), so the
// walk's memory stays linear in the depth. `pathText` adds up the lengths
// of the full names kept; returns false when it would pass kPathTextMax.
bool Collect(const AMIBRANCH* top, std::vector<AmiParameterDefinition>& out, size_t& pathText) {
  std::string path;
  return AMITREE_Walk(top, size_t{0},
                      [&](const AMINODE& child, int32_t, const AMIBRANCH*, size_t parentLength, size_t& childLength) {
                        const AMIBRANCH* sub = Branch(child);
                        if (!sub || !sub->name) return AmiWalkStep::kNext;
                        path.resize(parentLength);
                        if (!path.empty()) path += '.';
                        path += sub->name;
                        if (!IsDefinition(sub)) {
                          childLength = path.size();
                          return AmiWalkStep::kEnter;
                        }
                        pathText += path.size();
                        if (pathText > kPathTextMax) return AmiWalkStep::kStop;
                        out.push_back(Definition(sub, path));
                        return AmiWalkStep::kNext;
                      });
}

// The leaf text of one parameter value: strings are quoted.
std::string Written(const AmiParameterDefinition& def, const std::string& value) {
  return def.type == "String" ? "\"" + value + "\"" : value;
}

// The reserved parameters a host's flow depends on, from the children of
// Reserved_Parameters; a value that does not read as its type keeps the
// default.
AmiReservedParameters ReadReserved(const AMIBRANCH* reserved) {
  AmiReservedParameters r;
  for (const AMINODE& child : Children(reserved)) {
    const AMIBRANCH* branch = Branch(child);
    if (!branch || !branch->name) continue;
    const std::string name = branch->name;
    const std::string value = Definition(branch, name).EffectiveDefault();
    const int32_t kind = AMIVALUE_Kind(value.c_str());
    const bool isTrue = kind == AMIVALUE_BOOLEAN && value == "True";
    if (name == "Init_Returns_Impulse" && kind == AMIVALUE_BOOLEAN) r.initReturnsImpulse = isTrue;
    if (name == "GetWave_Exists" && kind == AMIVALUE_BOOLEAN) {
      r.getWaveExists = isTrue;
      r.getWaveGiven = true;
    }
    if (name == "Use_Init_Output" && kind == AMIVALUE_BOOLEAN) r.useInitOutput = isTrue;
    const double number = IsNumberKind(kind) ? AMIVALUE_ToDouble(value.c_str()) : -1.0;
    if (name == "Ignore_Bits" && number >= 0 && number < 1e15) r.ignoreBits = static_cast<long>(number);
    if (name == "Ignore_Bits" && !(number >= 0 && number < 1e15))
      r.ignoreBitsNote = "Ignore_Bits " + value + " is no count of bits: taken as 0";
    if (name == "Max_Init_Aggressors" && number >= 0 && number < 1e6) r.maxInitAggressors = static_cast<long>(number);
  }
  return r;
}

}  // namespace

std::string AmiParameterDefinition::EffectiveDefault() const {
  if (!defaultValue.empty()) return defaultValue;
  if (!formatValues.empty() && (format == "Value" || format == "Range" || format == "List" || format == "Corner" ||
                                format == "Increment" || format == "Steps"))
    return formatValues[0];
  return {};
}

std::string AmiParameterDefinition::Reject(const std::string& value) const {
  const int32_t kind = AMIVALUE_Kind(value.c_str());
  if (type == "Integer" && kind != AMIVALUE_INTEGER) return "'" + value + "' is not an integer";
  if ((type == "Float" || type == "UI" || type == "Tap") && !IsNumberKind(kind))
    return "'" + value + "' is not a number";
  if (type == "Boolean" && kind != AMIVALUE_BOOLEAN) return "'" + value + "' is not True or False";
  if (type == "String" && value.find('"') != std::string::npos) return "a string value cannot hold '\"'";
  if (!IsNumberKind(kind)) {
    if (format == "List") {
      for (const std::string& entry : formatValues)
        if (entry == value) return {};
      return "'" + value + "' is not one of the listed values";
    }
    return {};
  }
  const double v = AMIVALUE_ToDouble(value.c_str());
  if (format == "List") {
    for (const std::string& entry : formatValues)
      if (IsNumberKind(AMIVALUE_Kind(entry.c_str())) && AMIVALUE_ToDouble(entry.c_str()) == v) return {};
    std::string allowed;
    for (const std::string& entry : formatValues) allowed += (allowed.empty() ? "" : ", ") + entry;
    return "'" + value + "' is not one of " + allowed;
  }
  if ((format == "Range" || format == "Corner" || format == "Increment" || format == "Steps") &&
      formatValues.size() >= 3) {
    const double low = AMIVALUE_ToDouble(formatValues[1].c_str());
    const double high = AMIVALUE_ToDouble(formatValues[2].c_str());
    if (v < low || v > high) return "'" + value + "' is outside " + formatValues[1] + " .. " + formatValues[2];
  }
  return {};
}

bool AmiFileParams::Load(const std::string& path, std::string& error) {
  std::string file;
  const ParameterFileRead read = ReadParameterFile(path, file);
  if (read != ParameterFileRead::kOk) {
    error = ParameterFileError(read, path);
    return false;
  }
  // Each line ends with a line feed; comment lines are left out.
  std::string text;
  text.reserve(file.size() + 1);
  for (size_t start = 0; start < file.size();) {
    size_t end = file.find('\n', start);
    if (end == std::string::npos) end = file.size();
    const size_t first = file.find_first_not_of(" \t\r", start);
    if (first >= end || file[first] != '|') text.append(file, start, end - start).push_back('\n');
    start = end + 1;
  }
  if (!LoadText(text, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool AmiFileParams::LoadText(const std::string& text, std::string& error) {
  root_.clear();
  reserved_ = AmiReservedParameters();
  parameters_.clear();
  AMITREE* tree = nullptr;
  const int32_t result = AMITREE_Parse(text.c_str(), &tree);
  if (result != AMITREE_OK) {
    error = "the parameter file does not parse (parser result " + std::to_string(result) + ")";
    return false;
  }
  const AMIBRANCH* root = tree->nodes && tree->slots > 0 ? Branch(tree->nodes[0]) : nullptr;
  if (!root || !root->name) {
    AMITREE_Free(&tree);
    error = "the parameter file has no root branch";
    return false;
  }
  root_ = root->name;
  size_t pathText = 0;
  for (const AMINODE& child : Children(root)) {
    const AMIBRANCH* branch = Branch(child);
    if (branch && branch->name && std::string(branch->name) == "Reserved_Parameters") reserved_ = ReadReserved(branch);
    if (branch && branch->name && std::string(branch->name) == "Model_Specific" &&
        !Collect(branch, parameters_, pathText)) {
      AMITREE_Free(&tree);
      root_.clear();
      parameters_.clear();
      error = "the parameters' full names (with their groups) take more than " + std::to_string(kPathTextMax >> 20) +
              " MiB";
      return false;
    }
  }
  AMITREE_Free(&tree);
  return true;
}

const AmiParameterDefinition* AmiFileParams::Find(const std::string& path) const {
  for (const AmiParameterDefinition& def : parameters_)
    if (def.path == path) return &def;
  return nullptr;
}

bool AmiFileParams::ReadOverrides(const std::vector<std::string>& overrides, std::map<std::string, std::string>& chosen,
                                  std::string& error) const {
  for (const std::string& item : overrides) {
    const size_t eq = item.find('=');
    if (eq == std::string::npos || eq == 0) {
      error = "parameter '" + item + "' is not NAME=VALUE";
      return false;
    }
    const std::string name = item.substr(0, eq);
    const std::string value = item.substr(eq + 1);
    const AmiParameterDefinition* def = Find(name);
    if (!def) {
      std::string known;
      for (const AmiParameterDefinition& d : parameters_)
        if (d.IsInput()) known += (known.empty() ? "" : ", ") + d.path;
      error = "unknown parameter '" + name + "' (the model takes: " + known + ")";
      return false;
    }
    if (!def->IsInput()) {
      error = "parameter '" + name + "' has Usage " + def->usage + ", not In or InOut";
      return false;
    }
    const std::string why = def->Reject(value);
    if (!why.empty()) {
      error = "parameter " + name + ": " + why;
      return false;
    }
    chosen[name] = value;
  }
  return true;
}

bool AmiFileParams::BuildParameterString(const std::vector<std::string>& overrides, std::string& out,
                                         std::string& error,
                                         std::vector<std::pair<std::string, std::string>>* values) const {
  std::map<std::string, std::string> chosen;
  if (!ReadOverrides(overrides, chosen, error)) return false;

  // Parameters in file order; a group opens where its first parameter is and
  // closes when the path leaves it.
  std::string text = "(" + root_;
  std::vector<std::string> open;  // group names currently open
  if (values) values->clear();
  for (const AmiParameterDefinition& def : parameters_) {
    if (!def.IsInput()) continue;
    auto found = chosen.find(def.path);
    const std::string value = found != chosen.end() ? found->second : def.EffectiveDefault();
    if (value.empty() && def.type != "String") {
      error = "parameter " + def.path + " has no default value";
      return false;
    }
    if (values) values->emplace_back(def.path, value);
    std::vector<std::string> parts;
    std::stringstream split(def.path);
    for (std::string part; std::getline(split, part, '.');) parts.push_back(part);
    const std::vector<std::string> groups(parts.begin(), parts.end() - 1);
    size_t common = 0;
    while (common < open.size() && common < groups.size() && open[common] == groups[common]) ++common;
    for (size_t i = open.size(); i > common; --i) text += ")";
    open.resize(common);
    for (size_t i = common; i < groups.size(); ++i) {
      text += " (" + groups[i];
      open.push_back(groups[i]);
    }
    text += " (" + parts.back() + " " + Written(def, value) + ")";
  }
  for (size_t i = open.size(); i > 0; --i) text += ")";
  text += ")";
  out = text;
  return true;
}
