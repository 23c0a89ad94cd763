#include "tools/commands/SweepReceiver.h"

#include "tools/commands/RunReport.h"
#include "tools/commands/SweepBest.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

bool ReadRxSweep(const std::string& text, const AmiFileParams& rxAmi, SweepAxes& axes, std::string& error) {
  if (text.empty()) return true;
  if (rxAmi.RootName().empty()) {
    error = "--rx-sweep needs --rx and --rx-ami, the receiver it varies";
    return false;
  }
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == text.size()) {
    error = "--rx-sweep '" + text + "' is not NAME=V1,V2,...";
    return false;
  }
  axes.rxName = text.substr(0, eq);
  std::stringstream list(text.substr(eq + 1));
  for (std::string value; std::getline(list, value, ',');) {
    if (value.empty()) {
      error = "--rx-sweep '" + text + "' has an empty value";
      return false;
    }
    axes.rxValues.push_back(value);
  }
  const AmiParameterDefinition* def = rxAmi.Find(axes.rxName);
  if (!def || !def->IsInput()) {
    error = "--rx-sweep: the receiver has no input parameter '" + axes.rxName + "'";
    return false;
  }
  return true;
}

bool AddReceiverAxis(const AmiFileParams& rxAmi, const SimSettings& s, const SweepAxes& axes,
                     std::vector<SweepPoint>& points, std::string& error) {
  if (s.rxModelPath.empty()) return true;
  const std::vector<std::string> values = axes.rxValues.empty() ? std::vector<std::string>{""} : axes.rxValues;
  std::vector<std::string> rxParameters(values.size());
  for (size_t v = 0; v < values.size(); ++v) {
    std::vector<std::string> overrides = s.rxParams;
    if (!axes.rxName.empty()) overrides.push_back(axes.rxName + "=" + values[v]);
    if (!rxAmi.BuildParameterString(overrides, rxParameters[v], error)) return false;
  }
  std::vector<SweepPoint> expanded;
  expanded.reserve(points.size() * values.size());
  for (const SweepPoint& p : points) {
    for (size_t v = 0; v < values.size(); ++v) {
      SweepPoint q;
      q.emphasis = p.emphasis;
      q.vreg = p.vreg;
      q.corner = p.corner;
      q.parameters = p.parameters;
      q.drawn = p.drawn;
      q.rxValue = values[v];
      q.rxParameters = rxParameters[v];
      expanded.push_back(std::move(q));
    }
  }
  points = std::move(expanded);
  return true;
}

namespace {

// The noise at the decision point for each receiver value (of those the
// points hold), when the receiver's response carries it there.
void PrintReceiverNoise(const SimSettings& s, const SweepAxes& axes, const std::vector<SweepPoint>& points,
                        const LinkModels& models) {
  if (!s.WantsBer() || s.noiseMv <= 0 ||
      RunReport::NoisePath(s, models.rxReserved.initReturnsImpulse) != NoiseReferral::Path::kThroughResponse)
    return;
  const std::vector<std::string> values = axes.rxValues.empty() ? std::vector<std::string>{""} : axes.rxValues;
  std::string figures;
  for (const std::string& value : values) {
    const auto p = std::find_if(points.begin(), points.end(), [&](const SweepPoint& q) { return q.rxValue == value; });
    if (p == points.end()) continue;
    NoiseReferral noise;
    std::string error;
    const std::string with = axes.rxName.empty() ? "" : " with " + axes.rxName + " " + value;
    if (!SimulationRun::ReferNoise(models, p->settings ? *p->settings : s, p->rxParameters, noise, error)) {
      std::printf("noise       at the decision point%s: not measured, %s\n", with.c_str(), error.c_str());
      continue;
    }
    if (axes.rxName.empty()) {
      std::printf("noise       %s\n", RunReport::NoiseFigures(noise).c_str());
      return;
    }
    figures += (figures.empty() ? "" : ", ") + RunReport::Fixed("%.3g", noise.decisionMv) + " mV" + with;
  }
  if (!figures.empty())
    std::printf("noise       %s mV RMS at the input; RMS at the decision point: %s\n",
                RunReport::Fixed("%.4g", s.noiseMv).c_str(), figures.c_str());
}

}  // namespace

void PrintReceiver(const SimSettings& s, const SweepAxes& axes, const std::vector<SweepPoint>& points,
                   const LinkModels& models) {
  if (s.rxModelPath.empty() || points.empty()) return;
  std::printf("receiver    %s\n", s.rxModelPath.c_str());
  if (axes.rxName.empty()) {
    std::printf("rx params   %s\n", points.front().rxParameters.c_str());
  } else {
    std::string values;
    for (const std::string& v : axes.rxValues) values += (values.empty() ? "" : ", ") + v;
    std::printf("rx sweep    %s over %s (innermost), the other parameters as given\n", axes.rxName.c_str(),
                values.c_str());
  }
  PrintReceiverNoise(s, axes, points, models);
}

void PrintBestPair(const SweepAxes& axes, const std::vector<SweepPoint>& points, double ber, double bitTime) {
  std::vector<const SweepPoint*> all;
  for (const SweepPoint& p : points) all.push_back(&p);
  const SweepPoint* best = BestOf(all, ber);
  const std::string target = StatisticalEye::BerText(ber);
  if (!best) {
    std::printf("\nbest pair at BER %s: none, every eye is closed\n", target.c_str());
    return;
  }
  const BerTargetFigures& f = *best->result.ber.At(ber);
  std::printf("\nbest pair at BER %s: emphasis %s, Vreg %s, corner %s%s: width %s ps (%s UI), height %s mV\n",
              target.c_str(), best->emphasis.c_str(), best->vreg.c_str(), best->corner.c_str(),
              axes.rxName.empty() ? "" : (" with " + axes.rxName + " " + best->rxValue).c_str(),
              RunReport::Fixed("%.1f", f.widthUi * bitTime * 1e12).c_str(), RunReport::Fixed("%.3f", f.widthUi).c_str(),
              RunReport::Fixed("%.1f", f.heightV * 1e3).c_str());
}
