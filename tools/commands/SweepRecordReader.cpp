#include "tools/commands/SweepRecordReader.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using json = nlohmann::json;

// The fields a point's record must carry, one bit each.
enum Field : uint32_t {
  kSweep = 1u << 0,
  kPoint = 1u << 1,
  kChannel = 1u << 2,
  kInit = 1u << 3,
  kGetWave = 1u << 4,
  kClose = 1u << 5,
  kStream = 1u << 6,
  kMessage = 1u << 7,
  kError = 1u << 8,
  kEyeValid = 1u << 9,
  kEyeProblem = 1u << 10,
  kEyeHeight = 1u << 11,
  kEyeWidth = 1u << 12,
  kEyeBitTime = 1u << 13,
  kBerValid = 1u << 14,
  kGetWaveSeconds = 1u << 15,
  kAtBer = 1u << 16,
  kBerOpen = 1u << 17,
  kBerHeight = 1u << 18,
  kBerWidth = 1u << 19,
};
constexpr uint32_t kAlways = (1u << 17) - 1;
constexpr uint32_t kAtBerFields = kBerOpen | kBerHeight | kBerWidth;

// Takes the values at depth 1 (the record's own fields) and depth 2 (those
// of "ok", "eye" and "atBer") by name; everything deeper or in arrays is
// passed over. A value of the wrong kind is not taken, so that the record
// lacks that field.
class Handler : public nlohmann::json_sax<json> {
 public:
  explicit Handler(RecordLine& out) : out_(out) {}

  // JSON has no NaN: a figure that was not finite is written as null.
  bool null() override {
    if (Depth() == 1 && top_ == "atBer") return Take(kAtBer);
    return Number(std::nan(""));
  }
  bool boolean(bool v) override;
  bool number_integer(number_integer_t v) override { return Number(static_cast<double>(v)); }
  bool number_unsigned(number_unsigned_t v) override {
    if (Depth() == 1 && top_ == "point") {
      out_.index = static_cast<size_t>(v);
      return Take(kPoint);
    }
    return Number(static_cast<double>(v));
  }
  bool number_float(number_float_t v, const string_t&) override { return Number(v); }
  bool string(string_t& v) override;
  bool binary(binary_t&) override { return false; }
  bool start_object(std::size_t) override {
    if (Depth() == 1 && top_ == "atBer") {
      out_.figures.atBer = true;
      Take(kAtBer);
    }
    if (Depth() == 1 && top_ == "header") header_ = true;
    stack_.push_back(false);
    return true;
  }
  bool key(string_t& v) override {
    if (Depth() == 1) top_ = v;
    if (Depth() == 2) sub_ = v;
    return true;
  }
  bool end_object() override {
    stack_.pop_back();
    return true;
  }
  bool start_array(std::size_t) override {
    stack_.push_back(true);
    return true;
  }
  bool end_array() override {
    stack_.pop_back();
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

  bool Header() const { return header_; }
  uint32_t Seen() const { return seen_; }

 private:
  // Objects only: a value inside an array counts at no depth.
  size_t Depth() const { return stack_.empty() || stack_.back() ? 0 : stack_.size(); }
  bool Take(uint32_t field) {
    seen_ |= field;
    return true;
  }
  bool Number(double v);

  RecordLine& out_;
  std::vector<bool> stack_;  // true: an array
  std::string top_, sub_;
  uint32_t seen_ = 0;
  bool header_ = false;
};

bool Handler::boolean(bool v) {
  PointFigures& f = out_.figures;
  if (Depth() == 1 && top_ == "berValid") return f.berValid = v, Take(kBerValid);
  if (Depth() == 2 && top_ == "ok") {
    if (sub_ == "init") return f.initOk = v, Take(kInit);
    if (sub_ == "getWave") return f.getWaveOk = v, Take(kGetWave);
    if (sub_ == "close") return f.closeOk = v, Take(kClose);
    if (sub_ == "stream") return f.streamOk = v, Take(kStream);
  }
  if (Depth() == 2 && top_ == "eye" && sub_ == "valid") return f.eyeValid = v, Take(kEyeValid);
  if (Depth() == 2 && top_ == "atBer" && sub_ == "open") return f.berOpen = v, Take(kBerOpen);
  return true;
}

bool Handler::string(string_t& v) {
  PointFigures& f = out_.figures;
  // A figure that is not finite comes as a text; where a number is read.
  double figure = 0;
  const uint32_t before = seen_;
  if (SweepRecords::NonFinite(v, figure) && Number(figure) && seen_ != before) return true;
  if (Depth() == 1) {
    if (top_ == "sweep") return out_.sweep = v, Take(kSweep);
    if (top_ == "channel") return out_.channel = v, Take(kChannel);
    if (top_ == "message") return f.message = v, Take(kMessage);
    if (top_ == "error") return f.error = v, Take(kError);
  }
  if (Depth() == 2 && top_ == "eye" && sub_ == "problem") return f.eyeProblem = v, Take(kEyeProblem);
  return true;
}

bool Handler::Number(double v) {
  PointFigures& f = out_.figures;
  if (Depth() == 1 && top_ == "getWaveSeconds") return f.getWaveSeconds = v, Take(kGetWaveSeconds);
  if (Depth() == 2 && top_ == "eye") {
    if (sub_ == "heightV") return f.eyeHeightV = v, Take(kEyeHeight);
    if (sub_ == "widthUi") return f.eyeWidthUi = v, Take(kEyeWidth);
    if (sub_ == "bitTime") return f.eyeBitTime = v, Take(kEyeBitTime);
  }
  if (Depth() == 2 && top_ == "atBer") {
    if (sub_ == "heightV") return f.berHeightV = v, Take(kBerHeight);
    if (sub_ == "widthUi") return f.berWidthUi = v, Take(kBerWidth);
  }
  return true;
}

}  // namespace

RecordLine ReadRecordLine(const std::string& line) {
  RecordLine out;
  Handler handler(out);
  const bool parsed = json::sax_parse(line, &handler);
  if (handler.Header()) {
    out.kind = parsed ? RecordLine::Kind::kHeader : RecordLine::Kind::kUnreadable;
    return out;
  }
  const uint32_t seen = handler.Seen();
  const bool complete = (seen & kAlways) == kAlways && (!out.figures.atBer || (seen & kAtBerFields) == kAtBerFields);
  out.kind = parsed && complete ? RecordLine::Kind::kPoint : RecordLine::Kind::kUnreadable;
  return out;
}
