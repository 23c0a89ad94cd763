#include "tools/commands/SweepPlan.h"

#include "tools/commands/SweepId.h"
#include "tools/commands/SweepReceiver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace {

// The channels from --channel and --channels; the files of those that hold
// points of `shard` loaded (a shard of a long list reads its own alone).
bool ReadChannels(const SweepOptions& o, const SweepShard& shard, size_t perChannel,
                  std::vector<SweepChannel>& channels, std::string& error) {
  for (const std::string& path : o.channelPaths) channels.push_back(SweepChannel{path, path, o.line.ports, {}});
  if (!o.channelList.empty() && !SweepChannels::ReadList(o.channelList, o.line.ports, channels, error)) return false;
  return SweepChannels::Load(o.line.settings, channels, error,
                             [&](size_t c) { return shard.HoldsAnyOf(c * perChannel, (c + 1) * perChannel); });
}

// The shard: --shard, else (writing results) a Slurm array task's; 0/1
// otherwise.
bool SettleShard(const SweepOptions& o, SweepShard& shard, std::string& error) {
  if (!o.shard.empty()) return SweepShard::Parse(o.shard, shard, error);
  if (o.resultsPath.empty()) return true;
  if (!SweepShard::FromSlurm(o.shards, shard, error) && o.shards)
    error = "--shards takes its index from a Slurm array task";
  return error.empty();
}

std::string Absolute(const std::string& path) { return std::filesystem::absolute(path).string(); }

}  // namespace

bool SweepIdOf(const SweepOptions& o, const std::vector<SweepChannel>& channels, std::string& id, std::string& error) {
  const SimSettings& s = o.line.settings;
  SweepId h;
  h.AddNumber("prbs", s.prbs);
  h.AddText("bits", std::to_string(s.bitCount));
  h.AddNumber("bitTime", s.bitTime);
  h.AddNumber("samplesPerBit", s.samplesPerBit);
  h.AddText("block", std::to_string(s.block));
  h.AddNumber("channelLoss", s.channelLossDb);
  h.AddNumber("noise", s.noiseMv);
  h.AddNumber("rj", s.rjPs);
  h.AddNumber("ber", o.ber);
  h.AddNumber("berAsked", s.berAsked);
  h.AddText("seed", o.seedGiven ? std::to_string(o.seed) : "none");
  for (const std::string& p : s.params) h.AddText("param", p);
  if (!h.AddFile("ami", s.amiPath, error) || !h.AddFile("model", s.modelPath, error)) return false;
  // The receiver: its library, .ami file, parameters and swept values.
  if (!s.rxModelPath.empty() &&
      (!h.AddFile("rxModel", s.rxModelPath, error) || !h.AddFile("rxAmi", s.rxAmiPath, error)))
    return false;
  for (const std::string& p : s.rxParams) h.AddText("rxParam", p);
  h.AddText("rxSweep", o.rxSweep);
  for (const SweepChannel& c : channels) {
    h.AddText("channel", c.label);
    h.AddText("ports", c.ports);
    if (!h.AddFile("channelFile", c.path, error)) return false;
  }
  id = h.Text();
  return true;
}

