// Board descriptions (.ebd): required keywords, [Pin List] against [Number
// Of Pins], [Path Description] with sections, forks, pins and nodes, and the
// [Reference Designator Map] with the files and components it names. One
// rule per case, each fault once with its line; a path nested a million
// forks deep is read in bounded memory.
#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/CheckerFiles.h"

namespace {

using Boards = CheckerFiles;

// Lines 1-3: header; 4: [Begin Board Description] b; 5: [Manufacturer];
// 6: [Number Of Pins]; 7-9: [Pin List] A1, A2; then `paths` from line 10,
// then `map` (its rows one line after [Reference Designator Map]) and the end.
std::string Ebd(const std::string& paths, const std::string& map = "U1 chip.ibs c\nU2 chip.ibs c\n",
                const std::string& pins = "2") {
  return "[IBIS Ver] 3.2\n[File Name] t.ebd\n[File Rev] 1\n[Begin Board Description] b\n[Manufacturer] me\n"
         "[Number Of Pins] " +
         pins + "\n[Pin List] signal_name\nA1 s1\nA2 s2\n" + paths + "[Reference Designator Map]\n" + map +
         "[End Board Description]\n[End]\n";
}

// Two paths, the first with a fork to U2: lines 10 to 22.
const std::string kPaths =
    "[Path Description] p1\nPin A1\nLen = 1 L=1n C=1p /\nFork\nLen=0.5 L=1n /\nNode U2.1\nEndfork\n"
    "Len=1 L=1n /\nNode U1.1\n[Path Description] p2\nPin A2\nLen=0 R=1 /\nNode U1.2\n";

}  // namespace

TEST_F(Boards, BoardWithAForkPasses) {
  Write("chip.ibs", "[IBIS Ver] 3.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n");
  EXPECT_EQ(FlatMessages(Check(Ebd(kPaths), "t.ebd", PARSE_MODE_EBD)), "");
}

TEST_F(Boards, RequiredKeywordsAndPinList) {
  Write("chip.ibs", "[Component] c\n");
  std::string noMaker = Ebd(kPaths);
  noMaker.replace(noMaker.find("[Manufacturer] me\n"), 18, "");
  EXPECT_EQ(FlatMessages(Check(noMaker, "t.ebd", PARSE_MODE_EBD)),
            "ERROR (line    4) - Board 'b': required keyword [Manufacturer] not found\n");
  EXPECT_EQ(FlatMessages(Check(Ebd(kPaths, "U1 chip.ibs c\nU2 chip.ibs c\n", "3"), "t.ebd", PARSE_MODE_EBD)),
            "ERROR (line    6) - Board 'b': [Number Of Pins] says 3, [Pin List] lists 2 pins\n");
  std::string twice = Ebd(kPaths, "U1 chip.ibs c\nU2 chip.ibs c\n", "3");
  twice.replace(twice.find("A2 s2\n"), 6, "A2 s2\nA1 s3\n");
  EXPECT_EQ(FlatMessages(Check(twice, "t.ebd", PARSE_MODE_EBD)),
            "WARNING (line   10) - [Pin List] lists pin 'A1' twice (first on line 8)\n"
            "ERROR (line    6) - Board 'b': [Number Of Pins] says 3, [Pin List] lists 2 pins\n");
}

