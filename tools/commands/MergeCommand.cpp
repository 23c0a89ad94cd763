#include "tools/commands/MergeCommand.h"

#include "tools/commands/PathOption.h"
#include "tools/commands/SweepGrid.h"
#include "tools/commands/SweepPlan.h"
#include "tools/commands/SweepRecordReader.h"
#include "tools/commands/SweepRecords.h"
#include "tools/commands/SweepReport.h"
#include "tools/commands/SweepShard.h"

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unordered_map>

using nlohmann::json;

namespace {

constexpr const char* kCommand = "tessalune merge";
// The longest line merge reads: a point's record is under a kilobyte, a
// header some 350 bytes per channel (so about 190,000 channels).
constexpr size_t kMaxLineBytes = 64u << 20;

// How one line of a results file came: whole, cut short by the end of the
// input, longer than kMaxLineBytes (then not kept), or none (the end).
enum class LineRead { kLine, kCut, kTooLong, kEnd };

// The next line into `line`, without its end; at most kMaxLineBytes held.
LineRead NextLine(std::istream& in, std::string& line) {
  line.clear();
  bool over = false, any = false;
  char chunk[1 << 16];
  for (;;) {
    in.get(chunk, sizeof chunk, '\n');
    const size_t n = static_cast<size_t>(in.gcount());
    any = any || n > 0;
    if (!over && line.size() + n > kMaxLineBytes) {
      over = true;
      std::string().swap(line);
    }
    if (!over) line.append(chunk, n);
    if (in.eof()) return !any ? LineRead::kEnd : over ? LineRead::kTooLong : LineRead::kCut;
    if (in.fail()) in.clear();  // nothing read: a line end is next
    if (in.peek() == '\n') {
      in.ignore();
      return over ? LineRead::kTooLong : LineRead::kLine;
    }
  }
}

// Why `path` is no results file to read (a folder, a device such as
// /dev/zero), or empty: regular files and pipes are read.
std::string NotReadable(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return "cannot read " + path + ": " + std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return path + " is a folder, not a results file";
  if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) return path + " is neither a regular file nor a pipe";
  return {};
}

struct MergeOptions {
  std::vector<std::string> files;
  bool missing = false;
  std::string gridPath;
  int gridEmphasis = 0;
  bool gridEmphasisGiven = false;
  size_t gridChannel = 1;
  unsigned jobs = 0;
  std::string modelPath, amiPath;  // the library and .ami file --grid may load
};

// A point's figures, kept small: its texts as numbers into one table.
struct Kept {
  double eyeHeightV = 0, eyeWidthUi = 0, eyeBitTime = 0, berHeightV = 0, berWidthUi = 0;
  uint32_t message = 0, error = 0, problem = 0;
  uint8_t flags = 0;  // bit per PointFigures flag
};

class Texts {
 public:
  uint32_t Id(const std::string& text) {
    const auto it = ids_.emplace(text, static_cast<uint32_t>(texts_.size()));
    if (it.second) texts_.push_back(text);
    return it.first->second;
  }
  const std::string& Text(uint32_t id) const { return texts_[id]; }

 private:
  std::unordered_map<std::string, uint32_t> ids_;
  std::vector<std::string> texts_;
};

Kept Keep(const PointFigures& f, Texts& texts) {
  Kept k{f.eyeHeightV,      f.eyeWidthUi,           f.eyeBitTime,
         f.berHeightV,      f.berWidthUi,           texts.Id(f.message),
         texts.Id(f.error), texts.Id(f.eyeProblem), 0};
  const bool flags[] = {f.initOk, f.getWaveOk, f.closeOk, f.streamOk, f.eyeValid, f.berValid, f.atBer, f.berOpen};
  for (int i = 0; i < 8; ++i) k.flags |= static_cast<uint8_t>(flags[i] ? 1u << i : 0u);
  return k;
}

// The same figures, bit for bit (a NaN is the same as itself).
bool Same(const Kept& a, const Kept& b) {
  const double x[] = {a.eyeHeightV, a.eyeWidthUi, a.eyeBitTime, a.berHeightV, a.berWidthUi};
  const double y[] = {b.eyeHeightV, b.eyeWidthUi, b.eyeBitTime, b.berHeightV, b.berWidthUi};
  return std::memcmp(x, y, sizeof x) == 0 && a.message == b.message && a.error == b.error && a.problem == b.problem &&
         a.flags == b.flags;
}

