#include "tools/commands/CheckReport.h"

#include <cstdio>

#include "IbisParser/Parse.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/Rng.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/sections/Component.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/ModelSelector.h"
#include "IbisParser/sections/Pkg.h"
#include "amiparam/Msg.h"
#include "tools/commands/CheckReportRecords.h"
#include "tools/commands/ModelJson.h"

using nlohmann::json;

namespace {

const char* SeverityOf(int level) {
  static const char* const kNames[] = {"PROGRAM BUG", "PROGRAM BUG", "ERROR",   "ERROR", "WARNING",
                                       "WARNING",     "CAUTION",     "CAUTION", "NOTE",  "NOTE"};
  return level >= 0 && level < 10 ? kNames[level] : "";
}

// A typ/min/max triple: numbers, "NA" or null when not given.
json Triple(const RNG* rng) {
  if (!rng) return nullptr;
  auto column = [](const RNG_VALUE& v) -> json {
    if (v.status == 1) return v.value;
    if (v.status == 2) return "NA";
    return nullptr;
  };
  return json{{"typ", column(rng->typ)}, {"min", column(rng->min)}, {"max", column(rng->max)}};
}

json ComponentJson(const COMPONENT& c) {
  json pins = json::array();
  for (const PIN_ROW& p : c.pins) {
    json pin = {{"pin", p.name}, {"signal", p.signal}, {"model", p.model}, {"line", p.line}};
    if (!p.r.empty()) pin["R_pin"] = p.r, pin["L_pin"] = p.l, pin["C_pin"] = p.c;
    pins.push_back(pin);
  }
  json diff = json::array();
  for (const DIFF_PIN_ROW& d : c.diffPins)
    diff.push_back({{"pin", d.pin},
                    {"inv_pin", d.invPin},
                    {"vdiff", d.vdiff},
                    {"tdelay_typ", d.tdelayTyp},
                    {"tdelay_min", d.tdelayMin},
                    {"tdelay_max", d.tdelayMax},
                    {"line", d.line}});
  json mapping = json::array();
  for (const PIN_MAPPING_ROW& m : c.pinMapping)
    mapping.push_back({{"pin", m.pin}, {"buses", m.buses}, {"line", m.line}});
  json series = json::array();
  for (const SERIES_PIN_ROW& s : c.seriesPins)
    series.push_back({{"pin_1", s.pin1}, {"pin_2", s.pin2}, {"model", s.model}, {"group", s.group}, {"line", s.line}});
  json groups = json::array();
  for (const SWITCH_GROUP& g : c.switchGroups)
    groups.push_back({{"state", g.on ? "On" : "Off"}, {"groups", g.groups}, {"line", g.line}});
  json busLabels = json::array();
  for (const BUS_LABEL_ROW& b : c.busLabels)
    busLabels.push_back({{"bus_label", b.label}, {"signal", b.signal}, {"line", b.line}});
  json pads = json::array();
  for (const DIE_SUPPLY_PAD_ROW& d : c.dieSupplyPads)
    pads.push_back({{"pad", d.pad}, {"signal", d.signal}, {"bus_label", d.busLabel}, {"line", d.line}});
  json clocks = json::array();
  for (const CLOCK_PIN_ROW& k : c.clockPins)
    clocks.push_back(
        {{"pin", k.pin}, {"clocked_pin", k.clockedPin}, {"relationship", k.relationship}, {"line", k.line}});
  json package = nullptr;
  if (c.package)
    package = {
        {"R_pkg", Triple(c.package->rPkg)}, {"L_pkg", Triple(c.package->lPkg)}, {"C_pkg", Triple(c.package->cPkg)}};
  return {{"name", c.name ? c.name : ""},
          {"line", c.line},
          {"manufacturer", c.manufacturer},
          {"si_location", c.siLocation},
          {"timing_location", c.timingLocation},
          {"package", package},
          {"pins", pins},
          {"diff_pins", diff},
          {"pin_mapping", mapping},
          {"series_pin_mapping", series},
          {"series_switch_groups", groups},
          {"bus_labels", busLabels},
          {"die_supply_pads", pads},
          {"clock_pins", clocks}};
}

void DiagnosticListener(int level, int code, unsigned long line, const char* text, void* context) {
  static_cast<CheckReport*>(context)->OnDiagnostic(level, code, line, text);
}

void DescriptionListener(const PARSE_CONTEXT& description, void* context) {
  static_cast<CheckReport*>(context)->OnDescription(description);
}

}  // namespace

