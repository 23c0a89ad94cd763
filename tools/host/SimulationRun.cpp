#include "tools/host/SimulationRun.h"

#include "tools/host/ModelPaths.h"
#include "tools/linkbench/channel/ConvolutionChannel.h"
#include "tools/linkbench/channel/RcChannel.h"
#include "tools/linkbench/eye/BerMap.h"
#include "tools/linkbench/stream/PrbsStimulus.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>

namespace {

// Impulse response handed to AMI_Init: this many UI of the simulation grid.
constexpr long kImpulseBits = 64;
// The eye measurement: bits left out while the filters settle, and how far
// (in bits) the latency search looks.
constexpr int kSettleBits = 32;
constexpr int kLatencySearchBits = 16;
// How many UI before a channel's delay the search starts.
constexpr int kLatencyMarginBits = 4;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The channel stage of a run: the channel file's response, the RC channel,
// or none.
std::unique_ptr<ChannelStage> MakeChannel(const SimSettings& s) {
  if (s.channel)
    return std::make_unique<ConvolutionChannel>(s.channel->Response().Impulse(), s.channel->DelaySamples());
  return std::make_unique<RcChannel>(s.channelLossDb, s.samplesPerBit);
}

// The eye's geometry: the latency search starts a few UI before the
// channel's own delay and looks 16 UI beyond it.
EyeGeometry Geometry(const SimSettings& s, const ChannelStage& channel) {
  const long spb = s.samplesPerBit;
  return EyeGeometry{s.samplesPerBit,
                     s.SampleCount(),
                     s.bitCount,
                     kSettleBits,
                     kLatencySearchBits * spb + channel.DelaySamples(),
                     std::max(0L, channel.DelaySamples() - kLatencyMarginBits * spb)};
}

// The stream of one run after AMI_Init: stimulus -> model -> channel ->
// sinks, block by block. Returns false with `r.error` set when a stage fails.
class Stream {
 public:
  Stream(const AmiModelLoader& model, AmiInstance& instance, const SimSettings& s, const SimOutputs& outputs)
      : model_(model),
        instance_(instance),
        settings_(s),
        channel_(MakeChannel(s)),
        held_(channel_->LatencySamples()),
        eye_(Geometry(s, *channel_), s.bitTime),
        blockSamples_(std::max(1L, std::min(s.block, s.SampleCount()))),
        history_(eye_.BitsKept(blockSamples_ + held_)),
        stimulus_(s.prbs, s.samplesPerBit, history_, s.prbsSeed),
        block_(static_cast<size_t>(blockSamples_)) {
    if (s.WantsBer()) eye_.GatherHistograms();
    sinks_.push_back(&eye_);
    sinks_.insert(sinks_.end(), outputs.sinks.begin(), outputs.sinks.end());
    for (BitWindowSink* sink : outputs.eyeSinks) eye_.AddWindowSink(sink);
  }

  void Run(SimResult& r, const std::function<void(double)>& progress) {
    const auto start = Clock::now();
    const long total = settings_.SampleCount();
    r.getWaveOk = r.streamOk = true;
    for (long first = 0; first < total && r.getWaveOk && r.streamOk; first += blockSamples_) {
      const long count = std::min(blockSamples_, total - first);
      stimulus_.Fill(block_.data(), count);
      const auto t0 = Clock::now();
      r.getWaveOk = model_.GetWave(instance_, block_.data(), count);
      r.getWaveSeconds += SecondsSince(t0);
      if (!r.getWaveOk) {
        r.error = "AMI_GetWave reported failure on the block at sample " + std::to_string(first);
        break;
      }
      r.streamOk = Pass(first, count, r);
      if (progress) progress(static_cast<double>(first + count) / static_cast<double>(total));
    }
    // The samples the channel still holds: zeros after the run push them out.
    for (long first = total; first < total + held_ && r.getWaveOk && r.streamOk; first += blockSamples_) {
      const long count = std::min(blockSamples_, total + held_ - first);
      std::fill(block_.begin(), block_.begin() + count, 0.0);
      r.streamOk = Pass(first, count, r);
    }
    r.hostSeconds = SecondsSince(start) - r.getWaveSeconds;
    if (r.getWaveOk && r.streamOk) Finish(r);
  }

