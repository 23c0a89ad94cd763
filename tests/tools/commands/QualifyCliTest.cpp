// `tessalune qualify` as a user runs it: our two models pass every check
// that applies; each planted-fault model fails the check meant for its fault
// and passes every other; the page is self-contained; the program itself
// never loads the library.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

namespace {

std::string Planted(const std::string& fault) { return std::string(PLANTED_DIR) + "/libplanted_" + fault + ".so"; }

// Each check's verdict from `qualify --json`.
std::map<std::string, std::string> Verdicts(const CliResult& r) {
  std::map<std::string, std::string> verdicts;
  const nlohmann::json doc = nlohmann::json::parse(r.output);
  for (const nlohmann::json& check : doc["checks"]) verdicts[check["id"]] = check["verdict"];
  return verdicts;
}

// Every check PASS but those in `failing` (FAIL) and `skipped` (SKIP; the
// .ibs check too when no --ibs is given).
void ExpectVerdicts(const std::string& args, int status, const std::set<std::string>& failing,
                    std::set<std::string> skipped = {}) {
  if (args.find("--ibs") == std::string::npos) skipped.insert("files.ibs-executable");
  const CliResult r = RunCli("qualify --json " + args);
  ASSERT_EQ(r.status, status) << args << "\n" << r.output;
  const std::map<std::string, std::string> verdicts = Verdicts(r);
  EXPECT_EQ(verdicts.size(), 15u);
  for (const auto& [id, verdict] : verdicts) {
    const std::string expected = failing.count(id) ? "FAIL" : skipped.count(id) ? "SKIP" : "PASS";
    EXPECT_EQ(verdict, expected) << args << ": " << id << "\n" << r.output;
  }
}

}  // namespace

#ifdef TESSALUNE_TX_LIBRARY
TEST(QualifyCli, OurTransmitterPassesEveryCheckThatApplies) {
  const std::string ibis =
      " --ami " TESSALUNE_SOURCE_DIR "/ibis/tessalune_tx.ami --ibs " TESSALUNE_SOURCE_DIR "/ibis/tessalune_tx.ibs";
  ExpectVerdicts(TESSALUNE_TX_LIBRARY + ibis, 0, {}, {"consistency.step-response"});
}
#endif

#ifdef TESSALUNE_RX_LIBRARY
TEST(QualifyCli, OurReceiverPassesEveryCheckAtItsLinearSetting) {
  const std::string ibis =
      " --ami " TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ami --ibs " TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ibs";
  ExpectVerdicts(TESSALUNE_RX_LIBRARY + ibis + " --linear dfe_taps=0", 0, {});
  // Adapting, its DFE makes AMI_GetWave differ from AMI_Init's response.
  ExpectVerdicts(std::string(TESSALUNE_RX_LIBRARY) + " --ami " TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ami", 1,
                 {"consistency.step-response"});
}
#endif

// The planted faults, each caught by its check and by no other; the sound
// build of the same model passes everything.
TEST(QualifyCli, EachPlantedFaultIsCaughtByItsCheckAlone) {
  const std::map<std::string, std::string> faults = {
      {"sound", ""},
      {"clock_overrun", "getwave.clock-times"},
      {"global_state", "instances.interleaved"},
      {"leak", "instances.init-close-cycles"},
      {"block_size", "getwave.block-sizes"},
      {"crash", "init.parameter-corners"},
      {"hang", "init.sample-intervals"},
      {"mismatch", "consistency.step-response"},
      {"bad_output", "init.output-parameters"},
      {"stray_library", "exports"},
      {"exit", "init.parameter-corners"},
      {"corners", "init.parameter-corners"},
  };
  for (const auto& [fault, check] : faults) {
    std::set<std::string> failing;
    if (!check.empty()) failing.insert(check);
    ExpectVerdicts(Planted(fault) + " --ami " PLANTED_AMI " --timeout 3", check.empty() ? 0 : 1, failing);
  }
}