PointFigures Restore(const Kept& k, const Texts& texts) {
  PointFigures f;
  bool* flags[] = {&f.initOk, &f.getWaveOk, &f.closeOk, &f.streamOk, &f.eyeValid, &f.berValid, &f.atBer, &f.berOpen};
  for (int i = 0; i < 8; ++i) *flags[i] = (k.flags >> i) & 1u;
  f.message = texts.Text(k.message);
  f.error = texts.Text(k.error);
  f.eyeProblem = texts.Text(k.problem);
  f.eyeHeightV = k.eyeHeightV;
  f.eyeWidthUi = k.eyeWidthUi;
  f.eyeBitTime = k.eyeBitTime;
  f.berHeightV = k.berHeightV;
  f.berWidthUi = k.berWidthUi;
  return f;
}

// The points gathered from the files, in the sweep's order.
class Merger {
 public:
  // Reads one file; false (with the reason printed) when it cannot be read
  // or holds another sweep's results.
  bool Read(const std::string& path);
  int Finish(const MergeOptions& o);

 private:
  bool Line(const std::string& path, size_t number, const std::string& line, const RecordLine& r);
  bool Adopt(const SweepHeader& h, const std::string& path);
  void Note(const std::string& text) { std::fprintf(stderr, "%s: %s\n", kCommand, text.c_str()); }
  int ReportMissing(const MergeOptions& o);
  int PrintTables();
  int DrawGrid(const MergeOptions& mo);
  bool GridOptions(const MergeOptions& mo, SweepOptions& o, std::vector<SweepChannel>& channels);
  bool TheNamedFiles(const MergeOptions& mo, SimSettings& s);

  bool haveHeader_ = false;
  SweepHeader header_;
  std::string headerFile_;
  std::vector<Kept> kept_;
  std::vector<bool> seen_;
  std::vector<uint32_t> origin_;    // per point, the file it was read from
  std::vector<std::string> files_;  // the files read so far
  size_t have_ = 0, duplicates_ = 0, unreadable_ = 0;
  Texts texts_;
};

bool Merger::Adopt(const SweepHeader& h, const std::string& path) {
  if (!haveHeader_) {
    header_ = h;
    headerFile_ = path;
    haveHeader_ = true;
    kept_.assign(h.points, Kept{});
    seen_.assign(h.points, false);
    origin_.assign(h.points, 0);
    return true;
  }
  if (h.id != header_.id) {
    Note(path + " holds results of sweep " + h.id + ", " + headerFile_ + " of sweep " + header_.id +
         ": results of different sweeps (other options, channels or model) do not merge");
    return false;
  }
  // A shard describes the channels it loaded; the others come from the
  // shards that did.
  for (size_t c = 0; c < header_.describe.size() && c < h.describe.size(); ++c)
    if (header_.describe[c].empty()) header_.describe[c] = h.describe[c];
  return true;
}

bool Merger::Line(const std::string& path, size_t number, const std::string& line, const RecordLine& r) {
  if (r.kind == RecordLine::Kind::kHeader) {
    SweepHeader h;
    if (SweepHeader::FromJson(json::parse(line, nullptr, false), h)) return Adopt(h, path);
    ++unreadable_;
    Note(path + " line " + std::to_string(number) +
         " is a sweep header whose channels, axes and point count do not agree (or that counts more than " +
         std::to_string(SweepHeader::kMaxPoints) + " points); ignored");
    return true;
  } else if (r.kind == RecordLine::Kind::kPoint && haveHeader_) {
    if (r.sweep != header_.id) {
      Note(path + " line " + std::to_string(number) + " is a result of sweep " + r.sweep + ", not of sweep " +
           header_.id + " (" + headerFile_ + "): results of different sweeps do not merge");
      return false;
    }
    // A record is taken when its channel is the one its index falls on.
    if (r.index < seen_.size() && r.channel == header_.channels[r.index / header_.PerChannel()]) {
      const Kept k = Keep(r.figures, texts_);
      if (seen_[r.index]) {
        ++duplicates_;
        if (Same(k, kept_[r.index])) return true;
        Note("point " + std::to_string(r.index) + " is recorded twice with different figures, in " +
             files_[origin_[r.index]] + " and in " + path + " line " + std::to_string(number) +
             ": the runs of one sweep give one result, so these files are not to be trusted together");
        return false;
      }
      kept_[r.index] = k;
      origin_[r.index] = static_cast<uint32_t>(files_.size() - 1);
      seen_[r.index] = true;
      ++have_;
      return true;
    }
  }
  ++unreadable_;
  Note(path + " line " + std::to_string(number) + " is not a whole record of a sweep; ignored");
  return true;
}