 private:
  // Input samples [first, first + count) through the channel; its output for
  // samples [first - held, first + count - held) to the sinks.
  bool Pass(long first, long count, SimResult& r) {
    const auto t0 = Clock::now();
    channel_->Process(block_.data(), count);
    const auto t1 = Clock::now();
    r.channelSeconds += std::chrono::duration<double>(t1 - t0).count();
    const long skip = std::max(0L, std::min(count, held_ - first));
    const long total = settings_.SampleCount();
    const long deliver = std::min(count - skip, total - (first + skip - held_));
    bool ok = true;
    if (deliver > 0) ok = Deliver(WaveBlock{first + skip - held_, deliver, block_.data() + skip, &history_}, r.error);
    r.sinkSeconds += SecondsSince(t1);
    return ok;
  }

  bool Deliver(const WaveBlock& block, std::string& error) {
    for (WaveSink* sink : sinks_)
      if (!sink->Consume(block, error)) return false;
    return true;
  }

  void Finish(SimResult& r) {
    r.eye = eye_.Result();
    const SampleHistograms* histograms = eye_.Histograms();
    if (!histograms) return;
    const auto t0 = Clock::now();
    if (!r.eye.valid) {
      r.ber.problem = r.eye.problem;
    } else {
      const BerMap map(*histograms, settings_.noiseMv * 1e-3, settings_.rjPs * 1e-12 / settings_.bitTime);
      r.ber = StatisticalEye::Analyse(map, settings_.berTargets, settings_.berContours);
    }
    r.berSeconds = SecondsSince(t0);
  }

  const AmiModelLoader& model_;
  AmiInstance& instance_;
  const SimSettings& settings_;
  std::unique_ptr<ChannelStage> channel_;
  long held_;
  EyeMeasure eye_;
  long blockSamples_;
  BitHistory history_;
  PrbsStimulus stimulus_;
  std::vector<double> block_;
  std::vector<WaveSink*> sinks_;
};

}  // namespace

std::string SimulationRun::ResolvePaths(SimSettings& s) {
  if (s.modelPath.empty()) s.modelPath = DefaultModelPath();
  if (s.amiPath.empty()) s.amiPath = DefaultAmiPath();
  if (s.modelPath.empty()) return "no model library known to these tools: give --model PATH";
  if (s.amiPath.empty()) return "no .ami parameter file known to these tools: give --ami PATH";
  return {};
}

std::string SimulationRun::Check(const SimSettings& s) {
  if (s.bitCount > kMaxSamples / s.samplesPerBit)
    return "--bits x --samples-per-bit is more than " + std::to_string(kMaxSamples) + " samples";
  if (s.rjPs * 1e-12 > s.bitTime / 4) return "--rj is more than a quarter of the unit interval";
  return {};
}

std::string SimulationRun::LoadChannel(SimSettings& s) {
  if (s.channelPath.empty()) return {};
  std::string error;
  auto channel = std::make_shared<ChannelFile>();
  if (!channel->Load(s.channelPath, s.ports, s.bitTime, s.samplesPerBit, error)) return error;
  s.channel = std::move(channel);
  return {};
}

SimResult SimulationRun::Run(const AmiModelLoader& model, const SimSettings& s, const std::string& parameters,
                             const SimOutputs& outputs, const std::function<void(double)>& progress) {
  SimResult r;
  AmiInstance instance;
  r.initOk = model.Init(instance, s.SampleInterval(), s.bitTime, parameters, kImpulseBits * s.samplesPerBit, r.message);
  if (!r.initOk) {
    r.error = "AMI_Init reported failure";
    if (!model.Close(instance)) r.error += "; AMI_Close reported failure";
    return r;
  }
  try {
    Stream(model, instance, s, outputs).Run(r, progress);
  } catch (const std::bad_alloc&) {
    // The instance is still closed below; the caller reports the run failed.
    r.streamOk = false;
    r.error = "out of memory";
  }
  r.closeOk = model.Close(instance);
  if (!r.closeOk && r.error.empty()) r.error = "AMI_Close reported failure";
  return r;
}
