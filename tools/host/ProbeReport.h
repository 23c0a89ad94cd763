// What a qualifying probe tells the program that started it. The probe runs
// a model library in a child process; it writes one line per fact to a
// report file, straight through write(2), so that every line written before
// the model crashes, hangs or calls exit() is there for the parent to read:
//   start WHAT          the call about to be made (names the setting)
//   KEY VALUE ...       a measurement or a text (texts escaped, one line)
//   done                the probe finished
// The parent reads the file back with ProbeReport::Parse.
#pragma once

#include <map>
#include <string>
#include <vector>

class ProbeReport {
 public:
  // Child side: appends to the report file at `path`.
  bool Open(const std::string& path);
  void Line(const std::string& key, const std::string& text) const;
  void Number(const std::string& key, double value) const;
  void Start(const std::string& what) const {
    started_ = what;
    Line("start", what);
  }
  const std::string& Started() const { return started_; }
  // Fields escaped one by one and joined by tabs (Split takes them apart).
  void Fields(const std::string& key, const std::vector<std::string>& fields) const;
  // Numbers, blank-separated, at most `points` of them (every n-th, n
  // written first: Numbers gives it as the stride).
  void Values(const std::string& key, const std::vector<double>& values, size_t points = 1500) const;
  static std::string Exact(double value);
  static std::vector<std::string> Split(const std::string& fields);
  static std::vector<double> Numbers(const std::string& values, size_t* stride = nullptr);
  int Fd() const { return fd_; }

  // Parent side: the lines of a report, each key with its values in order.
  struct Lines {
    std::multimap<std::string, std::string> values;
    std::string lastStart;  // the last "start" line: the call a death interrupted
    bool done = false;
    std::string First(const std::string& key) const;
    std::vector<std::string> All(const std::string& key) const;
    double Number(const std::string& key, double otherwise) const;
  };
  static Lines Parse(const std::string& text);

  // Control characters and backslashes as escapes, at most `limit` bytes of
  // the text (with the length said when cut); Unescape undoes it.
  static std::string Escape(const std::string& text, size_t limit = 4096);
  static std::string Unescape(const std::string& text);

  ~ProbeReport();

 private:
  int fd_ = -1;
  mutable std::string started_;  // the last Start
};
