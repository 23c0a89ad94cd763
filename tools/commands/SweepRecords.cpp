#include "tools/commands/SweepRecords.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>

using nlohmann::json;

namespace {

// A number as JSON: non-finite ones (which JSON has not) as the texts
// "inf", "-inf" and "nan", so that merge prints what the sweep printed.
json Number(double v) {
  if (std::isfinite(v)) return json(v);
  return std::isnan(v) ? json("nan") : json(v > 0 ? "inf" : "-inf");
}

// Reads a field of the expected kind; false when it is absent or another.
bool Get(const json& j, const char* key, bool& value) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_boolean()) return false;
  value = it->get<bool>();
  return true;
}

bool Get(const json& j, const char* key, double& value) {
  const auto it = j.find(key);
  if (it != j.end() && it->is_string()) return SweepRecords::NonFinite(it->get<std::string>(), value);
  if (it == j.end() || !(it->is_number() || it->is_null())) return false;
  value = it->is_null() ? std::nan("") : it->get<double>();
  return true;
}

bool Get(const json& j, const char* key, std::string& value) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_string()) return false;
  value = it->get<std::string>();
  return true;
}

bool Get(const json& j, const char* key, size_t& value) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_number_unsigned()) return false;
  value = it->get<size_t>();
  return true;
}

bool GetStrings(const json& j, std::vector<std::string>& values) {
  if (!j.is_array()) return false;
  for (const json& v : j) {
    if (!v.is_string()) return false;
    values.push_back(v.get<std::string>());
  }
  return true;
}

bool ReadAxes(const json& j, SweepAxes& axes) {
  if (!j.is_array() || (j.size() != 3 && j.size() != 4)) return false;
  // The receiver's axis, innermost, when the sweep has one.
  if (j.size() == 4) {
    const json& rx = j[3];
    if (!rx.is_array() || rx.size() != 2 || !rx[0].is_string() || rx[0].get<std::string>().rfind("rx:", 0) != 0 ||
        !GetStrings(rx[1], axes.rxValues) || axes.rxValues.empty())
      return false;
    axes.rxName = rx[0].get<std::string>().substr(3);
  }
  const char* names[] = {"emphasis", "Vreg", "corner"};
  std::vector<std::string>* values[] = {&axes.emphases, &axes.vregs, &axes.corners};
  for (size_t i = 0; i < 3; ++i) {
    if (!j[i].is_array() || j[i].size() != 2 || j[i][0] != names[i] || !GetStrings(j[i][1], *values[i]) ||
        values[i]->empty())
      return false;
  }
  return true;
}

// The header's axes: emphasis, Vreg, corner, and the receiver's innermost.
json Axes(const SweepAxes& axes) {
  json list = json::array({json::array({"emphasis", axes.emphases}), json::array({"Vreg", axes.vregs}),
                           json::array({"corner", axes.corners})});
  if (!axes.rxName.empty()) list.push_back(json::array({"rx:" + axes.rxName, axes.rxValues}));
  return list;
}

json PointAxes(const SweepPoint& p, const std::string& rxName) {
  json axes = {{"emphasis", p.emphasis}, {"Vreg", p.vreg}, {"corner", p.corner}};
  if (!rxName.empty()) axes["rx:" + rxName] = p.rxValue;
  return axes;
}

}  // namespace

PointFigures PointFigures::Of(const SimResult& r, double ber) {
  PointFigures f;
  f.initOk = r.initOk;
  f.getWaveOk = r.getWaveOk;
  f.closeOk = r.closeOk;
  f.streamOk = r.streamOk;
  f.message = r.message;
  f.error = r.error;
  f.eyeValid = r.eye.valid;
  f.eyeProblem = r.eye.problem;
  f.eyeHeightV = r.eye.heightV;
  f.eyeWidthUi = r.eye.widthUi;
  f.eyeBitTime = r.eye.bitTime;
  f.berValid = r.ber.valid;
  if (const BerTargetFigures* at = r.ber.At(ber)) {
    f.atBer = true;
    f.berOpen = at->open;
    f.berHeightV = at->heightV;
    f.berWidthUi = at->widthUi;
  }
  f.getWaveSeconds = r.getWaveSeconds;
  return f;
}

SimResult PointFigures::Result(double ber) const {
  SimResult r;
  r.initOk = initOk;
  r.getWaveOk = getWaveOk;
  r.closeOk = closeOk;
  r.streamOk = streamOk;
  r.message = message;
  r.error = error;
  r.eye.valid = eyeValid;
  r.eye.problem = eyeProblem;
  r.eye.heightV = eyeHeightV;
  r.eye.widthUi = eyeWidthUi;
  r.eye.bitTime = eyeBitTime;
  r.ber.valid = berValid;
  if (atBer) {
    BerTargetFigures at;
    at.ber = ber;
    at.open = berOpen;
    at.heightV = berHeightV;
    at.widthUi = berWidthUi;
    r.ber.targets.push_back(at);
  }
  r.getWaveSeconds = getWaveSeconds;
  return r;
}

