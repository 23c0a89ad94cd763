#include "tools/linkbench/channel/Touchstone.h"

#include "tools/common/Numbers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsSpace(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// A plain decimal number: sign, digits with at most one point, exponent.
// Hexadecimal, "inf" and "nan" are not numbers in a Touchstone file.
bool IsDecimal(const std::string& word) {
  size_t i = 0, n = word.size(), digits = 0;
  if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
  while (i < n && std::isdigit(static_cast<unsigned char>(word[i]))) ++i, ++digits;
  if (i < n && word[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(word[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (word[i] == 'e' || word[i] == 'E')) {
    ++i;
    if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
    size_t exponentDigits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(word[i]))) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == n;
}

// Reads a finite decimal number; the program runs in the "C" locale, so
// strtod takes '.' as the decimal point. Values too small for a double read
// as (nearly) zero; values too large are refused.
bool ParseNumber(const std::string& word, double& value) {
  if (!IsDecimal(word)) return false;
  double v = std::strtod(word.c_str(), nullptr);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool ParseCount(const std::string& word, long& value) {
  if (word.empty() || word.size() > 9) return false;
  for (char c : word)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  value = std::strtol(word.c_str(), nullptr, 10);
  return true;
}

// "50", or a complex reference written "(50+50j)" as some writers do.
bool ParseReference(const std::string& word, std::complex<double>& value) {
  double re = 0.0, im = 0.0;
  if (word.size() >= 2 && word.front() == '(' && word.back() == ')') {
    std::string inner = word.substr(1, word.size() - 2);
    if (inner.empty()) return false;
    if (inner.back() == 'j' || inner.back() == 'J' || inner.back() == 'i') {
      inner.pop_back();
      size_t split = std::string::npos;
      for (size_t i = inner.size(); i-- > 1;) {
        if ((inner[i] == '+' || inner[i] == '-') && inner[i - 1] != 'e' && inner[i - 1] != 'E') {
          split = i;
          break;
        }
      }
      if (split == std::string::npos) {
        if (!ParseNumber(inner, im)) return false;
      } else if (!ParseNumber(inner.substr(0, split), re) || !ParseNumber(inner.substr(split), im)) {
        return false;
      }
    } else if (!ParseNumber(inner, re)) {
      return false;
    }
  } else if (!ParseNumber(word, re)) {
    return false;
  }
  if (!(re > 0.0)) return false;
  value = {re, im};
  return true;
}

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

enum class Section { kHeader, kReference, kNetwork, kNoise, kInformation, kEnd };
enum class Matrix { kFull, kLower, kUpper };
enum class Order { kUnset, k12_21, k21_12 };

class Reader {
 public:
  Reader(const std::string& name, TouchstoneNetwork& network, const TouchstoneLimits& limits)
      : name_(name), net_(network), limits_(limits) {}

  // The next piece of the text; false once the text is refused. After [End]
  // the rest is not looked at (Done()).
  bool Feed(const char* data, size_t size) {
    size_t i = 0;
    if (bytes_ == 0 && size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) i = 3;  // a byte-order mark
    bytes_ += size;
    for (; i < size && !done_; ++i) {
      const char c = data[i];
      if (afterCr_) {
        afterCr_ = false;
        if (c == '\n') continue;  // CR LF: one line end
      }
      if (c == '\n' || c == '\r') {
        afterCr_ = c == '\r';
        if (!EndLine()) return false;
        continue;
      }
      if (c == '\0') return Fail("a NUL byte: this is not a text file (binary data, or text in UTF-16?)");
      if (!Char(c)) return false;
    }
    return true;
  }

  bool End() {
    if (!done_ && (mode_ != Mode::kStart || !comment_.empty())) {
      if (!EndLine()) return false;
      --line_;  // the last line had no line end
    }
    return Finish();
  }

  bool Done() const { return done_; }

  std::string error;

 private:
  // What the current line is, once its first character other than a space
  // says so: a keyword, option or header line is kept whole (it is short);
  // a line of network or noise data is taken number by number.
  enum class Mode { kStart, kWhole, kData, kComment };
  static constexpr size_t kMaxWholeLine = 1 << 20;
  static constexpr size_t kMaxWord = 256;

  bool Char(char c) {
    if (mode_ == Mode::kComment) {
      if (comment_.size() < 1024) comment_ += c;
      return true;
    }
    if (c == '!') {
      modeBeforeComment_ = mode_;
      mode_ = Mode::kComment;
      comment_ = "!";
      return true;
    }
    if (mode_ == Mode::kStart) {
      if (IsSpace(c)) return true;
      if (!started_) {
        started_ = true;
        // A file that does not open with [Version] is a 1.x file (a line
        // that starts with '[' is looked at whole).
        firstLine_ = c == '[';
        if (!firstLine_ && !StartVersion1()) return false;
      }
      mode_ = c == '[' || c == '#' || (section_ != Section::kNetwork && section_ != Section::kNoise) ? Mode::kWhole
                                                                                                     : Mode::kData;
    }
    if (mode_ == Mode::kWhole) {
      if (whole_.size() < kMaxWholeLine) {
        whole_ += c;
      } else if (section_ != Section::kInformation) {
        return Fail("a line of more than " + std::to_string(kMaxWholeLine) + " characters");
      }
      return true;
    }
    // A line of numbers.
    if (IsSpace(c)) return EndWord();
    if (word_.size() < kMaxWord) word_ += c;
    ++wordLength_;
    return true;
  }

  bool EndLine() {
    const Mode mode = mode_ == Mode::kComment ? modeBeforeComment_ : mode_;
    if (!comment_.empty()) {
      if (!sawPortImpedance_ && Upper(comment_).find("PORT IMPEDANCE") != std::string::npos) {
        sawPortImpedance_ = true;
        Note(
            "comments give port impedances (a field solver's data not renormalized); the reference is the "
            "option line's R");
      }
      comment_.clear();
    }
    bool ok = true;
    if (mode == Mode::kWhole) {
      ok = Line(Trim(whole_));
      whole_.clear();
    } else if (mode == Mode::kData) {
      ok = EndWord() && EndDataLine();
    }
    mode_ = Mode::kStart;
    if (section_ == Section::kEnd) done_ = true;
    ++line_;
    return ok;
  }

  bool Fail(const std::string& why) {
    error = name_ + ":" + std::to_string(line_) + ": " + why;
    return false;
  }
  bool FailAt(int line, const std::string& why) {
    error = name_ + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + why;
    return false;
  }
  void Note(const std::string& what) { NoteAt(line_, what); }
  // Notes beyond the first kMaxNotes are counted, not listed.
  void NoteAt(int line, const std::string& what) {
    if (net_.notes.size() < TouchstoneLimits::kMaxNotes) {
      net_.notes.push_back("line " + std::to_string(line) + ": " + what);
    } else {
      ++unlistedNotes_;
    }
  }

  // A port count the caller cannot use is refused as soon as it is known.
  bool CheckPorts(int ports, int line) {
    if (limits_.ports.empty() || std::find(limits_.ports.begin(), limits_.ports.end(), ports) != limits_.ports.end()) {
      return true;
    }
    return FailAt(line, "a " + std::to_string(ports) + "-port network " + limits_.portsRefusal);
  }

  bool Line(const std::string& content) {
    if (content.empty()) return true;
    if (firstLine_) {
      firstLine_ = false;
      if (Upper(content).compare(0, 9, "[VERSION]") != 0 && !StartVersion1()) return false;
    }
    if (section_ == Section::kInformation) {
      if (content[0] == '[' && KeywordName(content) == "END INFORMATION") section_ = Section::kHeader;
      return true;
    }
    if (content[0] == '[') return Keyword(content);
    if (content[0] == '#') return Options(content.substr(1));
    return HeaderNumbers(Words(content));
  }

  bool StartVersion1() {
    version1_ = true;
    net_.version = 1;
    net_.ports = TouchstonePortsFromName(name_);
    if (net_.ports == 0) {
      return FailAt(0,
                    "cannot tell the number of ports: a file without [Version] 2.0 takes it from a name ending in "
                    ".sNp (N from 1 to " +
                        std::to_string(TouchstoneNetwork::kMaxPorts) + ")");
    }
    if (!CheckPorts(net_.ports, 0)) return false;
    section_ = Section::kNetwork;
    return true;
  }

  // The index among CHOICES (upper case) of a keyword's one argument, or -1.
  static int OneOf(const std::vector<std::string>& args, std::initializer_list<const char*> choices) {
    if (args.size() != 1) return -1;
    const std::string word = Upper(args[0]);
    int k = 0;
    for (const char* choice : choices) {
      if (word == choice) return k;
      ++k;
    }
    return -1;
  }

  // The keyword's name in upper case with single spaces: "NUMBER OF PORTS".
  static std::string KeywordName(const std::string& content) {
    const size_t close = content.find(']');
    if (close == std::string::npos) return std::string();
    std::string name;
    for (const std::string& word : Words(content.substr(1, close - 1))) name += (name.empty() ? "" : " ") + word;
    return Upper(name);
  }

  bool Keyword(const std::string& content) {
    const size_t close = content.find(']');
    if (close == std::string::npos) return Fail("a keyword without its closing ']': " + content);
    const std::string name = KeywordName(content);
    const std::vector<std::string> args = Words(content.substr(close + 1));
    const std::string shown = "[" + content.substr(1, close - 1) + "]";
    if (version1_) {
      if (name == "VERSION") return Fail("[Version] must be the first line of the file");
      return Fail("keyword " + shown + " in a file that does not start with [Version] 2.0");
    }
    if (section_ == Section::kReference) {
      return Fail("[Reference] needs " + std::to_string(net_.ports) + " values, " + std::to_string(references_.size()) +
                  " given before " + shown);
    }
    if (name == "VERSION") return Version(args);
    if (section_ == Section::kNetwork || section_ == Section::kNoise) {
      if (!EndRecord()) return false;
      if (name == "NOISE DATA") {
        section_ = Section::kNoise;
        return true;
      }
      if (name == "END") {
        section_ = Section::kEnd;
        return true;
      }
      return Fail(shown + " inside " + (section_ == Section::kNetwork ? "[Network Data]" : "[Noise Data]") +
                  " (only [Noise Data] or [End] may follow)");
    }
    for (const KeywordHandler& handler : kKeywordHandlers)
      if (name == handler.name) return (this->*handler.read)(args, shown);
    return Fail("unknown keyword " + shown);
  }

  // A keyword of the header (before [Network Data]) with its arguments, and
  // the keyword as the file spells it.
  using KeywordRead = bool (Reader::*)(const std::vector<std::string>& args, const std::string& shown);
  struct KeywordHandler {
    const char* name;  // upper case, single spaces
    KeywordRead read;
  };
  static const KeywordHandler kKeywordHandlers[11];

  bool NumberOfPorts(const std::vector<std::string>& args, const std::string&) {
    long ports = 0;
    if (args.size() != 1 || !ParseCount(args[0], ports)) return Fail("[Number of Ports] needs one whole number");
    if (ports < 1 || ports > TouchstoneNetwork::kMaxPorts) {
      return Fail("a " + std::to_string(ports) + "-port file cannot be read (1 to " +
                  std::to_string(TouchstoneNetwork::kMaxPorts) + " ports)");
    }
    if (!CheckPorts(static_cast<int>(ports), line_)) return false;
    net_.ports = static_cast<int>(ports);
    return true;
  }

  bool TwoPortDataOrder(const std::vector<std::string>& args, const std::string&) {
    const int k = OneOf(args, {"12_21", "21_12"});
    if (k < 0) return Fail("[Two-Port Data Order] is 12_21 or 21_12");
    order_ = k == 0 ? Order::k12_21 : Order::k21_12;
    return true;
  }

  bool NumberOfFrequencies(const std::vector<std::string>& args, const std::string&) {
    long count = 0;
    if (args.size() != 1 || !ParseCount(args[0], count) || count < 1) {
      return Fail("[Number of Frequencies] needs one whole number, at least 1");
    }
    frequencies_ = count;
    frequenciesLine_ = line_;
    return true;
  }

  bool NumberOfNoiseFrequencies(const std::vector<std::string>& args, const std::string&) {
    long count = 0;
    if (args.size() != 1 || !ParseCount(args[0], count))
      return Fail("[Number of Noise Frequencies] needs one whole number");
    return true;
  }

  bool MatrixFormat(const std::vector<std::string>& args, const std::string&) {
    const int k = OneOf(args, {"FULL", "LOWER", "UPPER"});
    if (k < 0) return Fail("[Matrix Format] is Full, Lower or Upper");
    matrix_ = k == 0 ? Matrix::kFull : k == 1 ? Matrix::kLower : Matrix::kUpper;
    return true;
  }

  bool Reference(const std::vector<std::string>& args, const std::string&) {
    if (net_.ports == 0) return Fail("[Reference] before [Number of Ports]");
    references_.clear();
    section_ = Section::kReference;
    return ReferenceValues(args);
  }

  bool MixedModeOrder(const std::vector<std::string>&, const std::string&) {
    return Fail("mixed-mode data ([Mixed-Mode Order]) cannot be read: only single-ended S-parameters");
  }

  bool BeginInformation(const std::vector<std::string>&, const std::string&) {
    section_ = Section::kInformation;
    return true;
  }

  bool NetworkData(const std::vector<std::string>&, const std::string&) { return StartNetworkData(); }

  // [Noise Data] and [End] belong after [Network Data].
  bool TooEarly(const std::vector<std::string>&, const std::string& shown) {
    return Fail(shown + " before [Network Data]");
  }

  bool Version(const std::vector<std::string>& args) {
    if (sawVersion_) return Fail("[Version] must be the first line of the file");
    sawVersion_ = true;
    if (args.size() != 1 || args[0].compare(0, 2, "2.") != 0 || args[0].size() < 3) {
      return Fail("[Version] " + (args.empty() ? std::string() : args[0]) +
                  ": only 2.0 (or a 1.x file without [Version]) can be read");
    }
    if (args[0] != "2.0") Note("[Version] " + args[0] + " read as 2.0");
    net_.version = 2;
    return true;
  }

  bool StartNetworkData() {
    if (!sawOptions_) return Fail("[Network Data] before the option line (# ...)");
    if (net_.ports == 0) return Fail("[Network Data] before [Number of Ports]");
    if (net_.ports == 2 && order_ == Order::kUnset) {
      return Fail("a 2-port file needs [Two-Port Data Order] before [Network Data]");
    }
    if (frequencies_ < 0) return Fail("[Network Data] before [Number of Frequencies]");
    if (!references_.empty()) net_.reference = references_;
    section_ = Section::kNetwork;
    return true;
  }

  bool ReferenceValues(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
      std::complex<double> value;
      if (!ParseReference(word, value)) return Fail("[Reference]: " + word + " is not a positive resistance");
      if (references_.size() == static_cast<size_t>(net_.ports)) {
        return Fail("[Reference] holds more than " + std::to_string(net_.ports) + " values");
      }
      references_.push_back(value);
    }
    if (references_.size() == static_cast<size_t>(net_.ports)) section_ = Section::kHeader;
    return true;
  }

  bool Options(const std::string& text) {
    if (sawOptions_) {
      Note("another option line, ignored");
      return true;
    }
    sawOptions_ = true;
    const std::vector<std::string> words = Words(text);
    for (size_t i = 0; i < words.size(); ++i) {
      const std::string word = Upper(words[i]);
      if (word == "HZ" || word == "KHZ" || word == "MHZ" || word == "GHZ" || word == "THZ") {
        const char* units[] = {"Hz", "kHz", "MHz", "GHz", "THz"};
        const double scales[] = {1.0, 1e3, 1e6, 1e9, 1e12};
        const int k = word == "HZ" ? 0 : word == "KHZ" ? 1 : word == "MHZ" ? 2 : word == "GHZ" ? 3 : 4;
        net_.frequencyUnit = units[k];
        scale_ = scales[k];
      } else if (word == "S") {
      } else if (word == "Y" || word == "Z" || word == "H" || word == "G") {
        return Fail(word +
                    "-parameter data: only S-parameter files can be read (convert the file to S-parameters "
                    "first)");
      } else if (word == "RI" || word == "MA" || word == "DB") {
        net_.format = word;
      } else if (word == "R") {
        // The value may be written "(50 + 50j)" over several words.
        std::string value = i + 1 < words.size() ? words[++i] : std::string();
        if (!value.empty() && value[0] == '(') {
          while (value.back() != ')' && i + 1 < words.size()) value += words[++i];
        }
        std::complex<double> reference;
        if (!ParseReference(value, reference)) {
          return Fail("option line: R needs a positive reference resistance" +
                      (value.empty() ? std::string() : ", not " + value));
        }
        reference_ = reference;
      } else {
        return Fail("option line: unknown word " + words[i] + " (frequency unit, S, RI/MA/DB or R value)");
      }
    }
    return true;
  }

  size_t ValuesPerPoint() const {
    const size_t n = static_cast<size_t>(net_.ports);
    const size_t entries = matrix_ == Matrix::kFull ? n * n : n * (n + 1) / 2;
    return 1 + 2 * entries;
  }

  // Numbers on a line outside [Network Data] and [Noise Data]: [Reference]
  // values carried over to the next line, or a fault.
  bool HeaderNumbers(const std::vector<std::string>& words) {
    if (section_ == Section::kHeader) {
      return Fail(net_.version == 2 && sawVersion_ ? "numbers outside [Network Data] and [Noise Data]"
                                                   : "numbers before the file's keywords");
    }
    for (const std::string& word : words) {
      double value = 0.0;
      if (!ParseNumber(word, value)) return Fail("not a number: " + word);
    }
    return ReferenceValues(words);
  }

  // The end of one word of a data line: a number, taken at once.
  bool EndWord() {
    if (wordLength_ == 0) return true;
    double value = 0.0;
    const bool number = wordLength_ <= kMaxWord && ParseNumber(word_, value);
    const std::string shown =
        wordLength_ <= kMaxWord ? word_ : word_.substr(0, 40) + "... (" + std::to_string(wordLength_) + " characters)";
    word_.clear();
    wordLength_ = 0;
    if (!number) return Fail("not a number: " + shown);
    // A fault in the line's values is reported at its end, unless a later
    // word is no number at all: that is the line's first fault.
    if (deferred_.empty() && !DataValue(value)) deferred_ = error;
    return true;
  }

  // The values of a data line go to the frequency point being assembled as
  // they come. Only whether a 1.x two-port line holds noise parameters needs
  // more of the line: its first value and whether it holds exactly five, so
  // the first six values wait for that choice.
  bool DataValue(double value) {
    if (lineValues_ == 0 && !sawOptions_) {
      sawOptions_ = true;
      Note("no option line before the data: GHz, S, MA, R 50 assumed");
    }
    ++lineValues_;
    if (lineNoise_) return true;
    if (!lineDecided_) {
      held_[lineValues_ - 1] = value;
      return lineValues_ < kHeld || Decide(false);
    }
    return Take(value);
  }

  bool EndDataLine() {
    bool ok = deferred_.empty() && (lineValues_ == 0 || lineDecided_ || Decide(true));
    if (!deferred_.empty()) error = deferred_;
    deferred_.clear();
    if (ok && lineNoise_) ok = NoiseLine(lineValues_);
    lineValues_ = 0;
    lineTaken_ = 0;
    lineDecided_ = false;
    lineNoise_ = false;
    return ok;
  }

  // Whether the line is noise data, once its first values are known (`whole`:
  // the line ends with them); the held values then go on.
  bool Decide(bool whole) {
    lineDecided_ = true;
    if (section_ == Section::kNoise || noise_) {
      lineNoise_ = true;
      return true;
    }
    if (pending_.empty()) {
      pendingLine_ = line_;
      // A 1.x two-port file's noise parameters follow its network data,
      // starting at a frequency not above the last one.
      if (net_.version == 1 && net_.ports == 2 && !net_.frequency.empty()) {
        const double f = held_[0] * scale_;
        const double last = net_.frequency.back();
        if (f < last || (f == last && whole && lineValues_ == 5)) {
          noise_ = true;
          lineNoise_ = true;
          return true;
        }
      }
    }
    const size_t count = std::min(lineValues_, kHeld);
    for (size_t i = 0; i < count; ++i)
      if (!Take(held_[i])) return false;
    return true;
  }

  bool Take(double value) {
    const size_t need = ValuesPerPoint();
    if (pending_.empty() && lineTaken_ > 0) {
      return Fail("a frequency point ends within this line and more values follow (begun on line " +
                  std::to_string(pendingLine_) + ", " + std::to_string(need) + " numbers each: frequency and " +
                  std::to_string((need - 1) / 2) + " complex values); each point starts on a line of its own");
    }
    pending_.push_back(value);
    ++lineTaken_;
    return pending_.size() < need || EndPoint();
  }

  bool NoiseLine(size_t values) {
    if (section_ != Section::kNoise && values != 5) {
      return Fail("a noise parameter line holds 5 values (frequency, Fmin, |Gopt|, angle, Rn), not " +
                  std::to_string(values));
    }
    ++net_.noiseLines;
    return true;
  }

  std::complex<double> Value(double a, double b) const {
    if (net_.format == "RI") return {a, b};
    const double magnitude = net_.format == "DB" ? std::pow(10.0, a / 20.0) : a;
    const double angle = b * (kPi / 180.0);
    return {magnitude * std::cos(angle), magnitude * std::sin(angle)};
  }

  bool EndPoint() {
    const double f = pending_[0] * scale_;
    if (!std::isfinite(f)) return FailAt(pendingLine_, "frequency " + Number(pending_[0]) + " out of range");
    if (f < 0.0) return FailAt(pendingLine_, "negative frequency " + Number(pending_[0]));
    if (!net_.frequency.empty()) {
      const double last = net_.frequency.back();
      if (f < last) {
        return FailAt(pendingLine_, "frequencies not increasing: " + Number(f) + " Hz after " + Number(last) + " Hz");
      }
      if (f == last && ++net_.repeatedFrequencies <= TouchstoneLimits::kMaxNotes) {
        NoteAt(pendingLine_, "frequency " + Number(f) + " Hz repeats the one before");
      }
    }
    const size_t n = static_cast<size_t>(net_.ports);
    const size_t base = net_.s.size();
    net_.s.resize(base + n * n);
    std::complex<double>* m = net_.s.data() + base;
    size_t k = 1;
    for (size_t row = 0; row < n; ++row) {
      const size_t from = matrix_ == Matrix::kUpper ? row : 0;
      const size_t to = matrix_ == Matrix::kLower ? row + 1 : n;
      for (size_t column = from; column < to; ++column, k += 2) {
        const std::complex<double> v = Value(pending_[k], pending_[k + 1]);
        if (!std::isfinite(v.real()) || !std::isfinite(v.imag())) {
          return FailAt(pendingLine_, "value out of range: " + Number(pending_[k]) + " " + Number(pending_[k + 1]));
        }
        m[row * n + column] = v;
        if (matrix_ != Matrix::kFull) m[column * n + row] = v;  // a reciprocal network's other half
      }
    }
    // 1.x two-port files, and 2.0 ones that say 21_12, write 11 21 12 22.
    if (n == 2 && (net_.version == 1 || order_ == Order::k21_12)) std::swap(m[1], m[2]);
    net_.frequency.push_back(f);
    pending_.clear();
    return true;
  }

  bool EndRecord() {
    if (pending_.empty()) return true;
    return FailAt(pendingLine_, "frequency point with " + std::to_string(pending_.size()) + " of its " +
                                    std::to_string(ValuesPerPoint()) + " numbers (frequency and " +
                                    std::to_string((ValuesPerPoint() - 1) / 2) + " complex values)");
  }

  bool Finish() {
    if (section_ == Section::kReference) {
      return Fail("[Reference] needs " + std::to_string(net_.ports) + " values, the file ends after " +
                  std::to_string(references_.size()));
    }
    if (!EndRecord()) return false;
    if (net_.version == 2) {
      if (section_ == Section::kHeader || section_ == Section::kInformation) return FailAt(0, "no [Network Data]");
      if (section_ != Section::kEnd) net_.notes.push_back("no [End] line");
      if (static_cast<long>(net_.frequency.size()) != frequencies_) {
        return FailAt(frequenciesLine_, "[Number of Frequencies] says " + std::to_string(frequencies_) +
                                            ", the file holds " + std::to_string(net_.frequency.size()));
      }
    }
    if (net_.frequency.empty()) return FailAt(0, "no frequency points");
    if (net_.repeatedFrequencies > TouchstoneLimits::kMaxNotes) {
      net_.notes.push_back(std::to_string(net_.repeatedFrequencies) + " repeated frequencies in all, the first " +
                           std::to_string(TouchstoneLimits::kMaxNotes) + " listed");
    }
    if (unlistedNotes_ > 0) net_.notes.push_back(std::to_string(unlistedNotes_) + " further notes not listed");
    if (net_.reference.empty()) net_.reference.assign(static_cast<size_t>(net_.ports), reference_);
    return true;
  }

  static constexpr size_t kHeld = 6;

  const std::string& name_;
  TouchstoneNetwork& net_;
  const TouchstoneLimits& limits_;
  int line_ = 1;  // the line being read
  unsigned long long bytes_ = 0;
  bool done_ = false;
  bool afterCr_ = false;
  Mode mode_ = Mode::kStart;
  Mode modeBeforeComment_ = Mode::kStart;
  std::string comment_;  // its first kilobyte
  std::string whole_;
  std::string word_;
  size_t wordLength_ = 0;
  size_t lineValues_ = 0;  // numbers on this data line so far
  size_t lineTaken_ = 0;   // of them, into frequency points
  bool lineDecided_ = false;
  bool lineNoise_ = false;
  double held_[kHeld] = {};
  size_t unlistedNotes_ = 0;
  std::string deferred_;  // the first fault of this data line's values
  bool firstLine_ = false;
  bool started_ = false;
  bool version1_ = false;  // the file does not start with [Version]
  bool sawVersion_ = false;
  bool sawOptions_ = false;
  bool noise_ = false;  // 1.x two-port noise parameters reached
  bool sawPortImpedance_ = false;
  Section section_ = Section::kHeader;
  Matrix matrix_ = Matrix::kFull;
  Order order_ = Order::kUnset;
  long frequencies_ = -1;
  int frequenciesLine_ = 0;
  double scale_ = 1e9;
  std::complex<double> reference_{50.0, 0.0};
  std::vector<std::complex<double>> references_;
  std::vector<double> pending_;
  int pendingLine_ = 0;
};

const Reader::KeywordHandler Reader::kKeywordHandlers[11] = {
    {"NUMBER OF PORTS", &Reader::NumberOfPorts},
    {"TWO-PORT DATA ORDER", &Reader::TwoPortDataOrder},
    {"NUMBER OF FREQUENCIES", &Reader::NumberOfFrequencies},
    {"NUMBER OF NOISE FREQUENCIES", &Reader::NumberOfNoiseFrequencies},
    {"MATRIX FORMAT", &Reader::MatrixFormat},
    {"REFERENCE", &Reader::Reference},
    {"MIXED-MODE ORDER", &Reader::MixedModeOrder},
    {"BEGIN INFORMATION", &Reader::BeginInformation},
    {"NETWORK DATA", &Reader::NetworkData},
    {"NOISE DATA", &Reader::TooEarly},
    {"END", &Reader::TooEarly},
};

}  // namespace

int TouchstonePortsFromName(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return 0;
  const std::string ext = Upper(name.substr(dot + 1));
  if (ext.size() < 3 || ext.size() > 5 || ext.front() != 'S' || ext.back() != 'P') return 0;
  long ports = 0;
  if (!ParseCount(ext.substr(1, ext.size() - 2), ports)) return 0;
  return ports >= 1 && ports <= TouchstoneNetwork::kMaxPorts ? static_cast<int>(ports) : 0;
}

namespace {

std::string Size(unsigned long long bytes) {
  if (bytes % (1ull << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

bool TooLarge(const std::string& name, unsigned long long bytes, const TouchstoneLimits& limits, std::string& error) {
  if (bytes <= limits.maxBytes) return false;
  error = name + ": more than " + Size(limits.maxBytes) + ", the most read from one Touchstone file";
  return true;
}

bool Refuse(const std::string& why, TouchstoneNetwork& network, std::string& error) {
  error = why;
  network = TouchstoneNetwork();
  return false;
}

}  // namespace

bool ReadTouchstone(const std::string& text, const std::string& name, TouchstoneNetwork& network, std::string& error,
                    const TouchstoneLimits& limits) {
  if (TooLarge(name, text.size(), limits, error)) return Refuse(error, network, error);
  TouchstoneNetwork read;
  Reader reader(name, read, limits);
  if (!reader.Feed(text.data(), text.size()) || !reader.End()) return Refuse(reader.error, network, error);
  network = std::move(read);
  return true;
}

bool ReadTouchstoneFile(const std::string& path, TouchstoneNetwork& network, std::string& error,
                        const TouchstoneLimits& limits) {
  // What the path names is looked at before it is opened: opening a FIFO
  // for reading waits for a writer, and a device may never end.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return Refuse(path + ": cannot open the file", network, error);
  if (S_ISDIR(info.st_mode)) return Refuse(path + ": is a directory", network, error);
  if (!S_ISREG(info.st_mode)) {
    return Refuse(path + ": not a regular file (a FIFO, a device or a socket): only a file can be read", network,
                  error);
  }
  if (TooLarge(path, static_cast<unsigned long long>(info.st_size), limits, error))
    return Refuse(error, network, error);
  // Opened without waiting, and checked again: the path may have changed
  // since it was looked at.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Refuse(path + ": cannot open the file", network, error);
  struct stat opened {};
  if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    close(fd);
    return Refuse(path + ": not a regular file (a FIFO, a device or a socket): only a file can be read", network,
                  error);
  }
  TouchstoneNetwork read;
  Reader reader(path, read, limits);
  std::vector<char> buffer(1 << 16);
  unsigned long long total = 0;
  bool ok = true;
  while (ok && !reader.Done()) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = path + ": cannot read the file: " + std::strerror(errno);
      ok = false;
      break;
    }
    if (n == 0) break;
    total += static_cast<unsigned long long>(n);
    // A file that grows while it is read is held to the same cap.
    if (TooLarge(path, total, limits, error)) {
      ok = false;
      break;
    }
    ok = reader.Feed(buffer.data(), static_cast<size_t>(n));
    if (!ok) error = reader.error;
  }
  close(fd);
  if (ok && !reader.End()) {
    error = reader.error;
    ok = false;
  }
  if (!ok) return Refuse(error, network, error);
  network = std::move(read);
  return true;
}

std::string WriteTouchstone(const TouchstoneNetwork& network, const std::vector<std::string>& comments) {
  std::string text;
  char buffer[160];
  for (const std::string& comment : comments) text += "! " + comment + "\n";
  const double reference = network.reference.empty() ? 50.0 : network.reference[0].real();
  std::snprintf(buffer, sizeof buffer, "# GHz S RI R %.6g\n", reference);
  text += buffer;
  const int n = network.ports;
  for (size_t point = 0; point < network.Points(); ++point) {
    std::snprintf(buffer, sizeof buffer, "%-12.10g", network.frequency[point] / 1e9);
    text += buffer;
    for (int row = 1; row <= n; ++row) {
      for (int column = 1; column <= n; ++column) {
        // Two ports: the version 1 order 11, 21, 12, 22, on one line.
        const std::complex<double> v = n == 2 ? network.S(point, column, row) : network.S(point, row, column);
        if (n > 2 && column > 1 && (column - 1) % 4 == 0) text += "\n            ";
        std::snprintf(buffer, sizeof buffer, " % .8e % .8e", v.real(), v.imag());
        text += buffer;
      }
      if (n > 2 || row == n) text += "\n";
      if (n > 2 && row < n) text += "            ";
    }
  }
  return text;
}
