// Test support for the file checker: a fresh folder per test for the small
// files a test writes, and checking one of them with the messages captured.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "IbisParser/Parse.h"
#include "amiparam/Msg.h"
#include "tests/TestFolder.h"
#include "tests/amiparam/MsgCapture.h"

// A component with the keywords every component needs (one pin, POWER),
// for tests about other things.
inline std::string MinimalComponent(const std::string& name = "c") {
  return "[Component] " + name +
         "\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
         "[Pin] signal_name model_name\n1 vdd POWER\n";
}

// The lines after «[Model] name» of a complete model of type `type` (a
// Terminator, or an Output with its tables and [Ramp]; the tables sweep
// -Vcc to 2 Vcc, as 5706 asks), for tests about other things.
inline std::string ModelBody(const std::string& type = "Terminator") {
  std::string body = "Model_type " + type + "\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n";
  if (type == "Output")
    body +=
        "[Pulldown]\n-3.3 -66m NA NA\n6.6 132m NA NA\n[Pullup]\n-3.3 66m NA NA\n6.6 -132m NA NA\n"
        "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n";
  return body;
}

// `text` without the notes on what a file leaves out that a reader expects,
// a driver's timing test load (5725), its waveforms per edge (5726) and the
// header's [Date], [Source] and [Notes] (5727), which nearly every small
// file a test writes draws; a message in the printer's two-line form is one
// message.
inline std::string WithoutCompletenessNotes(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (end >= 2 && text.compare(end - 2, 2, "-\n") == 0 && text.compare(end, 4, "    ") == 0) {
      end = text.find('\n', end);
      end = end == std::string::npos ? text.size() : end + 1;
    }
    const std::string message = text.substr(at, end - at);
    const bool completenessNote = message.compare(0, 4, "NOTE") == 0 &&
                                  (message.find("its timing test load is incomplete") != std::string::npos ||
                                   message.find("tables, short of two each") != std::string::npos ||
                                   message.find("The file header gives no ") != std::string::npos);
    if (!completenessNote) out += message;
    at = end;
  }
  return out;
}

class CheckerFiles : public ::testing::Test {
 protected:
  void SetUp() override { gbParseQuiet = 1; }
  void TearDown() override { gbParseQuiet = 0; }

  // Writes `text` as file `name` of the test folder; returns its path.
  std::string Write(const std::string& name, const std::string& text) { return folder_.Write(name, text); }

  // Checks `path` in `mode`; returns what was printed. *result receives
  // PARSE_CheckFile's result when asked.
  std::string CheckPath(const std::string& path, int mode = PARSE_MODE_IBS, int* result = nullptr) {
    MsgCapture capture;
    int r = PARSE_CheckFile(path.c_str(), mode);
    if (result) *result = r;
    return keepCompletenessNotes_ ? capture.Text() : WithoutCompletenessNotes(capture.Text());
  }

  // The same on context `ctx`, which keeps what the check leaves in it.
  std::string CheckPathOn(PARSE_CONTEXT& ctx, const std::string& path, int mode = PARSE_MODE_IBS) {
    MsgCapture capture;
    PARSE_CheckFileOn(ctx, path.c_str(), mode);
    return keepCompletenessNotes_ ? capture.Text() : WithoutCompletenessNotes(capture.Text());
  }

  // Writes `text` as `name` and checks it.
  std::string Check(const std::string& text, const std::string& name = "t.ibs", int mode = PARSE_MODE_IBS,
                    int* result = nullptr) {
    return CheckPath(Write(name, text), mode, result);
  }

  // Writes `text` as "t.ibs" and checks it on `ctx`.
  std::string CheckOn(PARSE_CONTEXT& ctx, const std::string& text) { return CheckPathOn(ctx, Write("t.ibs", text)); }

  // A complete header for file "t.ibs" of version `version`, ready for more keywords.
  static std::string Header(const std::string& version = "4.2") {
    return "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1.0\n";
  }

  static std::string Component(const std::string& name = "c") { return MinimalComponent(name); }

  // Tests about other things than the completeness notes leave them out.
  bool keepCompletenessNotes_ = false;
  TestFolder folder_{"ibischeck"};
  const std::filesystem::path& dir_ = folder_.path;
};

// The messages with the printer's two-line form of mid-length texts undone,
// so that expectations read as one line each.
inline std::string FlatMessages(std::string text) {
  for (size_t at = text.find("-\n    "); at != std::string::npos; at = text.find("-\n    ", at))
    text.replace(at, 6, "- ");
  return text;
}

// While it lives, collects "id@line" (and the text) of every finding whose
// id is in [low, high), in the order printed, from the printer's listener;
// for tests about one range of checks in files that other checks also read.
// The completeness notes (5725-5727) are left out unless `completenessNotes`.
class RangeFindings {
 public:
  RangeFindings(int low, int high, bool completenessNotes = false)
      : low_(low), high_(high), completenessNotes_(completenessNotes) {
    MSG_SetListener(&RangeFindings::Listen, this);
  }
  ~RangeFindings() { MSG_SetListener(nullptr, nullptr); }
  RangeFindings(const RangeFindings&) = delete;
  RangeFindings& operator=(const RangeFindings&) = delete;
  std::string list, texts;

 private:
  static void Listen(int, int code, unsigned long line, const char* text, void* context) {
    RangeFindings* f = static_cast<RangeFindings*>(context);
    if (code < f->low_ || code >= f->high_ || (!f->completenessNotes_ && code >= 5725 && code <= 5727)) return;
    f->list += (f->list.empty() ? "" : " ") + std::to_string(code) + "@" + std::to_string(line);
    f->texts += std::string(text) + "\n";
  }
  int low_, high_;
  bool completenessNotes_;
};

// Number of times `needle` occurs in `text`.
inline int Count(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}
