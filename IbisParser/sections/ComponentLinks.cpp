#include "IbisParser/sections/ComponentLinks.h"

#include <unordered_map>
#include <unordered_set>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/NamedFile.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/Component.h"
#include "IbisParser/sections/External.h"
#include "IbisParser/sections/Interconnect.h"
#include "IbisParser/sections/PackageModel.h"
#include "amiparam/Msg.h"

namespace {

std::string FirstWord(const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  return words.empty() ? std::string() : words[0];
}

// A [Circuit Call] subparameter line (IBIS 4.1 multi-lingual model extensions).
void CircuitCallLine(CIRCUIT_CALL* call, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.empty() || call->ended) return;
  const char* sub = words[0].c_str();
  if (CMN_EqualNoCase(sub, "Port_map")) {
    if (words.size() != 3) {
      CHECK_Report(5610, "Port_map", static_cast<int>(words.size()), 3);
      if (words.size() < 3) return;
    }
    call->portMap.push_back({{words[1], gulLineNumber}, words[2]});
  } else if (CMN_EqualNoCase(sub, "Signal_pin") || CMN_EqualNoCase(sub, "Diff_signal_pins") ||
             CMN_EqualNoCase(sub, "Series_pins")) {
    const size_t expected = CMN_EqualNoCase(sub, "Signal_pin") ? 2 : 3;
    if (words.size() != expected) CHECK_Report(5610, sub, static_cast<int>(words.size()), static_cast<int>(expected));
    for (size_t i = 1; i < words.size(); ++i) call->pins.push_back({words[i], gulLineNumber});
  }
}

}  // namespace

int LINKS_Line(COMPONENT* component, int kind, int id, const char* text) {
  const bool keyword = kind == PARSE_LINE_KEYWORD;
  switch (id) {
    case KEY_PACKAGE_MODEL:
      if (keyword) {
        // IBIS 2.1 component description: [Package Model] names one package model.
        const std::string name = FirstWord(KEY_AfterKeyword(text));
        if (!component->packageModel.name.empty())
          CHECK_Report(5431, component->name ? component->name : "");
        else if (name.empty())
          CHECK_Report(5500, "Package Model");
        else
          component->packageModel = {name, gulLineNumber};
      }
      return 1;
    case KEY_ALTERNATE_PACKAGE_MODELS:
      if (!keyword && !FirstWord(text).empty())
        component->alternatePackageModels.push_back({FirstWord(text), gulLineNumber});
      return 1;
    case KEY_NODE_DECLARATIONS:
      if (!keyword)
        for (const std::string& node : LINE_Words(text)) component->nodes.push_back({node, gulLineNumber});
      return 1;
    case KEY_CIRCUIT_CALL:
      if (keyword) {
        CIRCUIT_CALL call;
        call.circuit = FirstWord(KEY_AfterKeyword(text));
        call.line = gulLineNumber;
        if (call.circuit.empty()) CHECK_Report(5500, "Circuit Call");
        component->circuitCalls.push_back(call);
      } else if (!component->circuitCalls.empty()) {
        CircuitCallLine(&component->circuitCalls.back(), text);
      }
      return 1;
    case KEY_END_CIRCUIT_CALL:
      if (component->circuitCalls.empty() || component->circuitCalls.back().ended)
        CHECK_Report(5634, "End Circuit Call", "Circuit Call");
      else
        component->circuitCalls.back().ended = true;
      return 1;
    case KEY_INTERCONNECT_MODEL_GROUP:
      if (!keyword) {
        std::vector<std::string> words = LINE_Words(text);
        if (!words.empty())
          component->interconnectGroups.push_back({{words[0], gulLineNumber}, words.size() > 1 ? words[1] : ""});
      }
      return 1;
    default:
      return 0;
  }
}

