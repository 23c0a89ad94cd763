// `tessalune check`: exit status by verdict, the printer's output forms, -q.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/NestedText.h"
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"
#include "tools/commands/CheckCommand.h"

namespace fs = std::filesystem;

namespace {

class CheckCli : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) { return "'" + folder_.Write(name, text) + "'"; }
  TestFolder folder_{"checkcli"};
  const fs::path& dir_ = folder_.path;
};

const char kGood[] =
    "[IBIS Ver] 3.2\n[File Name] good.ibs\n[File Rev] 1\n[Date] 1 May 2026\n[Source] s\n[Notes] n\n[End]\n";

}  // namespace

TEST_F(CheckCli, PassedFileExitsZero) {
  std::string good = Write("good.ibs", kGood);
  CliResult r = RunCli("check -q " + good);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "Errors  : 0\n\nFile Passed\n");
  r = RunCli("check " + good);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "\nChecking " + (dir_ / "good.ibs").string() +
                          " for IBIS 3.2 Compatibility...\n\nErrors  : 0\n\nFile Passed\n");
}

TEST_F(CheckCli, FailedFilesExitOneAndTheSummaryCoversAllFiles) {
  std::string good = Write("good.ibs", kGood);
  std::string bad = Write("bad.pkg", "[IBIS Ver] 3.2\n[File Name] bad.pkg\n[File Rev] 1\n[Component] c\n");
  CliResult r = RunCli("check -q " + good + " " + bad);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output,
            "ERROR (line    4) - Illegal keyword for a '.pkg' file.\n"
            "ERROR - Required keyword 'End' not found.\n"
            "\nErrors  : 2\n\nFile Failed\n");
  // A file that cannot be found fails too.
  r = RunCli("check -q '" + (dir_ / "missing.ebd").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("Unable To Open File"), std::string::npos);
}

TEST_F(CheckCli, WarningsAloneStillPass) {
  std::string tabs =
      Write("tabs.ibs",
            "[IBIS Ver] 3.2\n[File Name] tabs.ibs\n[File Rev]\t1\n[Date] 1 May 2026\n[Source] s\n[Notes] n\n[End]\n");
  CliResult r = RunCli("check -q " + tabs);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output,
            "WARNING (line    3) - IBIS files should not contain tab characters.\n"
            "\nErrors  : 0\nWarnings: 1\n\nFile Passed\n");
}

// An .ami file whose parameter groups nest a million deep is checked to the
// bottom, on its own and through the .ibs file that names it.
TEST_F(CheckCli, AmiFilesNestedAMillionDeepAreChecked) {
  const std::string reserved =
      "(Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) (Description \"i\"))"
      " (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"g\")))";
  std::string ami = Write("deep.ami", "(m " + reserved + "\n(Model_Specific " +
                                          Nest(kDeepNesting, "(gain (Usage Sometimes) (Type Float))") + "))\n");
  const std::string verdict =
      "ERROR - Illegal Usage value Sometimes specified for gain\n\nErrors  : 1\n\nFile Failed\n";
  CliResult r = RunCli("check -q " + ami);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, verdict);
  Write("m.so", "");
  std::string ibs = Write("deep.ibs",
                          "[IBIS Ver] 5.0\n[File Name] deep.ibs\n[File Rev] 1\n[Date] 1 May 2026\n[Source] s\n[Notes] "
                          "n\n[Model] m\nModel_type Terminator\n"
                          "C_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Algorithmic Model]\n"
                          "Executable Linux_gcc_64 m.so deep.ami\n[End Algorithmic Model]\n[End]\n");
  r = RunCli("check -q " + ibs);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, verdict);
}

// Binary bytes: a hundred reports per file, then a note, and exact counts.
TEST_F(CheckCli, BinaryFilesPrintAHundredReportsAndCountTheRest) {
  std::string bytes;  // 715 line feeds, 4285 illegal bytes: six on each line after the first
  for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i % 7 == 0 ? '\n' : 0x80 + i % 100);
  CliResult r = RunCli("check -q " + Write("binary.ami", bytes));
  EXPECT_EQ(r.status, 1);
  const std::string report = "ERROR (line   18) -\n    Found illegal non-7-bit ASCII character (code ";
  const size_t last = r.output.rfind(report);
  ASSERT_NE(last, std::string::npos) << r.output.substr(0, 1000);
  // The 100th report, the note at the 101st, nothing more but the verdict.
  EXPECT_EQ(r.output.substr(last + report.size()),
            "90).  Converting to space.\n"
            "NOTE (line   18) - More than 100 illegal characters in this file: further ones are counted but not "
            "shown.\n\nErrors  : 4285\n\nFile Failed\n");
  EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 2 * 100 + 5);
}

