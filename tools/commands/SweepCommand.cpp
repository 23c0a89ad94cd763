#include "tools/commands/SweepCommand.h"

#include "tools/commands/FiniteRange.h"
#include "tools/commands/PathOption.h"
#include "tools/commands/RunReport.h"
#include "tools/commands/SweepGrid.h"
#include "tools/commands/SweepIsolation.h"
#include "tools/commands/SweepPlan.h"
#include "tools/commands/SweepPoints.h"
#include "tools/commands/SweepReceiver.h"
#include "tools/commands/SweepReport.h"
#include "tools/commands/SweepTables.h"
#include "tools/common/AtomicFile.h"

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace {

using RunReport::Fixed;
constexpr const char* kCommand = "tessalune sweep";

// The largest convolution of the channels stands for all in sizing the
// threads.
unsigned SizeSweepJobs(const SweepOptions& o, const SweepPlan& plan, std::string& note) {
  SweepOptions sizing = o;
  for (const SweepChannel& c : plan.channels)
    if (c.settings.channel &&
        (!sizing.line.settings.channel || c.settings.channel->Response().ConvolutionBytes() >
                                              sizing.line.settings.channel->Response().ConvolutionBytes()))
      sizing.line.settings.channel = c.settings.channel;
  return SizeJobs(sizing, plan.points.size(), note);
}

// The tables of every channel and, with several, the summary across them;
// returns how many runs failed or gave no eye.
int PrintReport(const SweepOptions& o, const SweepPlan& plan) {
  SweepReport report(o, plan.header);
  return report.PrintAll(plan.points.size(), [&](size_t i) { return PointFigures::Of(plan.points[i].result, o.ber); });
}

// Runs this process's points, each record to the results file as it comes.
double RunAndRecord(const SweepOptions& o, const LinkModels& models, SweepPlan& plan, unsigned jobs,
                    ResultsWriter* results, std::atomic<bool>& recorded) {
  std::string host(256, '\0');
  if (gethostname(&host[0], host.size() - 1) != 0) host = "unknown";
  host.resize(std::strlen(host.c_str()));
  const std::vector<std::string> labels = plan.Labels();
  auto record = [&](const SweepPoint& p) {
    std::string error;
    if (!results) return;
    if (!results->Write(
            SweepRecords::PointRecord(plan.header.id, p.index, labels[p.channel], p, o.ber, host, plan.axes.rxName),
            error) &&
        recorded.exchange(false))
      std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
  };
  if (o.line.Isolates())
    return RunIsolatedPoints(models, o.line.settings, o.ber, plan.points, jobs, o.line.Limits(), record);
  return RunPoints(models, o.line.settings, o.ber, plan.points, jobs, record);
}

// A shard prints no tables: the line that says what it did, and on standard
// error how many of its runs failed and why the first did. Returns that many.
int ReportShard(const SweepOptions& o, const SweepPlan& plan) {
  int failures = 0;
  const SweepPoint* first = nullptr;
  for (const SweepPoint& p : plan.points) {
    if (Measured(p)) continue;
    ++failures;
    if (!first) first = &p;
  }
  std::printf("shard %s: %zu of the sweep's %zu points, recorded in %s (sweep %s)\n", plan.shard.Text().c_str(),
              plan.points.size(), plan.header.points, o.resultsPath.c_str(), plan.header.id.c_str());
  if (!first) return 0;
  const SimResult& r = first->result;
  std::string why = r.Ok() ? "eye not measured: " + r.eye.problem : r.error;
  if (!r.initOk && !r.message.empty()) why += " (the model's message: " + r.message + ")";
  std::fprintf(stderr, "%s: %d of the shard's %zu runs failed or gave no eye; the first, point %zu: %s\n", kCommand,
               failures, plan.points.size(), first->index, why.c_str());
  return failures;
}

int Sweep(SweepOptions& o) {
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = PrepareSimulation(kCommand, o.line, ami, model)) return status;
  AmiFileParams rxAmi;
  AmiModelLoader rxModel;
  std::string rxParameters;
  if (int status = PrepareReceiver(kCommand, o.line.settings, rxAmi, rxModel, rxParameters)) return status;
  SweepPlan plan;
  plan.axes =
      SweepAxes{SweepValues(ami, "emphasis", 6), SweepValues(ami, "Vreg", 2), SweepValues(ami, "corner", 2), "", {}};
  const SweepAxes& axes = plan.axes;
  const std::string gridEmphasis = std::to_string(o.gridEmphasis);
  const bool grid = !o.gridPath.empty();
  if (grid && std::find(axes.emphases.begin(), axes.emphases.end(), gridEmphasis) == axes.emphases.end()) {
    std::fprintf(stderr, "%s: --grid-emphasis %d is not an emphasis level of the model\n", kCommand, o.gridEmphasis);
    return 2;
  }
  std::string error;
  // The picture's file is opened before the runs, so that a path that cannot
  // take it is refused at once; it gets its name when the picture is done.
  AtomicFile gridFile(o.gridPath);
  ResultsWriter results;
  if (!ReadRxSweep(o.rxSweep, rxAmi, plan.axes, error)) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  if (int status = PlanSweep(kCommand, o, ami, rxAmi, gridEmphasis, grid && !BestGrid(o), plan)) return status;
  if ((grid && !gridFile.Open(error)) ||
      (!o.resultsPath.empty() && (!results.Open(o.resultsPath, error) || !results.Write(plan.header.Json(), error)))) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  std::string memoryNote;
  const unsigned jobs = SizeSweepJobs(o, plan, memoryNote);
  if (!o.tablesOnly) {
    PrintSetup(o, plan.points.size(), jobs, memoryNote);
    if (o.line.Isolates())
      std::printf(
          "isolation   each run in a child process of its own (a model that crashes, exits or hangs past "
          "--model-timeout %s s fails its run alone)\n",
          Fixed("%g", o.line.modelTimeout).c_str());
    PrintReceiver(o.line.settings, axes, plan.points);
    std::printf("\n");
  }
  const LinkModels models = MakeLink(ami, model, rxAmi, rxModel);
  std::atomic<bool> recorded{true};
  const double wall = RunAndRecord(o, models, plan, jobs, o.resultsPath.empty() ? nullptr : &results, recorded);
  int failures = 0;
  if (plan.shard.count > 1) {
    failures = ReportShard(o, plan);
  } else {
    failures = PrintReport(o, plan);
  }
  if (!o.tablesOnly) PrintThroughput(o.line.settings, plan.points, wall);
  int status = failures || !recorded ? 1 : 0;
  if (grid) status |= DrawSweepGrid(kCommand, o, gridFile, ami, axes, plan.points, models, jobs);
  return status;
}

