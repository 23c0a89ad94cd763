#include "tools/commands/SweepIsolation.h"

#include "tools/commands/ProgressBar.h"
#include "tools/commands/SweepRecordReader.h"
#include "tools/commands/SweepRecords.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

// What a child hands back: the run's host seconds, a line end, its record.
std::string RunInChild(const LinkModels& models, const SimSettings& s, double ber, SweepPoint& p) {
  p.drawn = false;  // the density is gathered afterwards, in the parent
  RunPoint(models, s, ber, p);
  return std::to_string(p.result.hostSeconds) + "\n" +
         SweepRecords::PointRecord("", p.index, "", p, ber, "")
             .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

SimResult FromChild(const IsolatedOutcome& outcome, const IsolationLimits& limits, double ber) {
  const size_t end = outcome.bytes.find('\n');
  const RecordLine record = end == std::string::npos ? RecordLine() : ReadRecordLine(outcome.bytes.substr(end + 1));
  if (!outcome.Returned() || record.kind != RecordLine::Kind::kPoint) return FailedInChild(outcome, limits);
  SimResult r = record.figures.Result(ber);
  r.hostSeconds = std::atof(outcome.bytes.c_str());
  return r;
}

struct Running {
  std::unique_ptr<IsolatedChild> child;
  size_t point = 0;
};

}  // namespace

SimResult FailedInChild(const IsolatedOutcome& outcome, const IsolationLimits& limits) {
  SimResult r;
  // The entry point it ended in says how far the run came.
  r.initOk = outcome.entry != "AMI_Init" && !outcome.entry.empty();
  r.getWaveOk = r.initOk && outcome.entry != "AMI_GetWave";
  r.closeOk = false;
  r.streamOk = !outcome.entry.empty();
  r.error = outcome.Returned() ? "the run's child process handed back no figures" : outcome.Describe(limits);
  return r;
}

double RunIsolatedPoints(const LinkModels& models, const SimSettings& s, double ber, std::vector<SweepPoint>& points,
                         unsigned jobs, const IsolationLimits& limits,
                         const std::function<void(const SweepPoint&)>& done) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<Running> running;
  size_t next = 0, finished = 0;
  ProgressBar bar("sweeping");
  while (finished < points.size()) {
    while (running.size() < std::max(1u, jobs) && next < points.size()) {
      Running r{std::make_unique<IsolatedChild>(), next};
      SweepPoint& p = points[next++];
      if (!r.child->Start([&] { return RunInChild(models, s, ber, p); }, limits)) {
        p.result = FailedInChild(r.child->Outcome(), limits);
        if (done) done(p);
        ++finished;
        continue;
      }
      running.push_back(std::move(r));
    }
    // The pipes wake us when a child writes or ends; a child whose pipe has
    // closed is ending, and is looked at again shortly; the limits every 50 ms.
    std::vector<pollfd> watch;
    bool ending = false;
    for (const Running& r : running) {
      if (r.child->Fd() >= 0)
        watch.push_back(pollfd{r.child->Fd(), POLLIN, 0});
      else
        ending = true;
    }
    if (ending && watch.empty())
      usleep(500);
    else
      poll(watch.data(), watch.size(), ending ? 1 : 50);
    for (size_t i = 0; i < running.size();) {
      if (!running[i].child->Step()) {
        ++i;
        continue;
      }
      SweepPoint& p = points[running[i].point];
      p.result = FromChild(running[i].child->Outcome(), limits, ber);
      if (p.drawn && p.result.Ok()) RunPoint(models, s, ber, p);
      if (done) done(p);
      ++finished;
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    }
    bar.Update(static_cast<double>(finished) / static_cast<double>(points.size()));
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