CheckReport::CheckReport() {
  // The printed form is not wanted: the diagnostics go to the document.
  sink_ = std::tmpfile();
  previousStream_ = gpMsgStream;
  if (sink_) gpMsgStream = sink_;
  MSG_SetListener(DiagnosticListener, this);
  PARSE_SetDescriptionListener(DescriptionListener, this);
}

CheckReport::~CheckReport() {
  MSG_SetListener(nullptr, nullptr);
  PARSE_SetDescriptionListener(nullptr, nullptr);
  gpMsgStream = previousStream_;
  if (sink_) std::fclose(sink_);
}

void CheckReport::BeginFile(const std::string& path, int mode) {
  static const char* const kKinds[] = {"", "ibs", "pkg", "ebd", "ami"};
  current_ = {{"path", path}, {"kind", mode >= 1 && mode <= 4 ? kKinds[mode] : ""}, {"diagnostics", json::array()}};
  errorsBefore_ = glErrorCount + glBugCount;
  warningsBefore_ = glWarningCount;
}

void CheckReport::EndFile(bool read) {
  current_["read"] = read;
  current_["errors"] = static_cast<int>(glErrorCount + glBugCount) - errorsBefore_;
  current_["warnings"] = static_cast<int>(glWarningCount) - warningsBefore_;
  current_["passed"] = current_["errors"].get<int>() == 0;
  files_.push_back(current_);
  current_ = json();
}

void CheckReport::OnDiagnostic(int level, int code, unsigned long line, const char* text) {
  if (!current_.is_object()) return;
  json entry = {{"id", code}, {"severity", SeverityOf(level)}, {"line", nullptr}, {"text", text ? text : ""}};
  if (level % 2 == 1) entry["line"] = line;
  current_["diagnostics"].push_back(entry);
}

void CheckReport::OnDescription(const PARSE_CONTEXT& description) {
  if (!current_.is_object()) return;
  current_["version"] = IBISVER_Name(description.ibisRelease);
  json components = json::array();
  for (const COMPONENT* c = description.components; c; c = c->next) {
    components.push_back(ComponentJson(*c));
    components.back().update(CheckComponentLinksJson(*c));
  }
  json models = json::array();
  for (const MODEL* m = description.models; m; m = m->next) models.push_back(ModelJson(*m));
  json submodels = json::array();
  for (const SUBMODEL* s = description.submodels; s; s = s->next) submodels.push_back(SubmodelJson(*s));
  json selectors = json::array();
  for (const MODEL_SELECTOR* s = description.selectors; s; s = s->next) {
    json entries = json::array();
    for (const SELECTOR_ENTRY& e : s->entries)
      entries.push_back({{"model", e.model}, {"description", e.description}, {"line", e.line}});
    selectors.push_back({{"name", s->name}, {"line", s->line}, {"entries", entries}});
  }
  current_["components"] = components;
  current_["models"] = models;
  current_["submodels"] = submodels;
  current_["model_selectors"] = selectors;
  current_.update(CheckPackageRecordsJson(description));
}

json CheckReport::Document() const {
  int errors = 0, warnings = 0;
  for (const json& f : files_) errors += f["errors"].get<int>(), warnings += f["warnings"].get<int>();
  return {{"files", files_}, {"errors", errors}, {"warnings", warnings}, {"passed", errors == 0}};
}