TEST_F(CheckCli, DirectoriesInsteadOfFilesFail) {
  // An .ami that is a directory, on its own and named by an .ibs.
  fs::create_directory(dir_ / "params.ami");
  CliResult r = RunCli("check -q '" + (dir_ / "params.ami").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, "ERROR - Unable To Read File '" + (dir_ / "params.ami").string() +
                          "': it is a directory, not a regular file\n\nErrors  : 1\n\nFile Failed\n");
  Write("m.so", "");
  const std::string ibs = Write("m.ibs",
                                "[IBIS Ver] 5.0\n[File Name] m.ibs\n[File Rev] 1\n[Component] c\n"
                                "[Manufacturer] x\n[Package]\nR_pkg 0 NA NA\nL_pkg 0 NA NA\nC_pkg 0 NA NA\n"
                                "[Pin] signal_name model_name\n1 out m\n[Model] m\nModel_type Output\n"
                                "C_comp 1p NA NA\n[Voltage Range] 1 NA NA\n[Pulldown]\n-1 -1 NA NA\n1 1 NA NA\n"
                                "[Pullup]\n-1 1 NA NA\n1 -1 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\n"
                                "dV/dt_f 1/1n NA NA\n[Algorithmic Model]\n"
                                "Executable Linux_gcc_64 m.so params.ami\n[End Algorithmic Model]\n[End]\n");
  r = RunCli("check -q " + ibs);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("ERROR - Unable To Read File '" + (dir_ / "params.ami").string() +
                          "': it is a directory, not a regular file\n"),
            std::string::npos)
      << r.output;
}

TEST_F(CheckCli, UsageErrorsExitTwo) {
  EXPECT_EQ(RunCli("check").status, 2);
  EXPECT_EQ(RunCli("check -q").status, 2);
  CliResult r = RunCli("check notes.txt", true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("notes.txt"), std::string::npos);
  EXPECT_EQ(RunCli("check --no-such-option x.ibs").status, 2);
}

TEST_F(CheckCli, ListChecksPrintsTheTableOfDocsChecks) {
  CliResult r = RunCli("check --list-checks");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output.rfind("# Checks of components, package models, boards, interconnect and models\n", 0), 0u)
      << r.output;
  EXPECT_NE(r.output.find("| 5007 | ERROR |"), std::string::npos);
}

TEST(CheckModeOf, KindByExtensionWithoutRegardToCase) {
  EXPECT_EQ(CheckModeOf("a/b.IBS"), 1);
  EXPECT_EQ(CheckModeOf("b.pkg"), 2);
  EXPECT_EQ(CheckModeOf("dir.ibs/b.Ebd"), 3);
  EXPECT_EQ(CheckModeOf("b.AMI"), 4);
  EXPECT_EQ(CheckModeOf("dir.ibs/b"), 0);
  EXPECT_EQ(CheckModeOf("b.txt"), 0);
}

