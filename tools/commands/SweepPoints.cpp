#include "tools/commands/SweepPoints.h"

#include "tools/commands/ProgressBar.h"
#include "tools/host/MemoryBudget.h"
#include "tools/plots/EyeGrid.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>
#include <thread>

// One run; a panel of the grid also gathers its eye density. Out of memory
// fails this run alone.
// The BER figures of a run are those at `ber`, and at every target with
// their contours where the run is drawn.
void RunPoint(const LinkModels& models, const SimSettings& shared, double ber, SweepPoint& p) {
  try {
    SimSettings s = p.settings ? *p.settings : shared;
    s.prbsSeed = p.seed;
    s.berContours = p.drawn && s.WantsBer();
    if (!p.drawn) s.berTargets = {ber};
    SimOutputs outputs;
    if (p.drawn) {
      const EyePlot::Layout at = EyeGrid::PanelLayout();
      p.density = std::make_unique<EyeDensity>(s.samplesPerBit, at.columns, at.rows);
      outputs.eyeSinks.push_back(p.density.get());
    }
    p.result = SimulationRun::Run(models, s, p.parameters, p.rxParameters, outputs);
  } catch (const std::bad_alloc&) {
    p.density.reset();
    p.result = SimResult();
    p.result.error = "out of memory";
  }
}

std::vector<std::string> SweepValues(const AmiFileParams& ami, const std::string& name, int fallbackLast) {
  std::vector<std::string> values;
  const AmiParameterDefinition* def = ami.Find(name);
  if (def && def->format == "List") values = def->formatValues;
  if (def && def->format == "Range" && def->formatValues.size() >= 3 && def->type == "Integer") {
    const long low = std::lround(std::atof(def->formatValues[1].c_str()));
    const long high = std::lround(std::atof(def->formatValues[2].c_str()));
    for (long v = low; v <= high && values.size() < 100; ++v) values.push_back(std::to_string(v));
  }
  if (values.empty())
    for (int v = 0; v <= fallbackLast; ++v) values.push_back(std::to_string(v));
  return values;
}

// Every combination, emphasis outermost, with its parameter string.
bool BuildPoints(const AmiFileParams& ami, const SweepAxes& axes, const std::string& gridEmphasis, bool grid,
                 std::vector<SweepPoint>& points, std::string& error) {
  for (const auto& e : axes.emphases) {
    for (const auto& v : axes.vregs) {
      for (const auto& c : axes.corners) {
        SweepPoint p;
        p.emphasis = e;
        p.vreg = v;
        p.corner = c;
        p.drawn = grid && e == gridEmphasis;
        if (!ami.BuildParameterString({"emphasis=" + e, "Vreg=" + v, "corner=" + c}, p.parameters, error)) return false;
        points.push_back(std::move(p));
      }
    }
  }
  return true;
}

// Runs every point on `jobs` threads (fewer when the system gives fewer);
// returns the wall time in seconds.
double RunPoints(const LinkModels& models, const SimSettings& s, double ber, std::vector<SweepPoint>& points,
                 unsigned jobs, const std::function<void(const SweepPoint&)>& done) {
  std::atomic<size_t> next{0};
  std::atomic<size_t> finished{0};
  auto work = [&] {
    for (size_t i = next++; i < points.size(); i = next++) {
      RunPoint(models, s, ber, points[i]);
      if (done) done(points[i]);
      ++finished;
    }
  };
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < jobs; ++t) {
    try {
      workers.emplace_back(work);
    } catch (const std::exception&) {
      break;  // no more threads to be had: the ones running share the work
    }
  }
  if (workers.empty()) work();
  {
    ProgressBar bar("sweeping");
    while (finished < points.size()) {
      bar.Update(static_cast<double>(finished) / static_cast<double>(points.size()));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  for (std::thread& w : workers) w.join();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<double> SweepBerTargets(double ber) {
  std::vector<double> targets = {1e-6, 1e-9, 1e-12};
  if (std::find(targets.begin(), targets.end(), ber) == targets.end()) targets.push_back(ber);
  std::sort(targets.begin(), targets.end(), std::greater<double>());
  return targets;
}

bool Measured(const SweepPoint& p) { return p.result.Ok() && p.result.eye.valid; }

// The grid at the best emphasis per Vreg and corner: those runs again, now
// gathering their eye densities and contours.
std::vector<SweepPoint> RunBest(const LinkModels& models, const SimSettings& s, double ber,
                                const std::vector<const SweepPoint*>& best, unsigned jobs) {
  std::vector<SweepPoint> again;
  for (const SweepPoint* p : best) {
    if (!p) continue;
    SweepPoint q;
    q.emphasis = p->emphasis;
    q.vreg = p->vreg;
    q.corner = p->corner;
    q.parameters = p->parameters;
    q.rxValue = p->rxValue;
    q.rxParameters = p->rxParameters;
    q.settings = p->settings;
    q.seed = p->seed;
    q.drawn = true;
    again.push_back(std::move(q));
  }
  RunPoints(models, s, ber, again, std::min<unsigned>(jobs, static_cast<unsigned>(std::max<size_t>(1, again.size()))));
  return again;
}

// The threads a sweep runs on: --jobs (default one per core, no more than
// the runs), or fewer when that many runs at once would not fit in the
// memory the system has; `note` then says so.
unsigned SizeJobs(const SweepOptions& o, size_t runs, std::string& note) {
  const SimSettings& s = o.line.settings;
  const unsigned wanted = std::max(
      1u, std::min<unsigned>(o.jobs ? o.jobs : std::thread::hardware_concurrency(), static_cast<unsigned>(runs)));
  const size_t convolution = s.channel ? s.channel->Response().ConvolutionBytes() : 0;
  const size_t perRun = MemoryBudget::kRunBytes + convolution;
  const size_t available = MemoryBudget::AvailableBytes();
  const unsigned jobs = MemoryBudget::FitThreads(wanted, perRun, available);
  if (jobs < wanted) {
    note = std::to_string(jobs) + " threads, not " + std::to_string(wanted) + ": a run takes about " +
           MemoryBudget::Mebibytes(perRun) + " (the channel's convolution " + MemoryBudget::Mebibytes(convolution) +
           "), " + MemoryBudget::Mebibytes(available) + " are available";
  }
  return jobs;
}