bool Merger::Read(const std::string& path) {
  files_.push_back(path);
  std::string why = NotReadable(path);
  std::ifstream in;
  if (why.empty()) in.open(path, std::ios::binary);
  if (why.empty() && !in) why = "cannot read " + path;
  if (!why.empty()) {
    Note(why);
    return false;
  }
  // The header comes first in every file a sweep writes; records before
  // any header is known (a file joined by hand) wait for it, up to a limit.
  constexpr size_t kMaxWaiting = 100000;
  std::string line;
  size_t number = 0, dropped = 0;
  std::vector<std::pair<size_t, RecordLine>> waiting;
  for (LineRead got = NextLine(in, line); got != LineRead::kEnd; got = NextLine(in, line)) {
    ++number;
    if (got == LineRead::kCut) {  // no line end: the process stopped while writing it
      Note(path + ": its last line is cut short (a shard stopped while writing it); ignored");
      break;
    }
    if (got == LineRead::kTooLong) {
      ++unreadable_;
      Note(path + " line " + std::to_string(number) + " is longer than " + std::to_string(kMaxLineBytes >> 20) +
           " MiB, no record of a sweep; ignored");
      continue;
    }
    RecordLine r = ReadRecordLine(line);
    if (!haveHeader_ && r.kind == RecordLine::Kind::kPoint) {
      if (waiting.size() < kMaxWaiting)
        waiting.emplace_back(number, std::move(r));
      else
        ++dropped;
      continue;
    }
    if (!Line(path, number, line, r)) return false;
    if (!haveHeader_) continue;
    for (const auto& w : waiting)
      if (!Line(path, w.first, std::string(), w.second)) return false;
    waiting.clear();
  }
  if (!waiting.empty() || dropped)
    Note(path + ": no sweep header before " + std::to_string(waiting.size() + dropped) + " records; ignored");
  return true;
}

int Merger::ReportMissing(const MergeOptions& o) {
  std::vector<size_t> shards;
  std::string listed;
  size_t missing = 0;
  const size_t perChannel = header_.PerChannel(), perLevel = header_.axes.PerLevel();
  for (size_t i = 0; i < seen_.size(); ++i) {
    if (seen_[i]) continue;
    shards.push_back(i % header_.shards);
    if (++missing > 10) continue;
    const size_t c = i / perChannel, j = i % perChannel, level = j / perLevel, k = j % perLevel;
    listed += "  point " + std::to_string(i) + ": " +
              (header_.channels[c].empty() ? std::string() : "channel " + header_.channels[c] + ", ") + "emphasis " +
              header_.axes.emphases[level] + ", Vreg " + header_.axes.vregs[k / header_.axes.corners.size()] +
              ", corner " + header_.axes.corners[k % header_.axes.corners.size()] + "\n";
  }
  const std::string list = ArrayList(shards);
  if (o.missing) std::printf("%s\n", list.c_str());
  if (missing == 0) return 0;
  std::fprintf(stderr, "%s: %zu of the sweep's %zu points missing; rerun shards %s of %zu (sbatch --array=%s)\n%s%s",
               kCommand, missing, header_.points, list.c_str(), header_.shards, list.c_str(), listed.c_str(),
               missing > 10 ? ("  ... and " + std::to_string(missing - 10) + " more\n").c_str() : "");
  return o.missing ? 0 : 1;
}

int Merger::PrintTables() {
  SweepOptions o;
  o.ber = header_.ber;
  o.line.settings.bitTime = header_.bitTime;
  o.line.settings.berAsked = header_.wantsBer;
  SweepReport report(o, header_);
  return report.PrintAll(kept_.size(), [&](size_t i) { return Restore(kept_[i], texts_); }) ? 1 : 0;
}

