// The report a qualifying probe writes in its child process and the parent
// reads back: texts survive escaping, the lines a crash leaves are read, and
// a model library's needed libraries are read from its bytes.
#include "tools/host/ProbeReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TestFolder.h"
#include "tools/host/LibraryNeeds.h"

TEST(ProbeReport, TextsAndFieldsComeBackAsWritten) {
  TestFolder folder;
  const std::string path = folder.path.string() + "/report";
  const char raw[] = "tab\there\nnew line \\x41 \x1b[31mred\x7f end\0.";
  const std::string hostile(raw, sizeof raw - 1);
  {
    ProbeReport report;
    ASSERT_TRUE(report.Open(path));
    report.Start("AMI_Init at mode=2");
    report.Fields("init", {"mode=2", "1", hostile, ""});
    report.Line("out-init", hostile);
    report.Values("figure", {1.5, -2.25, 3.0, 4.0, 5.0}, 3);
    report.Line("done", "");
  }
  const std::string text = ReadFile(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5) << "one line per fact, whatever the texts hold";
  const ProbeReport::Lines lines = ProbeReport::Parse(text);
  EXPECT_TRUE(lines.done);
  EXPECT_EQ(lines.lastStart, "AMI_Init at mode=2");
  EXPECT_EQ(ProbeReport::Split(lines.First("init")), (std::vector<std::string>{"mode=2", "1", hostile, ""}));
  EXPECT_EQ(ProbeReport::Unescape(lines.First("out-init")), hostile);
  size_t stride = 0;
  EXPECT_EQ(ProbeReport::Numbers(lines.First("figure"), &stride), (std::vector<double>{1.5, 3.0, 5.0}));
  EXPECT_EQ(stride, 2u);
}

TEST(ProbeReport, ALongTextIsCutAndSaysItsLength) {
  const std::string shown = ProbeReport::Escape(std::string(10000, 'x'), 100);
  EXPECT_EQ(shown, std::string(100, 'x') + " ... (10000 bytes)");
}

TEST(ProbeReport, ADeathLeavesTheLastStartAndNoDone) {
  const ProbeReport::Lines lines = ProbeReport::Parse("start AMI_Init at a\nstart AMI_GetWave on samples 0 to 1023\n");
  EXPECT_FALSE(lines.done);
  EXPECT_EQ(lines.lastStart, "AMI_GetWave on samples 0 to 1023");
}

TEST(LibraryNeeds, ReadsTheModelsNeedsAndRefusesWhatIsNoElfFile) {
#ifdef TESSALUNE_TX_LIBRARY
  std::vector<std::string> needed;
  std::string error;
  ASSERT_TRUE(LibraryNeeds::Read(TESSALUNE_TX_LIBRARY, needed, error)) << error;
  ASSERT_FALSE(needed.empty());
  for (const std::string& name : needed) EXPECT_TRUE(LibraryNeeds::IsPlainSystem(name)) << name;
#endif
  TestFolder folder;
  const std::string path = folder.path.string() + "/fake.so";
  std::string bytes =
      "\x7f"
      "ELF\x02\x01\x01";
  bytes.resize(64, '\0');
  bytes[54] = 56;                       // e_phentsize
  bytes[56] = static_cast<char>(0xff);  // e_phnum 255 headers at offset 0: past the end
  std::ofstream(path, std::ios::binary) << bytes;
  std::vector<std::string> none;
  std::string why;
  EXPECT_FALSE(LibraryNeeds::Read(path, none, why));
  EXPECT_NE(why.find("past the end"), std::string::npos) << why;
  std::ofstream(path, std::ios::binary) << "just text";
  EXPECT_FALSE(LibraryNeeds::Read(path, none, why));
  EXPECT_NE(why.find("not a 64-bit"), std::string::npos) << why;
  EXPECT_TRUE(LibraryNeeds::IsPlainSystem("libstdc++.so.6"));
  EXPECT_TRUE(LibraryNeeds::IsPlainSystem("ld-linux-x86-64.so.2"));
  EXPECT_FALSE(LibraryNeeds::IsPlainSystem("libplanted_helper.so"));
  EXPECT_FALSE(LibraryNeeds::IsPlainSystem("libcrypto.so.3"));
}