TEST(QualifyCli, SaysHowTheModelDiedAndWhereInOneLine) {
  const std::string ami = " --ami " PLANTED_AMI " --timeout 2";
  CliResult r = RunCli("qualify " + Planted("clock_overrun") + ami);
  EXPECT_NE(r.output.find("FAIL  getwave.clock-times          the model crashed: it was killed by signal SIGSEGV "
                          "(Segmentation fault) at address 0x"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("= entry 1025 of the clock-times array of 1025 entries (written past its end) during "
                          "AMI_GetWave on samples 0 to 1023"),
            std::string::npos)
      << r.output;
  r = RunCli("qualify " + Planted("hang") + ami);
  EXPECT_NE(r.output.find("the model was still running after the time limit of 2 s and was stopped during AMI_Init "
                          "at 10.6 samples/UI"),
            std::string::npos)
      << r.output;
  r = RunCli("qualify " + Planted("exit") + ami);
  EXPECT_NE(r.output.find("the process ended inside the model, which called exit(3) during AMI_Init at mode=2"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("15 checks: 13 passed, 0 warnings, 1 failed, 1 skipped in "), std::string::npos);
}

// After a death at one corner the corners after it are still tried: the
// FAIL names each that ends the process, and mode=2, after both, passes.
TEST(QualifyCli, EveryFailingCornerIsNamed) {
  const CliResult r = RunCli("qualify " + Planted("corners") + " --ami " PLANTED_AMI " --timeout 3");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(
      r.output.find("FAIL  init.parameter-corners       2 of 6 settings fail: the model crashed: it was killed by "
                    "signal SIGSEGV (Segmentation fault) at address 0x0 during AMI_Init at gain=1.5; the process "
                    "ended inside the model, which called exit(4) during AMI_Init at mode=1"),
      std::string::npos)
      << r.output;
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// A model that allocates without end meets the memory limit in its child.
// (Not under a sanitizer, whose processes take no address-space limit.)
TEST(QualifyCli, RunawayAllocationMeetsTheMemoryLimit) {
  const CliResult r = RunCli("qualify " + Planted("runaway") + " --ami " PLANTED_AMI " --memory 512");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("FAIL  init.parameter-corners       out of memory (std::bad_alloc left the model) during "
                          "AMI_Init at mode=2"),
            std::string::npos)
      << r.output;
}
#endif

TEST(QualifyCli, OnlyTheChildProcessesLoadTheLibrary) {
  TestFolder folder;
  const std::string log = folder.path.string() + "/loads";
  // Run with the log set: each loading process writes "pid parent".
  const std::string command = "PLANTED_LOAD_LOG='" + log + "' '" TESSALUNE_CLI "' qualify " + Planted("sound") +
                              " --ami " PLANTED_AMI " --cycles 10 > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(log);
  std::set<long> pids;
  std::set<long> parents;
  long pid = 0;
  long parent = 0;
  while (in >> pid >> parent) pids.insert(pid), parents.insert(parent);
  EXPECT_EQ(pids.size(), 14u) << "one process per check";
  ASSERT_EQ(parents.size(), 1u) << "all started by the one qualify process";
  EXPECT_EQ(pids.count(*parents.begin()), 0u) << "the qualify process itself loaded the library";
}

TEST(QualifyCli, ThePageIsSelfContainedWithItsPictures) {
  TestFolder folder;
  const std::string page = folder.path.string() + "/page.html";
  const CliResult r = RunCli("qualify " + Planted("mismatch") + " --ami " PLANTED_AMI " --report " + page);
  EXPECT_EQ(r.status, 1);
  const std::string html = ReadFile(page);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  size_t pictures = 0;
  for (size_t at = html.find("src=\"data:image/png;base64,iVBORw0KGgo"); at != std::string::npos;
       at = html.find("src=\"data:image/png;base64,iVBORw0KGgo", at + 1))
    ++pictures;
  EXPECT_EQ(pictures, 3u) << "the output wave, the two step responses and their difference";
  EXPECT_EQ(html.find("http"), std::string::npos) << "nothing fetched from elsewhere";
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_NE(html.find("consistency.step-response</code></td><td>the step responses differ by at most 0.2 (-14.0 dB"),
            std::string::npos);
}

TEST(QualifyCli, RefusesWhatItCannotRunBeforeStartingAnything) {
  const std::string ami = " --ami " PLANTED_AMI;
  CliResult r = RunCli("qualify " + Planted("sound"), true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("give the library and --ami FILE"), std::string::npos) << r.output;
  r = RunCli("qualify /nonexistent.so" + ami, true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("the model library /nonexistent.so is not a readable file"), std::string::npos) << r.output;
  r = RunCli("qualify " + Planted("sound") + ami + " --param gain=7", true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("gain"), std::string::npos) << r.output;
  r = RunCli("qualify " + Planted("sound") + ami + " --linear nosuch=1", true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("--linear: "), std::string::npos) << r.output;
  r = RunCli("qualify " + Planted("sound") + ami + " --report /nonexistent/page.html", true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("cannot write /nonexistent/page.html"), std::string::npos) << r.output;
}

namespace {

// A stand-in for Wine that runs no probe: it does what `body` says with the
// report's path in $report (Wine's Z: path turned back).
std::string FakeWine(const TestFolder& folder, const std::string& body) {
  const std::string path = folder.path.string() + "/wine";
  std::ofstream(path) << "#!/bin/sh\nreport=$(printf '%s' \"$4\" | sed 's/^Z://; s/\\\\/\\//g')\n" << body << "\n";
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

}  // namespace

// A Windows DLL's probe runs under Wine; what comes back is read as a
// stranger's: a report that is none of ours, an end inside the model, a
// Wine that cannot start are each named, and the battery goes on.
TEST(QualifyCli, WhatComesBackFromWineIsCheckedBeforeItIsBelieved) {
  TestFolder folder;
  const std::string dll = folder.path.string() + "/model.dll";
  const std::string probe = folder.path.string() + "/tessalune-probe.exe";
  std::ofstream(dll) << "MZ not really";
  std::ofstream(probe) << "MZ not really";
  const std::string args = "qualify " + dll + " --ami " PLANTED_AMI " --probe " + probe + " --wine ";
  CliResult r = RunCli(args + FakeWine(folder, "printf 'GIF89a\\001 nonsense\\n' > \"$report\"; echo oops; exit 0"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("Qualifying " + dll +
                          " with " PLANTED_AMI " (a Windows DLL: each check in "
                          "tessalune-probe.exe under Wine)"),
            std::string::npos)
      << r.output;
  EXPECT_NE(
      r.output.find("FAIL  exports                      the probe program wrote no report of tessalune-probe (is "
                    "--probe tessalune-probe.exe of this version?); Wine exited with status 0, printing 'oops\\x0a'"),
      std::string::npos)
      << r.output;
  r = RunCli(args +
             FakeWine(folder, "printf 'probe tessalune-probe 1\\nstart AMI_Init at x\\n' > \"$report\"; exit 7"));
  EXPECT_NE(r.output.find("FAIL  exports                      the process ended inside the model, which called exit(7) "
                          "during AMI_Init at x"),
            std::string::npos)
      << r.output;
  r = RunCli(args + FakeWine(folder,
                             "printf 'probe tessalune-probe 1\\nstart AMI_Init at x\\n' > \"$report\"; kill -SEGV $$"));
  EXPECT_NE(r.output.find("FAIL  exports                      the probe's process (Wine) was killed by signal 11 "
                          "(Segmentation fault) during AMI_Init at x"),
            std::string::npos)
      << r.output;
  r = RunCli(args + folder.path.string() + "/no-such-wine", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(
      r.output.find("the check could not run: cannot run " + folder.path.string() + "/no-such-wine: No such file"),
      std::string::npos)
      << r.output;
}

TEST(QualifyCli, TheChecksPageIsTheBatterysOwnList) {
  const CliResult r = RunCli("qualify --list-checks");
  ASSERT_EQ(r.status, 0);
  std::ifstream in(std::string(TESSALUNE_SOURCE_DIR) + "/docs/QUALIFY.md", std::ios::binary);
  std::stringstream page;
  page << in.rdbuf();
  EXPECT_NE(page.str().find(r.output), std::string::npos)
      << "docs/QUALIFY.md is stale: its table is build/release/tools/tessalune qualify --list-checks";
}