// The library and .ami file the picture loads are the ones the user names:
// a results file is anyone's text (its sweep id a hash anyone recomputes),
// so the header's paths are only compared with them, never loaded as such.
bool Merger::TheNamedFiles(const MergeOptions& mo, SimSettings& s) {
  if (mo.modelPath.empty() || mo.amiPath.empty()) {
    Note(
        "--grid runs the sweep's model again: name its library with --model and its .ami file with --ami (the "
        "results say " +
        s.modelPath + " and " + s.amiPath + ")");
    return false;
  }
  const std::pair<const std::string*, std::string*> named[] = {{&mo.modelPath, &s.modelPath},
                                                               {&mo.amiPath, &s.amiPath}};
  for (const auto& n : named) {
    std::error_code failed;
    if (!std::filesystem::equivalent(*n.first, *n.second, failed)) {
      Note("--grid: " + *n.first + " is not the file the sweep ran, " + *n.second);
      return false;
    }
    *n.second = *n.first;
  }
  return true;
}

// The sweep's options from its header, for the picture, with the files
// checked to be the ones the sweep ran (the same sweep id).
bool Merger::GridOptions(const MergeOptions& mo, SweepOptions& o, std::vector<SweepChannel>& channels) {
  o.ber = header_.ber;
  o.gridPath = mo.gridPath;
  o.gridEmphasis = mo.gridEmphasis;
  o.gridEmphasisGiven = mo.gridEmphasisGiven;
  o.jobs = mo.jobs;
  o.line.settings.berTargets = SweepBerTargets(o.ber);
  if (header_.receiver) {
    Note("--grid: not for a sweep with a receiver (--rx); `sweep --grid` draws its picture");
    return false;
  }
  if (!OptionsFromRun(header_.run, o, channels) || (!channels.empty() && channels.size() != header_.channels.size())) {
    Note("--grid: the results do not say how the sweep ran its points");
    return false;
  }
  const std::string problem = SettingsProblem(o.line.settings);
  if (!problem.empty()) {
    Note("--grid: the results' header holds settings no sweep runs with: " + problem);
    return false;
  }
  if (!TheNamedFiles(mo, o.line.settings)) return false;
  if (mo.gridChannel < 1 || mo.gridChannel > header_.channels.size()) {
    Note("--grid-channel " + std::to_string(mo.gridChannel) + ": the sweep has " +
         std::to_string(header_.channels.size()) + " channel(s)");
    return false;
  }
  for (size_t c = 0; c < channels.size(); ++c) channels[c].label = header_.channels[c];
  std::string id, error;
  if (!SweepIdOf(o, channels, id, error) || id != header_.id) {
    Note("--grid: " + (error.empty() ? "the model, .ami or channel files are not those of sweep " + header_.id +
                                           " (now " + id + "): the picture would not show its points"
                                     : error));
    return false;
  }
  if (!channels.empty()) {
    o.line.settings.channelPath = channels[mo.gridChannel - 1].path;
    o.line.ports = channels[mo.gridChannel - 1].ports;
  }
  return true;
}