json SweepHeader::Json() const {
  json chans = json::array();
  for (size_t c = 0; c < channels.size(); ++c)
    chans.push_back(
        {{"label", channels[c]}, {"describe", c < describe.size() ? describe[c] : std::vector<std::string>()}});
  return {{"sweep", id},
          {"header",
           {{"points", points},
            {"shards", shards},
            {"ber", ber},
            {"bitTime", bitTime},
            {"wantsBer", wantsBer},
            {"receiver", receiver},
            {"axes", Axes(axes)},
            {"channels", chans},
            {"run", run}}}};
}

bool SweepHeader::FromJson(const json& j, SweepHeader& h) {
  const auto body = j.find("header");
  if (!Get(j, "sweep", h.id) || body == j.end() || !body->is_object()) return false;
  const json& b = *body;
  if (!Get(b, "points", h.points) || !Get(b, "shards", h.shards) || !Get(b, "ber", h.ber) ||
      !Get(b, "bitTime", h.bitTime) || !Get(b, "wantsBer", h.wantsBer) || !Get(b, "receiver", h.receiver) ||
      !b.contains("axes") || !ReadAxes(b["axes"], h.axes) || !b.contains("channels") || !b["channels"].is_array() ||
      h.shards == 0)
    return false;
  for (const json& c : b["channels"]) {
    std::string label;
    std::vector<std::string> lines;
    if (!c.is_object() || !Get(c, "label", label) || !c.contains("describe") || !GetStrings(c["describe"], lines))
      return false;
    h.channels.push_back(label);
    h.describe.push_back(lines);
  }
  if (b.contains("run") && b["run"].is_object()) h.run = b["run"];
  size_t points = 0;
  return !h.channels.empty() && CountPoints(h.channels.size(), h.axes, points) && h.points == points;
}

bool SweepHeader::CountPoints(size_t channels, const SweepAxes& axes, size_t& points) {
  const size_t factors[] = {channels, axes.emphases.size(), axes.vregs.size(), axes.corners.size(), axes.RxCount()};
  points = 1;
  for (size_t f : factors) {
    if (f == 0 || points > kMaxPoints / f) return false;
    points *= f;
  }
  return true;
}

namespace SweepRecords {

bool NonFinite(const std::string& text, double& value) {
  const std::pair<const char*, double> known[] = {{"inf", HUGE_VAL}, {"-inf", -HUGE_VAL}, {"nan", std::nan("")}};
  for (const auto& k : known)
    if (text == k.first) return value = k.second, true;
  return false;
}

json PointRecord(const std::string& id, size_t index, const std::string& channel, const SweepPoint& p, double ber,
                 const std::string& host, const std::string& rxName) {
  const PointFigures f = PointFigures::Of(p.result, ber);
  json atBer = nullptr;
  if (f.atBer)
    atBer = {{"ber", ber}, {"open", f.berOpen}, {"heightV", Number(f.berHeightV)}, {"widthUi", Number(f.berWidthUi)}};
  return {{"sweep", id},
          {"point", index},
          {"channel", channel},
          {"axes", PointAxes(p, rxName)},
          {"parameters", p.parameters},
          {"rxParameters", p.rxParameters},
          {"ok", {{"init", f.initOk}, {"getWave", f.getWaveOk}, {"close", f.closeOk}, {"stream", f.streamOk}}},
          {"message", f.message},
          {"error", f.error},
          {"eye",
           {{"valid", f.eyeValid},
            {"problem", f.eyeProblem},
            {"heightV", Number(f.eyeHeightV)},
            {"widthUi", Number(f.eyeWidthUi)},
            {"bitTime", Number(f.eyeBitTime)}}},
          {"atBer", atBer},
          {"berValid", f.berValid},
          {"seed", p.seed},
          {"getWaveSeconds", Number(f.getWaveSeconds)},
          {"seconds", Number(p.result.getWaveSeconds + p.result.hostSeconds)},
          {"finished", static_cast<int64_t>(std::time(nullptr))},
          {"host", host}};
}

}  // namespace SweepRecords

ResultsWriter::~ResultsWriter() {
  if (fd_ >= 0) close(fd_);
}

bool ResultsWriter::Open(const std::string& path, std::string& error) {
  path_ = path;
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    error = "cannot open the results file " + path + ": " + std::strerror(errno);
    return false;
  }
  // A last line cut short (a process stopped while writing) is ended, so
  // that it stays one unreadable line rather than spoiling the next record.
  struct stat st {};
  char last = '\n';
  if (fstat(fd_, &st) == 0 && st.st_size > 0) {
    const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in >= 0) {
      if (pread(in, &last, 1, st.st_size - 1) != 1) last = '\n';
      close(in);
    }
  }
  if (last != '\n' && write(fd_, "\n", 1) != 1) {
    error = "cannot write the results file " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool ResultsWriter::Write(const json& record, std::string& error) {
  const std::string line = record.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
  std::lock_guard<std::mutex> lock(mutex_);
  if (failed_) {
    error = "the results file " + path_ + " failed before";
    return false;
  }
  ssize_t written = -1;
  do {
    written = write(fd_, line.data(), line.size());
  } while (written < 0 && errno == EINTR);
  if (written == static_cast<ssize_t>(line.size())) return true;
  failed_ = true;  // no record after a part of one
  error = "cannot write the results file " + path_ + ": " +
          (written < 0 ? std::strerror(errno) : std::string("short write (disk full?)"));
  return false;
}
