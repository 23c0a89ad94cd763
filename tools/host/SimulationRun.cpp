#include "tools/host/SimulationRun.h"

#include "tools/host/BlockPipe.h"
#include "tools/host/ModelPaths.h"
#include "tools/linkbench/channel/ConvolutionChannel.h"
#include "tools/linkbench/channel/RcChannel.h"
#include "tools/linkbench/eye/BerMap.h"
#include "tools/linkbench/stream/PrbsStimulus.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <thread>

namespace {

// Impulse response handed to AMI_Init: this many UI of the simulation grid.
constexpr long kImpulseBits = 64;
// The eye measurement: bits left out while the filters settle, and how far
// (in bits) the latency search looks.
constexpr int kSettleBits = 32;
constexpr int kLatencySearchBits = 16;
// How many UI before a channel's delay the search starts.
constexpr int kLatencyMarginBits = 4;
// What lies between a run's two threads: at most this many samples, in at
// most kPipeBlocks blocks; a run whose blocks are larger keeps one thread.
// The channel gives its samples a hop at a time (its FFTs run once per hop,
// some 200,000 samples on a long line), so the ring holds about a hop: the
// gathering then works through one hop while the channel computes the next,
// where a ring of a few blocks left each thread waiting for the other.
constexpr long kPipeSamples = 1L << 18;
constexpr long kPipeBlocks = 256;

// The blocks between the run's two threads: none when it has one.
long PipeDepth(const SimSettings& s, long blockSamples) {
  if (s.threads < 2) return 0;
  const long depth = std::min(kPipeBlocks, kPipeSamples / blockSamples);
  return depth >= 2 ? depth : 0;
}

// A sample a model hands back beyond this magnitude (volts, or volts per
// second for an impulse response) is no signal: it would turn every figure
// of the eye into an overflow.
constexpr double kMaxSampleMagnitude = 1e12;

using Clock = std::chrono::steady_clock;

// The model in a report: which side of the link, and its library.
std::string ModelName(const LinkModels& models, bool rx) {
  const AmiModelLoader& model = rx ? *models.rx : *models.tx;
  return std::string(rx ? "the receiver model " : models.rx ? "the transmitter model " : "the model ") + model.Path();
}

// Whether every one of the 64 samples from `s` is a number within
// kMaxSampleMagnitude: two at a time, with no branch per sample (the
// compiler's generic vectors; a comparison with NaN is false).
bool RunOfSoundSamples(const double* s) {
  typedef double Pair __attribute__((vector_size(16)));
  typedef long long PairMask __attribute__((vector_size(16)));
  const Pair zero = {}, limit = zero + kMaxSampleMagnitude;
  PairMask sound = {-1, -1};
  for (int j = 0; j < 64; j += 2) {
    Pair v;
    std::memcpy(&v, s + j, sizeof v);
    sound &= (v < zero ? -v : v) <= limit;
  }
  return (sound[0] & sound[1]) != 0;
}

// Empty when every one of `count` samples is a finite number within
// kMaxSampleMagnitude, else which is the first that is not; `first` numbers
// the samples within the run.
std::string FirstAbsurdSample(const double* samples, long count, long first, const std::string& source) {
  // The first run of 64 with a bad sample is read one by one.
  long i = 0;
  while (i + 64 <= count && RunOfSoundSamples(samples + i)) i += 64;
  for (; i < count; ++i) {
    if (std::fabs(samples[i]) <= kMaxSampleMagnitude) continue;
    char value[48];
    std::snprintf(value, sizeof value, "%.17g", samples[i]);
    return source + " sample " + std::to_string(first + i) + " = " + value +
           (std::isfinite(samples[i]) ? ", beyond the 1e12 any signal stays within" : ", not a finite number");
  }
  return {};
}

// The impulse responses the models' AMI_Init returned, where the flow uses
// them: empty when they are numbers, else the first that is not.
std::string CheckReturnedImpulses(const LinkModels& models, const LinkFlow& flow, const LinkInstances& link) {
  std::string problem;
  if (flow.txReturnsImpulse)
    problem = FirstAbsurdSample(link.tx.impulse.data(), static_cast<long>(link.tx.impulse.size()), 0,
                                ModelName(models, false) + ": AMI_Init returned impulse response");
  if (problem.empty() && flow.hasRx && flow.rxReturnsImpulse)
    problem = FirstAbsurdSample(link.rx.impulse.data(), static_cast<long>(link.rx.impulse.size()), 0,
                                ModelName(models, true) + ": AMI_Init returned impulse response");
  return problem;
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The channel's impulse response per sample, as AMI_Init gets it: the
// channel file's, else the RC channel's (or a unit impulse, no channel)
// over kImpulseBits UI.
std::vector<double> ChannelTaps(const SimSettings& s) {
  if (s.channel) return s.channel->Response().Impulse();
  std::vector<double> taps(static_cast<size_t>(kImpulseBits * s.samplesPerBit), 0.0);
  taps[0] = 1.0;
  if (s.channelLossDb > 0) RcChannel(s.channelLossDb, s.samplesPerBit).Apply(taps);
  return taps;
}

// The stage between the GetWave stages: the channel file's response, the RC
// channel or none; or, where the flow says, an Init's returned response.
std::unique_ptr<ChannelStage> MakeChannel(const SimSettings& s, const LinkFlow& flow, const LinkInstances& link) {
  const long delay = s.channel ? s.channel->DelaySamples() : 0;
  if (flow.between != LinkFlow::Between::kChannel) return std::make_unique<ConvolutionChannel>(link.between, delay);
  if (s.channel)
    return std::make_unique<ConvolutionChannel>(s.channel->Response().Impulse(), s.channel->DelaySamples());
  return std::make_unique<RcChannel>(s.channelLossDb, s.samplesPerBit);
}

// The eye's geometry: the latency search starts a few UI before the
// channel's own delay and looks 16 UI beyond it; the models' Ignore_Bits
// are left out with the settling bits.
EyeGeometry Geometry(const SimSettings& s, const ChannelStage& channel, long ignoreBits) {
  const long spb = s.samplesPerBit;
  const long settle = std::min<long>(std::max<long>(kSettleBits, ignoreBits), s.bitCount);
  return EyeGeometry{s.samplesPerBit,
                     s.SampleCount(),
                     s.bitCount,
                     static_cast<int>(settle),
                     kLatencySearchBits * spb + channel.DelaySamples(),
                     std::max(0L, channel.DelaySamples() - kLatencyMarginBits * spb)};
}

// The stream of one run after AMI_Init: stimulus -> Tx GetWave -> channel
// (or an Init's response) -> Rx GetWave -> sinks, block by block, the steps
// the flow has. Returns false with `r.error` set when a stage fails.
class Stream {
 public:
  Stream(const LinkModels& models, const LinkFlow& flow, LinkInstances& link, const SimSettings& s,
         const SimOutputs& outputs)
      : models_(models),
        flow_(flow),
        link_(link),
        settings_(s),
        channel_(MakeChannel(s, flow, link)),
        held_(channel_->LatencySamples()),
        eye_(Geometry(s, *channel_, flow.ignoreBits), s.bitTime),
        blockSamples_(std::max(1L, std::min(s.block, s.SampleCount()))),
        depth_(PipeDepth(s, blockSamples_)),
        // The bits the sinks read, and those of the blocks waiting for them.
        history_(eye_.BitsKept(blockSamples_ + held_) + (depth_ + 1) * (blockSamples_ / s.samplesPerBit + 1)),
        stimulus_(s.prbs, s.samplesPerBit, history_, s.prbsSeed),
        block_(static_cast<size_t>(blockSamples_)) {
    if (flow.rxGetWave) {
      // Clock times wait for the aligner as the bits do, a few more for a
      // clock that ticks faster than the bits.
      const long capacity = 2 * history_.Capacity() + 64;
      clocked_ = std::make_unique<ClockedEye>(s.samplesPerBit, s.bitTime, flow.ignoreBits, capacity, &eye_);
      link_.rx.clockTimes.assign(static_cast<size_t>(blockSamples_) + 1, -1.0);
      times_.reserve(static_cast<size_t>(blockSamples_) + 1);
      eye_.AddWindowSink(clocked_.get());
    }
    // With a thread of its own the gathering leaves one of the run's threads
    // to the models and the channel.
    const int gathering = depth_ > 0 ? s.threads - 1 : s.threads;
    if (s.WantsBer()) eye_.GatherHistograms(gathering);
    if (s.WantsBer() && clocked_) clocked_->GatherHistograms(gathering);
    sinks_.push_back(&eye_);
    sinks_.insert(sinks_.end(), outputs.sinks.begin(), outputs.sinks.end());
    for (BitWindowSink* sink : outputs.eyeSinks) {
      if (clocked_)
        clocked_->AddSink(sink);
      else
        eye_.AddWindowSink(sink);
    }
    pipe_ = std::make_unique<BlockPipe>(depth_ > 0, static_cast<int>(depth_), blockSamples_,
                                        flow.rxGetWave ? blockSamples_ + 1 : 0,
                                        [this](const PipeBlock& b) { return Consume(b); });
  }

  void Run(SimResult& r, const std::function<void(double)>& progress) {
    const auto start = Clock::now();
    const long total = settings_.SampleCount();
    r.getWaveOk = r.streamOk = true;
    for (long first = 0; first < total && r.getWaveOk && r.streamOk; first += blockSamples_) {
      const long count = std::min(blockSamples_, total - first);
      stimulus_.Fill(block_.data(), count);
      if (flow_.txGetWave) {
        const auto t0 = Clock::now();
        r.getWaveOk = models_.tx->GetWave(link_.tx, block_.data(), count);
        r.getWaveSeconds += SecondsSince(t0);
        if (!r.getWaveOk) {
          r.error = std::string(flow_.hasRx ? "the transmitter's " : "") +
                    "AMI_GetWave reported failure on the block at sample " + std::to_string(first);
          break;
        }
        r.error = FirstAbsurdSample(block_.data(), count, first, ModelName(models_, false) + ": AMI_GetWave returned");
        if (!(r.getWaveOk = r.error.empty())) break;
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
    r.sinksOwnThread = pipe_->Threaded();
    if (!pipe_->Finish() && r.streamOk) r.streamOk = false;
    if (!sinkError_.empty() && r.error.empty()) r.error = sinkError_;
    r.sinkSeconds = sinkSeconds_;
    r.hostSeconds = SecondsSince(start) - r.getWaveSeconds;
    if (flow_.hasRx) r.rxParametersOut = AmiModelLoader::KeptText(link_.rx.parametersOut);
    if (r.getWaveOk && r.streamOk) Finish(r);
  }

 private:
  // Input samples [first, first + count) through the channel; its output for
  // samples [first - held, first + count - held) through the receiver's
  // GetWave (when the flow has it) to the sinks.
  bool Pass(long first, long count, SimResult& r) {
    const auto t0 = Clock::now();
    channel_->Process(block_.data(), count);
    const auto t1 = Clock::now();
    r.channelSeconds += std::chrono::duration<double>(t1 - t0).count();
    const long skip = std::max(0L, std::min(count, held_ - first));
    const long total = settings_.SampleCount();
    const long deliver = std::min(count - skip, total - (first + skip - held_));
    times_.clear();
    if (deliver > 0 && flow_.rxGetWave && !ReceiverGetWave(block_.data() + skip, deliver, first + skip - held_, r))
      return true;  // r.getWaveOk says why the run stops
    if (deliver <= 0) return true;
    return pipe_->Push(PipeBlock{first + skip - held_, deliver, block_.data() + skip, times_.data(),
                                 static_cast<long>(times_.size()), clockEarliest_, clockLatest_});
  }

  // The receiver's AMI_GetWave on `count` samples from sample `at`, its
  // clock times (up to the first negative entry) to the clocked eye.
  bool ReceiverGetWave(double* samples, long count, long at, SimResult& r) {
    std::vector<double>& times = link_.rx.clockTimes;
    times[0] = -1.0;
    const auto t0 = Clock::now();
    r.getWaveOk = models_.rx->GetWave(link_.rx, samples, count);
    const double seconds = SecondsSince(t0);
    r.getWaveSeconds += seconds;
    r.rxGetWaveSeconds += seconds;
    if (!r.getWaveOk) {
      r.error = "the receiver's AMI_GetWave reported failure on the block at sample " + std::to_string(at);
      return false;
    }
    r.error = FirstAbsurdSample(samples, count, at, ModelName(models_, true) + ": AMI_GetWave returned");
    if (!(r.getWaveOk = r.error.empty())) return false;
    // A clock time belongs to this block, or to the one before when the
    // model held it back for want of room; a UI of slack either way.
    const double dt = settings_.SampleInterval();
    const double earliest = std::max(0.0, static_cast<double>(at - blockSamples_) * dt - settings_.bitTime);
    const double latest = static_cast<double>(at + count) * dt + settings_.bitTime;
    const long entries = std::min(count + 1, static_cast<long>(times.size()));
    clockEarliest_ = earliest;
    clockLatest_ = latest;
    for (long i = 0; i < entries && !(times[static_cast<size_t>(i)] < 0); ++i)
      times_.push_back(times[static_cast<size_t>(i)]);
    return true;
  }

  // The sinks' half of the run (on the pipe's thread when it has one): the
  // block's clock times to the clocked eye, its samples to the sinks.
  bool Consume(const PipeBlock& b) {
    const auto t0 = Clock::now();
    for (long i = 0; i < b.timeCount; ++i) clocked_->AddClockTime(b.times[i], b.earliest, b.latest);
    const WaveBlock block{b.start, b.count, b.samples, &history_};
    bool ok = true;
    for (WaveSink* sink : sinks_) {
      ok = sink->Consume(block, sinkError_);
      if (!ok) break;
    }
    sinkSeconds_ += SecondsSince(t0);
    return ok;
  }

  // An eye the models' Ignore_Bits left too few bits for says so, with the
  // --bits that would do (the ignored bits, the latency search, the
  // channel's delay and a hundred or so measured bits, in hundreds).
  void ExplainIgnoredBits(EyeMeasurement& eye) const {
    if (eye.valid || flow_.ignoreBits <= kSettleBits || eye.problem.rfind("too few bits", 0) != 0) return;
    const long delayBits = channel_->DelaySamples() / settings_.samplesPerBit;
    const long needed = (flow_.ignoreBits + kLatencySearchBits + delayBits + 100 + 99) / 100 * 100;
    eye.problem += "; Ignore_Bits " + std::to_string(flow_.ignoreBits) +
                   " of the models' .ami files leaves out that many of the run's " +
                   std::to_string(settings_.bitCount) + " bits: give --bits " + std::to_string(needed) + " or more";
  }

  void Finish(SimResult& r) {
    r.eye = eye_.Result();
    const SampleHistograms* histograms = eye_.Histograms();
    if (clocked_) {
      r.clock = clocked_->Clock();
      if (clocked_->Clocked()) {
        r.eye = clocked_->Result(r.eye);
        histograms = clocked_->Histograms();
      }
    }
    ExplainIgnoredBits(r.eye);
    if (!histograms) return;
    const auto t0 = Clock::now();
    if (!r.eye.valid) {
      r.ber.problem = r.eye.problem;
    } else {
      const BerMap map(*histograms, r.noise.decisionMv * 1e-3, settings_.rjPs * 1e-12 / settings_.bitTime);
      r.ber = StatisticalEye::Analyse(map, settings_.berTargets, settings_.berContours);
    }
    r.berSeconds = SecondsSince(t0);
  }

  const LinkModels& models_;
  const LinkFlow& flow_;
  LinkInstances& link_;
  const SimSettings& settings_;
  std::unique_ptr<ChannelStage> channel_;
  long held_;
  EyeMeasure eye_;
  std::unique_ptr<ClockedEye> clocked_;
  long blockSamples_;
  long depth_;
  BitHistory history_;
  PrbsStimulus stimulus_;
  std::vector<double> block_;
  std::vector<WaveSink*> sinks_;
  std::vector<double> times_;                   // the receiver's clock times of the block in hand
  double clockEarliest_ = 0, clockLatest_ = 0;  // the span its clock times may fall in
  std::string sinkError_;
  double sinkSeconds_ = 0.0;
  std::unique_ptr<BlockPipe> pipe_;  // last: its thread ends before the sinks go
};

}  // namespace

int SimulationRun::ThreadsPerRun(unsigned jobs) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<int>(std::clamp(cores / std::max(1u, jobs), 1u, static_cast<unsigned>(kMaxThreads)));
}

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
  LinkModels models;
  models.tx = &model;
  return Run(models, s, parameters, std::string(), outputs, progress);
}

bool SimulationRun::ReferNoise(const LinkModels& models, const SimSettings& s, const std::string& rxParameters,
                               NoiseReferral& noise, std::string& error) {
  noise = NoiseReferral();
  noise.inputMv = noise.decisionMv = s.noiseMv;
  if (!models.rx) return true;
  noise.path = ReceiverNoise::PathFor(true, s.noiseAt, models.rxReserved.initReturnsImpulse);
  if (noise.path != NoiseReferral::Path::kThroughResponse || s.noiseMv <= 0) return true;
  // The receiver's response to a unit impulse as long as the channel's.
  std::vector<double> taps;
  const long length =
      s.channel ? static_cast<long>(s.channel->Response().Impulse().size()) : kImpulseBits * s.samplesPerBit;
  if (!ReceiverNoise::OwnResponse(*models.rx, length, s.SampleInterval(), s.bitTime, rxParameters, taps, error))
    return false;
  noise.decisionMv = s.noiseMv * std::sqrt(ReceiverNoise::BandPowerGain(taps, s.samplesPerBit));
  if (std::isfinite(noise.decisionMv)) return true;
  error = "the receiver's response gives the noise no finite RMS at its decision point";
  return false;
}

SimResult SimulationRun::Run(const LinkModels& models, const SimSettings& s, const std::string& txParameters,
                             const std::string& rxParameters, const SimOutputs& outputs,
                             const std::function<void(double)>& progress) {
  SimResult r;
  LinkFlow flow;
  if (!LinkFlow::Plan(models, flow, r.error)) return r;
  r.flow = flow.Describe();
  LinkInstances link;
  std::string error;
  r.initOk =
      InitLink(models, flow, ChannelTaps(s), s.SampleInterval(), s.bitTime, txParameters, rxParameters, link, error);
  r.message = link.txMessage;
  r.rxMessage = link.rxMessage;
  if (r.initOk && !(error = CheckReturnedImpulses(models, flow, link)).empty()) r.initOk = false;
  if (r.initOk && !ReferNoise(models, s, rxParameters, r.noise, error)) r.initOk = false;
  if (!r.initOk) {
    r.error = error;
    std::string closing;
    if (!CloseLink(models, link, closing)) r.error += "; " + closing;
    return r;
  }
  try {
    Stream(models, flow, link, s, outputs).Run(r, progress);
  } catch (const std::bad_alloc&) {
    // The instances are still closed below; the caller reports the run failed.
    r.streamOk = false;
    r.error = "out of memory";
  }
  r.closeOk = CloseLink(models, link, error);
  if (!r.closeOk && r.error.empty()) r.error = error;
  return r;
}