// The picture of one channel: its points rebuilt from the merged figures;
// the panels' runs made again with their eye densities.
int Merger::DrawGrid(const MergeOptions& mo) {
  SweepOptions o;
  std::vector<SweepChannel> channels;
  if (!GridOptions(mo, o, channels)) return 1;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = PrepareSimulation(kCommand, o.line, ami, model)) return status;
  const std::string gridEmphasis = std::to_string(o.gridEmphasis);
  const std::vector<std::string>& levels = header_.axes.emphases;
  if (!BestGrid(o) && std::find(levels.begin(), levels.end(), gridEmphasis) == levels.end()) {
    Note("--grid-emphasis " + gridEmphasis + " is not an emphasis level of the sweep");
    return 2;
  }
  std::vector<SweepPoint> points;
  std::string error;
  AtomicFile file(o.gridPath);
  if (!BuildPoints(ami, header_.axes, gridEmphasis, !BestGrid(o), points, error) ||
      points.size() != header_.PerChannel() || !file.Open(error)) {
    Note(error.empty() ? "--grid: the .ami file gives other values than the sweep's" : error);
    return 1;
  }
  const size_t first = (mo.gridChannel - 1) * header_.PerChannel();
  const std::string label = header_.channels[mo.gridChannel - 1];
  std::vector<SweepPoint> drawn;
  for (size_t i = 0; i < points.size(); ++i) {
    points[i].result = Restore(kept_[first + i], texts_).Result(o.ber);
    points[i].seed = PointSeed(o, label, points[i].parameters);
    if (!points[i].drawn) continue;
    SweepPoint d;
    d.emphasis = points[i].emphasis;
    d.vreg = points[i].vreg;
    d.corner = points[i].corner;
    d.parameters = points[i].parameters;
    d.drawn = true;
    d.index = i;
    d.seed = points[i].seed;
    drawn.push_back(std::move(d));
  }
  std::string note;
  const unsigned jobs = SizeJobs(o, std::max<size_t>(1, drawn.size()), note);
  const LinkModels models = MakeLink(ami, model, AmiFileParams(), AmiModelLoader());
  RunPoints(models, o.line.settings, o.ber, drawn, jobs);
  for (SweepPoint& d : drawn) points[d.index] = std::move(d);
  return DrawSweepGrid(kCommand, o, file, ami, header_.axes, points, models, jobs);
}

int Merger::Finish(const MergeOptions& o) {
  if (!haveHeader_) {
    Note("no results of a sweep in the files given");
    return 1;
  }
  if (duplicates_)
    Note(std::to_string(duplicates_) + " records of points already read (a shard run twice) counted once");
  if (o.missing || have_ < header_.points) return ReportMissing(o);
  const int status = PrintTables();
  return o.gridPath.empty() ? status : status | DrawGrid(o);
}

int Merge(const MergeOptions& o) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  Merger merger;
  for (const std::string& path : o.files)
    if (!merger.Read(path)) return 1;
  return merger.Finish(o);
}

}  // namespace

void AddMergeCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<MergeOptions>();
  CLI::App* cmd = app.add_subcommand(
      "merge", "Merge the results files of a sweep's shards into the tables a single-machine sweep prints");
  cmd->add_option("files", options->files,
                  "Results files written by `tessalune sweep --results` (regular files or pipes; a line longer than " +
                      std::to_string(kMaxLineBytes >> 20) + " MiB is ignored with a note)")
      ->required();
  cmd->add_option("--grid", options->gridPath,
                  "Write one channel's nine responses' eyes to this PNG, as `sweep --grid` draws them: the panels' "
                  "runs are made again with the model library and .ami file named by --model and --ami (both needed: "
                  "they must be the sweep's) and the sweep's channel files, all checked by the sweep id")
      ->check(NonEmptyPath());
  CLI::Option* gridEmphasis = cmd->add_option("--grid-emphasis", options->gridEmphasis,
                                              "Emphasis level of the --grid picture (default: "
                                              "each response's best at the sweep's --ber)");
  cmd->add_option("--grid-channel", options->gridChannel, "The channel of the --grid picture, by its number")
      ->capture_default_str();
  cmd->add_option("--jobs", options->jobs, "Simulations run at once for --grid (default: one per core)");
  cmd->add_option("--model", options->modelPath,
                  "With --grid: the model library to load, which must be the file the sweep ran (the results' "
                  "header is only compared with it, never loaded)")
      ->check(NonEmptyPath());
  cmd->add_option("--ami", options->amiPath, "With --grid: the model's .ami file, which must be the sweep's")
      ->check(NonEmptyPath());
  cmd->add_flag("--missing", options->missing,
                "Print the shards that have points missing, as a job-array list (sbatch --array=LIST); empty when "
                "none");
  cmd->footer(
      "The tables are those of `tessalune sweep --tables-only` with the same options. A point recorded twice with "
      "the same figures counts once, with different figures is refused; a last line cut short is ignored with a note; "
      "missing points are listed on standard error and the "
      "exit status is 1.");
  cmd->callback([options, gridEmphasis, &action] {
    options->gridEmphasisGiven = gridEmphasis->count() > 0;
    action = [options] { return Merge(*options); };
  });
}
