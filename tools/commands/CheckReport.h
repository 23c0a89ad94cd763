// The JSON document of `tessalune check --json`: per file, the description
// the checker built (components with their pins and tables, models with
// their type, model selectors) and every diagnostic (id, severity, line,
// text), with the totals. While a CheckReport collects, it listens to the
// diagnostic printer and to the file driver; the printed text goes nowhere.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

struct PARSE_CONTEXT;

class CheckReport {
 public:
  CheckReport();
  ~CheckReport();
  CheckReport(const CheckReport&) = delete;
  CheckReport& operator=(const CheckReport&) = delete;

  // Starts the entry of file `path` of checker mode `mode`; the diagnostics
  // and the description that follow belong to it.
  void BeginFile(const std::string& path, int mode);
  // Closes the entry: whether the file read to its end.
  void EndFile(bool read);

  // The whole document: {"files": [...], "errors": n, "warnings": n, "passed": bool}.
  nlohmann::json Document() const;

  // Listener entry points (amiparam/Msg.h, IbisParser/Parse.h).
  void OnDiagnostic(int level, int code, unsigned long line, const char* text);
  void OnDescription(const PARSE_CONTEXT& description);

 private:
  nlohmann::json files_ = nlohmann::json::array();
  nlohmann::json current_;
  int errorsBefore_ = 0, warningsBefore_ = 0;
  FILE* sink_ = nullptr;
  FILE* previousStream_ = nullptr;
};
