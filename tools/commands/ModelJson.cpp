#include "tools/commands/ModelJson.h"

#include "IbisParser/records/ModelData.h"
#include "IbisParser/sections/Model.h"

using nlohmann::json;

namespace {

json Value(const MODEL_VALUE& v) {
  if (v.status == 1) return v.value;
  if (v.status == 2) return "NA";
  return nullptr;
}

json Triple(const MODEL_TRIPLE& t) {
  if (!t.given) return nullptr;
  return {{"typ", Value(t.corner[0])}, {"min", Value(t.corner[1])}, {"max", Value(t.corner[2])}, {"line", t.line}};
}

json Tables(const MODEL_DATA& d) {
  json tables = json::array();
  for (const MODEL_TABLE& t : d.tables) {
    json fixture = json::object();
    for (const auto& f : t.fixture) fixture[f.first] = f.second;
    json entry = {{"keyword", t.name}, {"line", t.line}, {"rows", t.rows.size()}, {"fixture", fixture}};
    if (!t.rows.empty()) {
      entry["first"] = {t.rows.front().x, Value(t.rows.front().y[0])};
      entry["last"] = {t.rows.back().x, Value(t.rows.back().y[0])};
    }
    if (t.state) entry["state"] = t.state == 1 ? "On" : "Off";
    tables.push_back(entry);
  }
  return tables;
}

json Ramp(const MODEL_DATA& d) {
  if (!d.hasRamp) return nullptr;
  json ramp = {{"line", d.ramp.line}, {"R_load", d.ramp.rLoad}};
  static const char* const kEdges[] = {"dV/dt_r", "dV/dt_f"};
  static const char* const kCorners[] = {"typ", "min", "max"};
  for (int e = 0; e < 2; ++e) {
    json edge = json::object();
    for (int c = 0; c < 3; ++c) {
      const MODEL_VALUE& dv = d.ramp.dv[e][c];
      edge[kCorners[c]] = dv.status == 1 ? json{{"dV", dv.value}, {"dt", d.ramp.dt[e][c].value}} : Value(dv);
    }
    ramp[kEdges[e]] = edge;
  }
  return ramp;
}

}  // namespace

json ModelJson(const MODEL& m) {
  json model = {{"name", m.name ? m.name : ""}, {"model_type", m.modelType}, {"line", m.line}};
  if (!m.data) return model;
  const MODEL_DATA& d = *m.data;
  json subparams = json::object();
  for (const MODEL_SUBPARAM& s : d.subparams) subparams[s.name] = s.values;
  json schedule = json::array();
  for (const SCHEDULE_ROW& r : d.schedule)
    schedule.push_back({{"model", r.model}, {"delays", r.delays}, {"line", r.line}});
  json submodels = json::array();
  for (const ADD_SUBMODEL_ROW& r : d.addSubmodels)
    submodels.push_back({{"submodel", r.submodel}, {"mode", r.mode}, {"line", r.line}});
  model["subparameters"] = subparams;
  model["temperature_range"] = Triple(d.temperatureRange);
  model["voltage_range"] = Triple(d.voltageRange);
  model["pullup_reference"] = Triple(d.pullupRef);
  model["pulldown_reference"] = Triple(d.pulldownRef);
  model["power_clamp_reference"] = Triple(d.powerClampRef);
  model["gnd_clamp_reference"] = Triple(d.gndClampRef);
  model["tables"] = Tables(d);
  model["ramp"] = Ramp(d);
  model["driver_schedule"] = schedule;
  model["add_submodel"] = submodels;
  return model;
}

json SubmodelJson(const SUBMODEL& s) {
  return {{"name", s.name},
          {"submodel_type", s.type},
          {"line", s.line},
          {"tables", Tables(s.data)},
          {"ramp", Ramp(s.data)}};
}
