#include "tools/commands/CheckReportRecords.h"

#include "IbisParser/Parse.h"
#include "IbisParser/sections/BoardDescription.h"
#include "IbisParser/sections/Component.h"
#include "IbisParser/sections/External.h"
#include "IbisParser/sections/Interconnect.h"
#include "IbisParser/sections/PackageModel.h"

using nlohmann::json;

namespace {

json Names(const std::vector<NAME_AT>& names) {
  json out = json::array();
  for (const NAME_AT& n : names) out.push_back({{"name", n.name}, {"line", n.line}});
  return out;
}

// A count that may be absent (-1): null then.
json Count(long long n) { return n < 0 ? json(nullptr) : json(n); }

json PackageModelJson(const PACKAGE_MODEL& pm) {
  json matrices = json::object();
  static const char* const kKeys[] = {"resistance", "inductance", "capacitance"};
  for (int k = 0; k < 3; ++k) {
    const PKGM_MATRIX& m = pm.matrices[k];
    if (m.form == PKGM_NONE) continue;
    matrices[kKeys[k]] = {{"form", m.form > 0 ? PKGM_FormName(m.form) : ""},
                          {"bandwidth", Count(m.bandwidth)},
                          {"rows", m.rows},
                          {"line", m.line}};
  }
  return {{"name", pm.name},
          {"line", pm.line},
          {"manufacturer", pm.manufacturer},
          {"oem", pm.oem},
          {"description", pm.description},
          {"number_of_pins", Count(pm.numberOfPins)},
          {"number_of_sections", Count(pm.numberOfSections)},
          {"pins", pm.pins},
          {"sections", pm.sections},
          {"matrices", matrices}};
}

json BoardJson(const BOARD& b) {
  json pins = json::array();
  for (const EBD_PIN& p : b.pins) pins.push_back({{"pin", p.pin}, {"signal", p.signal}, {"line", p.line}});
  json paths = json::array();
  for (const EBD_PATH& p : b.paths)
    paths.push_back({{"name", p.name},
                     {"line", p.line},
                     {"pins", Names(p.pins)},
                     {"nodes", Names(p.nodes)},
                     {"sections", p.sections},
                     {"forks", p.forks}});
  json map = json::array();
  for (const EBD_DESIGNATOR& d : b.designators)
    map.push_back({{"designator", d.designator}, {"file", d.file}, {"component", d.component}, {"line", d.line}});
  return {
      {"name", b.name}, {"line", b.line}, {"manufacturer", b.manufacturer}, {"number_of_pins", Count(b.numberOfPins)},
      {"pins", pins},   {"paths", paths}, {"reference_designator_map", map}};
}

json ExternalJson(const EXTERNAL& e) {
  json corners = json::array();
  for (size_t i = 0; i < e.corners.size(); ++i)
    corners.push_back({{"corner", e.corners[i].name}, {"file", e.cornerFiles[i]}, {"line", e.corners[i].line}});
  return {{"keyword", e.circuit ? "External Circuit" : "External Model"},
          {"name", e.name},
          {"line", e.line},
          {"language", e.language},
          {"corners", corners},
          {"ports", e.ports}};
}

json InterconnectJson(const INTERCONNECT_SET& s) {
  json models = json::array();
  for (const INTERCONNECT_MODEL& m : s.models)
    models.push_back({{"name", m.name},
                      {"line", m.line},
                      {"file_kind", m.fileKind},
                      {"file", m.file},
                      {"number_of_terminals", Count(m.terminals)},
                      {"terminal_lines", m.terminalLines}});
  return {{"name", s.name}, {"line", s.line}, {"models", models}};
}

}  // namespace

json CheckComponentLinksJson(const COMPONENT& c) {
  json calls = json::array();
  for (const CIRCUIT_CALL& call : c.circuitCalls) {
    json ports = json::array();
    for (const PORT_MAP& p : call.portMap)
      ports.push_back({{"port", p.port.name}, {"target", p.target}, {"line", p.port.line}});
    calls.push_back({{"circuit", call.circuit}, {"line", call.line}, {"pins", Names(call.pins)}, {"port_map", ports}});
  }
  json groups = json::array();
  for (const INTERCONNECT_ENTRY& e : c.interconnectGroups)
    groups.push_back({{"set", e.set.name}, {"file", e.file}, {"line", e.set.line}});
  json package = nullptr;
  if (!c.packageModel.name.empty()) package = {{"name", c.packageModel.name}, {"line", c.packageModel.line}};
  return {{"package_model", package},
          {"alternate_package_models", Names(c.alternatePackageModels)},
          {"node_declarations", Names(c.nodes)},
          {"circuit_calls", calls},
          {"interconnect_model_groups", groups}};
}

json CheckPackageRecordsJson(const PARSE_STATE& d) {
  json packages = json::array(), boards = json::array(), externals = json::array(), sets = json::array();
  for (const PACKAGE_MODEL* pm = d.packageModels; pm; pm = pm->next) packages.push_back(PackageModelJson(*pm));
  for (const BOARD* b = d.boards; b; b = b->next) boards.push_back(BoardJson(*b));
  for (const EXTERNAL* e = d.externals; e; e = e->next) externals.push_back(ExternalJson(*e));
  for (const INTERCONNECT_SET* s = d.interconnects; s; s = s->next) sets.push_back(InterconnectJson(*s));
  return {{"package_models", packages}, {"boards", boards}, {"external", externals}, {"interconnect_model_sets", sets}};
}