// --json: one document with, per file, the description the checker built
// and every diagnostic with its id, severity, line and text.
TEST_F(CheckCli, JsonDocumentHoldsTheDescriptionAndTheDiagnostics) {
  const std::string ibs = Write("t.ibs",
                                "[IBIS Ver] 7.2\n[File Name] t.ibs\n[File Rev] 1\n[Component] chip\n[Manufacturer] me\n"
                                "[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                                "[Pin] signal_name model_name\n1 a sel\n2 b gone\n3 vdd POWER\n"
                                "[Model Selector] sel\nbuf fast\n[Model] buf\nModel_type Output\nC_comp 1p NA NA\n"
                                "[Voltage Range] 3.3 NA NA\n[Pulldown]\n-3.3 -66m NA NA\n6.6 132m NA NA\n"
                                "[Pullup]\n-3.3 66m NA NA\n6.6 -132m NA NA\n[Ramp]\nR_load = 50\n"
                                "dV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[End]\n");
  const std::string ami =
      Write("m.ami", "(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean))))");
  CliResult r = RunCli("check --json " + ibs + " " + ami);
  EXPECT_EQ(r.status, 1);
  const nlohmann::json doc = nlohmann::json::parse(r.output);
  ASSERT_EQ(doc["files"].size(), 2u);
  const nlohmann::json& file = doc["files"][0];
  EXPECT_EQ(file["kind"], "ibs");
  EXPECT_EQ(file["version"], "7.2");
  ASSERT_EQ(file["components"].size(), 1u);
  const nlohmann::json& chip = file["components"][0];
  EXPECT_EQ(chip["name"], "chip");
  EXPECT_EQ(chip["manufacturer"], "me");
  ASSERT_EQ(chip["pins"].size(), 3u);
  EXPECT_EQ(chip["pins"][1]["model"], "gone");
  EXPECT_EQ(chip["pins"][1]["line"], 12);
  EXPECT_EQ(chip["package"]["L_pkg"]["typ"].get<double>(), 1e-9);
  EXPECT_EQ(chip["package"]["L_pkg"]["min"], "NA");
  EXPECT_EQ(file["models"][0]["name"], "buf");
  EXPECT_EQ(file["models"][0]["model_type"], "Output");
  // The model's data: subparameters, ranges, table summaries, [Ramp].
  const nlohmann::json& buf = file["models"][0];
  EXPECT_EQ(buf["subparameters"]["C_comp"][0], "1p");
  EXPECT_EQ(buf["voltage_range"]["typ"].get<double>(), 3.3);
  ASSERT_EQ(buf["tables"].size(), 2u);
  EXPECT_EQ(buf["tables"][1]["keyword"], "Pullup");
  EXPECT_EQ(buf["tables"][1]["rows"], 2);
  EXPECT_EQ(buf["tables"][1]["line"], 23);
  EXPECT_EQ(buf["ramp"]["R_load"].get<double>(), 50.0);
  EXPECT_EQ(buf["ramp"]["dV/dt_r"]["typ"]["dt"].get<double>(), 1e-9);
  EXPECT_TRUE(file["submodels"].empty());
  EXPECT_EQ(file["model_selectors"][0]["entries"][0]["model"], "buf");
  // The small file draws the notes on its driver's test load and waveforms
  // and on its header (5725-5727); this is about the document, so they are
  // left out.
  nlohmann::json diagnostics = nlohmann::json::array();
  for (const nlohmann::json& d : file["diagnostics"])
    if (d["id"] < 5725 || d["id"] > 5727) diagnostics.push_back(d);
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_EQ(diagnostics[0]["id"], 5007);
  EXPECT_EQ(diagnostics[0]["severity"], "ERROR");
  EXPECT_EQ(diagnostics[0]["line"], 12);
  EXPECT_EQ(diagnostics[0]["text"],
            "Pin '2' names model 'gone', which is neither a [Model] nor a [Model Selector] of the file");
  EXPECT_EQ(file["errors"], 1);
  EXPECT_EQ(file["passed"], false);
  // The .ami file on its own: its diagnostics, without a line form.
  const nlohmann::json& amiFile = doc["files"][1];
  EXPECT_EQ(amiFile["kind"], "ami");
  EXPECT_EQ(amiFile["diagnostics"][0]["text"], "Parameter Default is mandatory for Init_Returns_Impulse");
  EXPECT_TRUE(amiFile["diagnostics"][0]["line"].is_null());
  EXPECT_EQ(doc["errors"].get<int>(), 1 + amiFile["errors"].get<int>());
  EXPECT_EQ(doc["passed"], false);
  // Without --json the output is the printer's, as before.
  EXPECT_EQ(RunCli("check -q " + ibs).output,
            "ERROR (line   12) - Pin '2' names model 'gone', which is neither a [Model] nor a [Model Selector] of the "
            "file\nNOTE - The file header gives no [Date], [Source] or [Notes]\nNOTE (line   16) - [Model] 'buf' of "
            "Model_type Output gives no Vmeas, and Cref or Rref: its timing test "
            "load is incomplete\nNOTE (line   16) - [Model] 'buf' of Model_type Output has 0 [Rising Waveform] and 0 "
            "[Falling Waveform] tables, short of two each\n\nErrors  : 1\n\nFile Failed\n");
}
