#include "IbisParser/sections/TestData.h"

#include <unordered_set>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/Model.h"
#include "amiparam/Msg.h"

namespace {

// The sections of the file being read, kept with its description (gParse).
std::vector<TEST_SECTION>& Sections(PARSE_CONTEXT& ctx) {
  if (!ctx.testSections) ctx.testSections = new std::vector<TEST_SECTION>();
  return *ctx.testSections;
}

}  // namespace

void TEST_Line(PARSE_CONTEXT& ctx, bool load, int kind, int id, const char* text) {
  if (kind == PARSE_LINE_KEYWORD) {
    if (id != KEY_TEST_DATA && id != KEY_TEST_LOAD) return;  // the waveform tables of a [Test Data]
    TEST_SECTION section;
    section.load = load;
    std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
    if (!words.empty()) section.name = words[0];
    section.line = gulLineNumber;
    Sections(ctx).push_back(section);
    return;
  }
  std::vector<TEST_SECTION>& sections = Sections(ctx);
  if (sections.empty() || sections.back().load != load) return;
  TEST_SECTION& section = sections.back();
  std::vector<std::string> words = LINE_AssignWords(text);
  if (words.size() < 2) return;
  const std::string& value = words[1];
  const char* name = words[0].c_str();
  // IBIS 4.0 §6 [Test Data] and [Test Load]: Test_data_type and Test_load_type
  // are Single_ended or Differential.
  if (CMN_EqualNoCase(name, load ? "Test_load_type" : "Test_data_type")) {
    section.type = value;
    if (!CMN_EqualNoCase(value.c_str(), "Single_ended") && !CMN_EqualNoCase(value.c_str(), "Differential"))
      CHECK_Report(5260, load ? "Test Load" : "Test Data", section.name.c_str(), name, value.c_str());
  } else if (!load && CMN_EqualNoCase(name, "Driver_model")) {
    section.driverModel = value, section.driverLine = gulLineNumber;
  } else if (!load && CMN_EqualNoCase(name, "Driver_model_inv")) {
    section.driverModelInv = value, section.driverInvLine = gulLineNumber;
  } else if (!load && CMN_EqualNoCase(name, "Test_load")) {
    section.testLoad = value, section.testLoadLine = gulLineNumber;
  }
}

void TEST_CheckFile(PARSE_CONTEXT& ctx, const MODEL* models) {
  std::unordered_set<std::string> modelNames, loads;
  for (const MODEL* m = models; m; m = m->next)
    if (m->name) modelNames.insert(LINE_Lower(m->name));
  const std::vector<TEST_SECTION>& sections = Sections(ctx);
  for (const TEST_SECTION& s : sections)
    if (s.load) loads.insert(LINE_Lower(s.name));
  for (const TEST_SECTION& s : sections) {
    if (s.load) continue;
    const char* name = s.name.c_str();
    // IBIS 4.0 §6 [Test Data]: Driver_model and Test_load are required and
    // name a [Model] and a [Test Load] of the file; Driver_model_inv, when
    // given, a [Model].
    if (s.driverModel.empty()) CHECK_ReportAt(s.line, 5262, name, "Driver_model");
    if (s.testLoad.empty()) CHECK_ReportAt(s.line, 5262, name, "Test_load");
    if (!s.driverModel.empty() && !modelNames.count(LINE_Lower(s.driverModel)))
      CHECK_ReportAt(s.driverLine, 5261, name, "Driver_model", s.driverModel.c_str(), "[Model]");
    if (!s.driverModelInv.empty() && !modelNames.count(LINE_Lower(s.driverModelInv)))
      CHECK_ReportAt(s.driverInvLine, 5261, name, "Driver_model_inv", s.driverModelInv.c_str(), "[Model]");
    if (!s.testLoad.empty() && !loads.count(LINE_Lower(s.testLoad)))
      CHECK_ReportAt(s.testLoadLine, 5261, name, "Test_load", s.testLoad.c_str(), "[Test Load]");
  }
}