namespace {

// How the runs are made, for merge's picture (SweepHeader::run).
nlohmann::json Run(const SweepOptions& o, const SweepPlan& plan) {
  const SimSettings& s = o.line.settings;
  nlohmann::json channels = nlohmann::json::array();
  for (const SweepChannel& c : plan.channels) channels.push_back({{"path", Absolute(c.path)}, {"ports", c.ports}});
  return {{"model", Absolute(s.modelPath)},
          {"ami", Absolute(s.amiPath)},
          {"prbs", s.prbs},
          {"bits", s.bitCount},
          {"bitTime", s.bitTime},
          {"samplesPerBit", s.samplesPerBit},
          {"block", s.block},
          {"channelLoss", s.channelLossDb},
          {"noise", s.noiseMv},
          {"rj", s.rjPs},
          {"berAsked", s.berAsked},
          {"params", s.params},
          {"seed", o.seedGiven ? nlohmann::json(o.seed) : nlohmann::json(nullptr)},
          {"channels", channels}};
}

void FillHeader(const SweepOptions& o, SweepPlan& plan, size_t total) {
  SweepHeader& h = plan.header;
  h.points = total;
  h.shards = plan.shard.count;
  h.ber = o.ber;
  h.bitTime = o.line.settings.bitTime;
  h.wantsBer = o.line.settings.WantsBer();
  h.axes = plan.axes;
  h.receiver = !o.line.settings.rxModelPath.empty();
  h.channels = plan.Labels();
  // A channel this shard did not load has no lines here: merge takes them
  // from the header of a shard that did.
  for (const SweepChannel& c : plan.channels)
    h.describe.push_back(c.settings.channel ? c.settings.channel->Describe() : std::vector<std::string>());
  if (plan.channels.empty()) h.describe.emplace_back();
  h.run = Run(o, plan);
}

// This process's points: every combination per channel, those of its shard.
bool BuildShardPoints(const SweepOptions& o, const AmiFileParams& ami, const AmiFileParams& rxAmi,
                      const std::string& gridEmphasis, bool grid, SweepPlan& plan, size_t& total, std::string& error) {
  const size_t channels = std::max<size_t>(1, plan.channels.size());
  total = 0;
  for (size_t c = 0; c < channels; ++c) {
    std::vector<SweepPoint> points;
    if (!BuildPoints(ami, plan.axes, gridEmphasis, grid, points, error) ||
        !AddReceiverAxis(rxAmi, o.line.settings, plan.axes, points, error))
      return false;
    for (SweepPoint& p : points) {
      p.index = total++;
      p.channel = c;
      if (!plan.shard.Holds(p.index)) continue;
      p.settings = plan.channels.empty() ? nullptr : &plan.channels[c].settings;
      p.seed = PointSeed(o, plan.channels.empty() ? "" : plan.channels[c].label, p.parameters);
      plan.points.push_back(std::move(p));
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> SweepPlan::Labels() const {
  std::vector<std::string> labels;
  for (const SweepChannel& c : channels) labels.push_back(c.label);
  if (labels.empty()) labels.emplace_back();
  return labels;
}

uint32_t PointSeed(const SweepOptions& o, const std::string& channel, const std::string& parameters) {
  if (!o.seedGiven) return 0xFFFFFFFFu;
  SweepId h;
  h.AddText("seed", std::to_string(o.seed));
  h.AddText("channel", channel);
  h.AddText("parameters", parameters);
  return static_cast<uint32_t>(std::stoull(h.Text().substr(8), nullptr, 16));
}

int PlanSweep(const char* command, SweepOptions& o, const AmiFileParams& ami, const AmiFileParams& rxAmi,
              const std::string& gridEmphasis, bool grid, SweepPlan& plan) {
  std::string error;
  int status = 0;
  if (!SettleShard(o, plan.shard, error)) status = 2;
  if (!status && plan.shard.count > 1 && o.resultsPath.empty()) error = "--shard needs --results FILE", status = 2;
  if (!status && !ReadChannels(o, plan.shard, plan.axes.emphases.size() * plan.axes.PerLevel(), plan.channels, error))
    status = 1;
  if (!status && grid && (plan.channels.size() > 1 || plan.shard.count > 1))
    error = "--grid draws the eyes of one channel in one process: not with several channels or --shard", status = 2;
  if (status) {
    std::fprintf(stderr, "%s: %s\n", command, error.c_str());
    return status;
  }
  // One channel: the sweep's own settings, as a single-channel sweep has
  // always had them; several: each point carries its channel's.
  if (plan.channels.size() == 1) o.line.settings = plan.channels[0].settings;
  if (plan.channels.size() > 1) o.line.settings.berAsked = true;
  size_t total = 0;
  if (!SweepHeader::CountPoints(std::max<size_t>(1, plan.channels.size()), plan.axes, total)) {
    std::fprintf(stderr, "%s: the sweep has more than %zu points\n", command, SweepHeader::kMaxPoints);
    return 2;
  }
  if (!BuildShardPoints(o, ami, rxAmi, gridEmphasis, grid, plan, total, error) ||
      (!o.resultsPath.empty() && !SweepIdOf(o, plan.channels, plan.header.id, error))) {
    std::fprintf(stderr, "%s: %s\n", command, error.c_str());
    return 1;
  }
  FillHeader(o, plan, total);
  return 0;
}

namespace {

// An integer field that fits `T`; a float, a text or a number out of range
// is no value of it (a json get<int> of 1e300 would not be defined).
template <typename T>
T WholeNumber(const nlohmann::json& j) {
  bool fits = false;
  if (j.is_number_unsigned()) {
    fits = j.get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<T>::max());
  } else if (j.is_number_integer()) {
    const int64_t v = j.get<int64_t>();
    fits = v >= 0 ? static_cast<uint64_t>(v) <= static_cast<uint64_t>(std::numeric_limits<T>::max())
                  : std::numeric_limits<T>::is_signed && v >= static_cast<int64_t>(std::numeric_limits<T>::min());
  }
  if (!fits) throw nlohmann::json::type_error::create(302, "not a whole number of the field's range", &j);
  return j.get<T>();
}

}  // namespace

bool OptionsFromRun(const nlohmann::json& run, SweepOptions& o, std::vector<SweepChannel>& channels) {
  SimSettings& s = o.line.settings;
  try {
    s.modelPath = run.at("model").get<std::string>();
    s.amiPath = run.at("ami").get<std::string>();
    s.prbs = WholeNumber<int>(run.at("prbs"));
    s.bitCount = WholeNumber<long>(run.at("bits"));
    s.bitTime = run.at("bitTime").get<double>();
    s.samplesPerBit = WholeNumber<int>(run.at("samplesPerBit"));
    s.block = WholeNumber<long>(run.at("block"));
    s.channelLossDb = run.at("channelLoss").get<double>();
    s.noiseMv = run.at("noise").get<double>();
    s.rjPs = run.at("rj").get<double>();
    s.berAsked = run.at("berAsked").get<bool>();
    s.params = run.at("params").get<std::vector<std::string>>();
    o.seedGiven = !run.at("seed").is_null();
    if (o.seedGiven) o.seed = WholeNumber<uint64_t>(run.at("seed"));
    for (const nlohmann::json& c : run.at("channels")) {
      const std::string path = c.at("path").get<std::string>();
      channels.push_back(SweepChannel{{}, path, c.at("ports").get<std::string>(), {}});
    }
  } catch (const nlohmann::json::exception&) {
    return false;
  }
  return true;
}