TEST_F(Boards, PathsStartAtAPinAndEndAtAPinOrNode) {
  Write("chip.ibs", "[Component] c\n");
  auto check = [this](const std::string& paths) { return FlatMessages(Check(Ebd(paths), "t.ebd", PARSE_MODE_EBD)); };
  EXPECT_EQ(check("[Path Description] p\nLen=1 L=1n /\nNode U1.1\n"),
            "WARNING (line   11) - Path 'p' does not start with Pin\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 L=1n /\n"),
            "WARNING (line   13) - Path 'p' ends at a section, not at a Pin or a Node\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nFork\nLen=1 L=1n /\nEndfork\nNode U1.1\n"),
            "WARNING (line   14) - Path 'p': the fork closed here ends at a section, not at a Pin or a Node\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nFork\nLen=1 L=1n /\nNode U2.1\n"),
            "WARNING (line   15) - Path 'p': 1 Fork(s) not closed by Endfork (first on line 12)\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 L=1n /\nEndfork\nNode U1.1\n"),
            "WARNING (line   13) - [Path Description] Endfork without a Fork\n");
  EXPECT_EQ(check("[Path Description] p\nPin A9\nLen=1 L=1n /\nNode U1.1\n"),
            "WARNING (line   11) - Path 'p' names pin 'A9', which is not in [Pin List]\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 L=1n /\nNode U9.1\n"),
            "WARNING (line   13) - Node 'U9.1' names designator 'U9', which is not in [Reference Designator Map]\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 L=1n /\nNode U1\n"),
            "WARNING (line   13) - Node 'U1' is not reference_designator.pin\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 W=1n /\nNode U1.1\n"),
            "WARNING (line   12) - [Path Description] section: unknown subparameter 'W'; only Len, L, R and C\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 L=1n /\nVia U1.1\n"),
            "WARNING (line   13) - Unexpected 'Via' in [Path Description]: Pin, Node, Len, L, R, C, '/', Fork or "
            "Endfork\n");
  EXPECT_EQ(check("[Path Description] p\nPin A1\nLen=1 L=1n\nNode U1.1\n"),
            "WARNING (line   13) - [Path Description] section not closed by '/'\n");
}

TEST_F(Boards, DesignatorsMapToFilesAndComponentsBeside) {
  Write("chip.ibs", "[IBIS Ver] 3.2\n[Component] c\n");
  const std::string path = "[Path Description] p\nPin A1\nLen=1 L=1n /\nNode U1.1\n";  // lines 10-13
  auto check = [&](const std::string& map) { return FlatMessages(Check(Ebd(path, map), "t.ebd", PARSE_MODE_EBD)); };
  EXPECT_EQ(check("U1 chip.ibs c\n"), "");
  EXPECT_EQ(check("U1 gone.ibs c\n"),
            "WARNING (line   15) - Designator 'U1' maps to file 'gone.ibs', which is not beside the board file\n");
  EXPECT_EQ(check("U1 chip.ibs d\n"),
            "WARNING (line   15) - Designator 'U1' maps to 'd', which file 'chip.ibs' does not define\n");
  EXPECT_EQ(check("U1 chip.ibs c\nU1 chip.ibs c\n"),
            "WARNING (line   16) - [Reference Designator Map] lists designator 'U1' twice (first on line 15)\n");
  EXPECT_EQ(check("U1 chip.ibs\n"),
            "WARNING (line   15) - [Reference Designator Map] row has 2 columns where 3 are needed\n"
            "WARNING (line   13) - Node 'U1.1' names designator 'U1', which is not in [Reference "
            "Designator Map]\n");
  // A board whose map names its own file: one clear message, no loop.
  EXPECT_EQ(check("U1 t.ebd b\n"), "WARNING (line   15) - Designator 'U1' maps to the board's own file 't.ebd'\n");
  // A designator may map to a board of another .ebd file.
  Write("sub.ebd", "[IBIS Ver] 3.2\n[Begin Board Description] inner\n");
  EXPECT_EQ(check("U1 sub.ebd inner\n"), "");
}

// A path nested a million forks deep: one message, read in bounded memory
// and time, no recursion.
TEST_F(Boards, MillionForksDeep) {
  Write("chip.ibs", "[Component] c\n");
  std::string paths = "[Path Description] p\nPin A1\n";
  paths.reserve(6000100);
  for (int i = 0; i < 1000000; ++i) paths += "Fork\n";
  paths += "Len=1 L=1n /\nNode U1.1\n";
  EXPECT_EQ(FlatMessages(Check(Ebd(paths), "t.ebd", PARSE_MODE_EBD)),
            "WARNING (line 1000014) - Path 'p': 1000000 Fork(s) not closed by Endfork (first on line 12)\n");
}
