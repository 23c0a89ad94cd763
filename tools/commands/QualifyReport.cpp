#include "tools/commands/QualifyReport.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

long Count(const QualifyRun& run, Verdict verdict) {
  long n = 0;
  for (const CheckResult& result : run.results) n += result.verdict == verdict;
  return n;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Base64(const std::string& bytes) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += {digits[v >> 18], digits[(v >> 12) & 63], digits[(v >> 6) & 63], digits[v & 63]};
  }
  if (i < bytes.size()) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
    out += {digits[v >> 18], digits[(v >> 12) & 63], i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=', '='};
  }
  return out;
}

const char* kStyle =
    "body{font-family:'DejaVu Sans',sans-serif;margin:2em;color:#222;max-width:70em}"
    "table{border-collapse:collapse;width:100%}td,th{border-bottom:1px solid #ddd;padding:.4em;text-align:left;"
    "vertical-align:top}th{background:#f4f4f4}.v{font-weight:bold;font-family:monospace}"
    ".PASS{color:#1a7f37}.WARN{color:#9a6700}.FAIL{color:#cf222e}.SKIP{color:#777}"
    ".expects{color:#666;font-size:.85em}figure{margin:1em 0}figcaption{font-size:.9em;color:#444}";

std::string Figures(const CheckResult& result) {
  std::string html;
  for (const QualifyFigure& figure : result.figures) {
    const std::string png = LinePlot::Png(figure);
    if (png.empty()) continue;
    html += "<figure><img alt=\"" + Escaped(figure.title) +
            "\" width=\"720\" height=\"300\" src=\"data:image/png;base64," + Base64(png) + "\"><figcaption>" +
            Escaped(result.id + ": " + figure.title) + "</figcaption></figure>\n";
  }
  return html;
}

}  // namespace

std::string QualifyReport::Line(const CheckResult& result) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, " (%.2f s)", result.seconds);
  char head[64];
  std::snprintf(head, sizeof head, "%-4s  %-28s ", VerdictWord(result.verdict), result.id.c_str());
  return head + result.evidence + (result.verdict == Verdict::Skip ? "" : seconds);
}

std::string QualifyReport::Summary(const QualifyRun& run) {
  char text[160];
  std::snprintf(text, sizeof text, "%zu checks: %ld passed, %ld warnings, %ld failed, %ld skipped in %.1f s",
                run.results.size(), Count(run, Verdict::Pass), Count(run, Verdict::Warn), Count(run, Verdict::Fail),
                Count(run, Verdict::Skip), run.seconds);
  return text;
}

bool QualifyReport::AnyFailed(const QualifyRun& run) { return Count(run, Verdict::Fail) > 0; }

std::string QualifyReport::Json(const QualifyRun& run) {
  nlohmann::ordered_json doc;
  doc["library"] = run.library;
  doc["ami"] = run.ami;
  doc["seconds"] = run.seconds;
  doc["summary"] = {{"checks", run.results.size()},
                    {"passed", Count(run, Verdict::Pass)},
                    {"warnings", Count(run, Verdict::Warn)},
                    {"failed", Count(run, Verdict::Fail)},
                    {"skipped", Count(run, Verdict::Skip)}};
  doc["checks"] = nlohmann::ordered_json::array();
  for (const CheckResult& result : run.results) {
    doc["checks"].push_back({{"id", result.id},
                             {"verdict", VerdictWord(result.verdict)},
                             {"evidence", result.evidence},
                             {"expects", result.expects},
                             {"seconds", result.seconds}});
  }
  return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string QualifyReport::Html(const QualifyRun& run) {
  std::string html = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>tessalune qualify: " +
                     Escaped(run.library) + "</title><style>" + kStyle + "</style></head><body>\n";
  html += "<h1>tessalune qualify</h1>\n<p>Library <code>" + Escaped(run.library) + "</code>, parameters <code>" +
          Escaped(run.ami) + "</code>.</p>\n<p><strong>" + Escaped(Summary(run)) + "</strong></p>\n";
  html += "<table><tr><th>verdict</th><th>check</th><th>evidence</th></tr>\n";
  for (const CheckResult& result : run.results) {
    const std::string word = VerdictWord(result.verdict);
    html += "<tr><td class=\"v " + word + "\">" + word + "</td><td><code>" + Escaped(result.id) + "</code></td><td>" +
            Escaped(result.evidence) + "<div class=\"expects\">" + Escaped(result.expects) + "</div></td></tr>\n";
  }
  html += "</table>\n<h2>Figures</h2>\n";
  for (const CheckResult& result : run.results) html += Figures(result);
  return html + "</body></html>\n";
}