// The options a sweep adds for many channels and for splitting the work.
// --channel takes the place of the single-channel option `sim` shares.
void AddSweepChannelOptions(CLI::App* cmd, SweepOptions& o) {
  CLI::Option* loss = cmd->get_option("--channel-loss");
  const std::string single = cmd->get_option("--channel")->get_description();
  cmd->remove_option(cmd->get_option("--channel"));
  cmd->add_option("--channel", o.channelPaths, single + ". Repeat it to sweep several channels")
      ->check(NonEmptyPath())
      ->excludes(loss);
  cmd->add_option("--channels", o.channelList,
                  "Sweep the channels this file lists: one Touchstone path per line, relative to the file's folder, "
                  "optionally followed by --ports ORDER; # starts a comment. A name with blanks or # goes in double "
                  "quotes (\\\" and \\\\ for a quote and a backslash in it): \"lane #3.s4p\" --ports 1,3,2,4")
      ->check(NonEmptyPath())
      ->excludes(loss);
  cmd->add_option("--shard", o.shard,
                  "Run only shard I of N: the points whose index modulo N is I (channel outermost, then emphasis, "
                  "Vreg, corner); needs --results. Without it, a Slurm job-array task writing --results runs the "
                  "shard SLURM_ARRAY_TASK_ID - SLURM_ARRAY_TASK_MIN of SLURM_ARRAY_TASK_COUNT");
  cmd->add_option("--shards", o.shards,
                  "In a Slurm job-array task: N shards, this one SLURM_ARRAY_TASK_ID (for an array that reruns "
                  "some shards only)")
      ->check(CLI::Range(size_t{1}, size_t{1} << 40));
  cmd->add_option("--results", o.resultsPath,
                  "Append one JSON Lines record per point to this file as each finishes (for `tessalune merge`)")
      ->check(NonEmptyPath());
  cmd->add_flag("--tables-only", o.tablesOnly,
                "Print the tables alone (no setup lines, no timing): what `tessalune merge` prints");
  cmd->add_option("--seed", o.seed,
                  "Start each point's PRBS from a register drawn from this seed, the channel "
                  "and the point's parameters (default: all ones)");
}

}  // namespace

void AddSweepCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<SweepOptions>();
  CLI::App* cmd =
      app.add_subcommand("sweep", "Simulate every emphasis, Vreg and corner combination and tabulate the eyes");
  AddSimOptions(cmd, options->line);
  AddSweepChannelOptions(cmd, *options);
  cmd->add_option("--grid", options->gridPath,
                  "Write the nine responses' eyes to this PNG: at --grid-emphasis, or with BER figures (--channel, "
                  "--noise, --rj, --ber) at each one's best emphasis, with BER contours")
      ->check(NonEmptyPath());
  CLI::Option* gridEmphasis =
      cmd->add_option("--grid-emphasis", options->gridEmphasis, "Emphasis level of the --grid picture")
          ->capture_default_str();
  CLI::Option* ber = cmd->add_option("--ber", options->ber,
                                     "The BER at which the best emphasis per Vreg and corner is chosen (the widest "
                                     "eye at that BER, the taller breaking a tie)")
                         ->check(FiniteRange(1e-30, 0.1))
                         ->capture_default_str();
  cmd->add_option("--rx-sweep", options->rxSweep,
                  "With --rx: one more axis, innermost: the receiver parameter NAME at each of V1,V2,... "
                  "(NAME=V1,V2,...); the best pair of transmitter setting and value is named at --ber");
  cmd->add_option("--jobs", options->jobs,
                  "Simulations run at once (default: one per core; fewer when that many would not fit in the "
                  "memory available, as the report then says)");
  cmd->footer("Eye height and width, and the BER figures, are measured as `tessalune sim --help` describes.");
  CLI::Option* seed = cmd->get_option("--seed");
  cmd->callback([options, gridEmphasis, ber, seed, &action] {
    options->gridEmphasisGiven = gridEmphasis->count() > 0;
    options->seedGiven = seed->count() > 0;
    SimSettings& s = options->line.settings;
    s.berAsked = ber->count() > 0;
    s.berTargets = SweepBerTargets(options->ber);
    action = [options] { return Sweep(*options); };
  });
}