namespace {

// Package model names of the .pkg files beside the checked file, read once
// per check and only when a name is not defined in the file itself.
struct BesideFiles {
  const char* dir;  // the checked file's directory
  bool read = false;
  std::unordered_set<std::string> names;
  bool Defines(const std::string& name) {
    if (!read) {
      read = true;
      for (const std::string& file : NAMED_FilesWithExtension(dir, ".pkg")) {
        std::string path;
        if (NAMED_Kind(dir, file, &path) != NAMED_FILE) continue;
        for (const std::string& n : NAMED_Defined(path, "Define Package Model")) names.insert(LINE_Lower(n));
      }
    }
    return names.count(LINE_Lower(name)) > 0;
  }
};

void CheckPackageModel(PARSE_CONTEXT& ctx, const NAME_AT& ref, const char* keyword, BesideFiles* beside) {
  if (PKGM_Find(ctx.packageModels, ref.name) || beside->Defines(ref.name)) return;
  CHECK_ReportAt(ref.line, 5429, keyword, ref.name.c_str());
}

void CheckCircuitCall(PARSE_CONTEXT& ctx, const COMPONENT* c, const CIRCUIT_CALL& call) {
  if (!call.ended) CHECK_ReportAt(call.line, 5606, "Circuit Call", call.circuit.c_str(), "Circuit Call");
  const EXTERNAL* circuit = EXT_FindCircuit(ctx.externals, call.circuit);
  if (!circuit && !call.circuit.empty()) CHECK_ReportAt(call.line, 5607, call.circuit.c_str());
  for (const NAME_AT& pin : call.pins)
    if (!COMP_FindPin(c, pin.name)) CHECK_ReportAt(pin.line, 5014, "Circuit Call", pin.name.c_str());
  // A port connects to a pin, a declared node, or (a rail) the signal name of pins.
  std::unordered_set<std::string> nodes;
  for (const NAME_AT& n : c->nodes) nodes.insert(n.name);
  for (const PIN_ROW& pin : c->pins) nodes.insert(pin.signal);
  for (const PORT_MAP& map : call.portMap) {
    if (circuit) {
      bool declared = false;
      for (const std::string& port : circuit->ports) declared = declared || port == map.port.name;
      if (!declared) CHECK_ReportAt(map.port.line, 5608, map.port.name.c_str(), call.circuit.c_str());
    }
    if (!COMP_FindPin(c, map.target) && !nodes.count(map.target))
      CHECK_ReportAt(map.port.line, 5609, map.port.name.c_str(), map.target.c_str());
  }
}

}  // namespace

void LINKS_CheckFile(PARSE_CONTEXT& ctx) {
  BesideFiles beside{ctx.where.dir, false, {}};
  // IBIS 2.1 package modeling: each package model name is defined once.
  std::unordered_map<std::string, unsigned long> defined;
  for (const PACKAGE_MODEL* pm = ctx.packageModels; pm; pm = pm->next) {
    if (pm->name.empty()) continue;
    auto first = defined.emplace(LINE_Lower(pm->name), pm->line);
    if (!first.second) CHECK_ReportAt(pm->line, 5430, pm->name.c_str(), static_cast<int>(first.first->second));
  }
  std::unordered_map<std::string, std::vector<std::string>> imsFiles;  // sets defined per named file
  for (const COMPONENT* c = ctx.components; c; c = c->next) {
    if (!c->packageModel.name.empty()) CheckPackageModel(ctx, c->packageModel, "Package Model", &beside);
    for (const NAME_AT& alt : c->alternatePackageModels)
      CheckPackageModel(ctx, alt, "Alternate Package Models", &beside);
    for (const CIRCUIT_CALL& call : c->circuitCalls) CheckCircuitCall(ctx, c, call);
    // IBIS 7.0 interconnect modeling: group entries name defined model sets.
    for (const INTERCONNECT_ENTRY& e : c->interconnectGroups) {
      if (e.file.empty()) {
        if (!ICM_FindSet(ctx.interconnects, e.set.name)) CHECK_ReportAt(e.set.line, 5635, e.set.name.c_str());
        continue;
      }
      std::string path;
      if (NAMED_Kind(ctx.where.dir, e.file, &path) != NAMED_FILE) {
        CHECK_ReportAt(e.set.line, 5604, "Interconnect Model Group", e.file.c_str());
        continue;
      }
      auto sets = imsFiles.find(path);
      if (sets == imsFiles.end()) sets = imsFiles.emplace(path, NAMED_Defined(path, "Interconnect Model Set")).first;
      bool found = false;
      for (const std::string& s : sets->second) found = found || s == e.set.name;
      if (!found) CHECK_ReportAt(e.set.line, 5635, e.set.name.c_str());
    }
  }
}
