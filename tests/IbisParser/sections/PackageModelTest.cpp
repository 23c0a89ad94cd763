// Package models ([Define Package Model] in .pkg and .ibs files): required
// keywords, [Pin Numbers] with and without Len/L/R/C sections, the three
// matrix forms with their row counts and symmetry, and the names
// [Package Model] and [Alternate Package Models] give. One rule per case,
// each fault once with its line.
#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/CheckerFiles.h"

namespace {

using PackageModels = CheckerFiles;

// Lines 1-3: the header; 4: [Define Package Model] p; 5-7: Manufacturer,
// OEM, Description; 8: [Number Of Pins]; 9: [Pin Numbers]; 10-12: pins 1 to
// 3; then `data` from line 13, [End Package Model] and [End].
std::string Pkg(const std::string& data, const std::string& pins = "3", const std::string& version = "4.2") {
  return "[IBIS Ver] " + version +
         "\n[File Name] t.pkg\n[File Rev] 1\n[Define Package Model] p\n[Manufacturer] me\n[OEM] oem\n"
         "[Description] d\n[Number Of Pins] " +
         pins + "\n[Pin Numbers]\n1\n2\n3\n" + data + "[End Package Model]\n[End]\n";
}

// A Banded resistance matrix (bandwidth 1), a Sparse inductance matrix and
// a Full capacitance matrix for pins 1 to 3: lines 13 to 37.
const std::string kBanded =
    "[Model Data]\n[Resistance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] 1\n1 0.1\n[Row] 2\n1 0.1\n[Row] 3\n1\n";
const std::string kSparse = "[Inductance Matrix] Sparse_matrix\n[Row] 1\n1 5n\n2 1n\n[Row] 2\n2 5n\n[Row] 3\n3 5n\n";
const std::string kFull =
    "[Capacitance Matrix] Full_matrix\n[Row] 1\n1p -0.1p -0.01p\n[Row] 2\n1p -0.1p\n[Row] 3\n1p\n";
const std::string kEndData = "[End Model Data]\n";

std::string Flat(const std::string& text) { return FlatMessages(text); }

}  // namespace

TEST_F(PackageModels, BandedSparseAndFullMatricesPass) {
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + kFull + kEndData), "t.pkg", PARSE_MODE_PKG)), "");
}

TEST_F(PackageModels, SectionsInPinNumbersPass) {
  // Pins described by sections need no [Model Data]; a stub hangs between Fork and Endfork.
  const std::string text =
      "[IBIS Ver] 3.2\n[File Name] t.pkg\n[File Rev] 1\n[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n"
      "[Description] d\n[Number Of Sections] 3\n[Number Of Pins] 2\n[Pin Numbers]\n"
      "A1 Len = 0 L=1.2n /\nLen=1.2 L=2n C=0.5p R=0.1 /\nFork\nLen=0.3 C=0.1p/\nEndfork\nA2 Len=0 L=1n /\n"
      "[End Package Model]\n[End]\n";
  EXPECT_EQ(Flat(Check(text, "t.pkg", PARSE_MODE_PKG)), "");
}

TEST_F(PackageModels, RequiredKeywordsAndCounts) {
  std::string noOem = Pkg(kBanded + kSparse + kFull + kEndData);
  noOem.replace(noOem.find("[OEM] oem\n"), 10, "");
  EXPECT_EQ(Flat(Check(noOem, "t.pkg", PARSE_MODE_PKG)),
            "ERROR (line    4) - Package model 'p': required keyword [OEM] not found\n");
  EXPECT_EQ(Flat(Check(Pkg(""), "t.pkg", PARSE_MODE_PKG)),
            "ERROR (line    4) - Package model 'p': required keyword [Model Data] not found\n");
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + kEndData), "t.pkg", PARSE_MODE_PKG)),
            "ERROR (line    4) - Package model 'p': required keyword [Capacitance Matrix] not found\n");
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + kFull + kEndData, "4"), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line    8) - Package model 'p': [Number Of Pins] says 4, [Pin Numbers] lists 3 pins\n");
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + kFull + kEndData, "three"), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line    8) - [Number Of Pins] must be a whole number of 1 or more, found 'three'\n");
  std::string twice = Pkg(kBanded + kSparse + kFull + kEndData);
  twice.replace(twice.find("3\n[Model"), 2, "3\n2\n");
  EXPECT_EQ(Flat(Check(twice, "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   13) - [Pin Numbers] lists pin '2' twice (first on line 11)\n");
}

TEST_F(PackageModels, MatrixRowsFollowTheirForm) {
  const std::string rest = kSparse + kFull + kEndData;
  // Banded without its bandwidth; a banded row one value short.
  EXPECT_EQ(
      Flat(Check(Pkg("[Model Data]\n[Resistance Matrix] Banded_matrix\n[Row] 1\n1\n[Row] 2\n1\n[Row] 3\n1\n" + rest),
                 "t.pkg", PARSE_MODE_PKG)),
      "WARNING (line   14) - [Resistance Matrix] is a Banded_matrix without [Bandwidth]\n");
  std::string shortRow = kBanded;
  shortRow.replace(shortRow.find("1 0.1\n"), 6, "1\n");
  EXPECT_EQ(Flat(Check(Pkg(shortRow + rest), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   16) - [Row] '1' of [Resistance Matrix] has 1 values where 2 are needed\n");
  // A full row holds the diagonal and every pin after it.
  std::string fullRow = kFull;
  fullRow.replace(fullRow.find("1p -0.1p\n"), 9, "1p -0.1p 3p\n");
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + fullRow + kEndData), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   33) - [Row] '2' of [Capacitance Matrix] has 3 values where 2 are needed\n");
  std::string word = kFull;
  word.replace(word.rfind("1p\n"), 3, "big\n");
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + word + kEndData), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   36) - [Capacitance Matrix] value 'big' in row '3' is not a number\n");
  // A bandwidth that is no whole number is reported once, not again at every row.
  std::string badWidth = kBanded;
  badWidth.replace(badWidth.find("[Bandwidth] 1"), 13, "[Bandwidth] one");
  EXPECT_EQ(Flat(Check(Pkg(badWidth + rest), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   15) - [Bandwidth] must be a whole number of 0 or more, found 'one'\n");
  EXPECT_EQ(Flat(Check(Pkg("[Model Data]\n[Resistance Matrix] Diagonal_matrix\n" + rest), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   14) - [Resistance Matrix] form 'Diagonal_matrix' is none of Full_matrix, Banded_matrix, "
            "Sparse_matrix\n");
}

TEST_F(PackageModels, RowsNameEveryPinOnceInOrder) {
  const std::string head = "[Model Data]\n[Resistance Matrix] Full_matrix\n";  // lines 13-14
  const std::string rest = kSparse + kFull + kEndData;
  EXPECT_EQ(Flat(Check(Pkg(head + "[Row] 1\n1 0 0\n[Row] 2\n1 0\n" + rest), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   14) - [Resistance Matrix] has 2 rows for the 3 pins of [Pin Numbers] (first pin without a "
            "row: '3')\n");
  EXPECT_EQ(
      Flat(Check(Pkg(head + "[Row] 1\n1 0 0\n[Row] 9\n1\n[Row] 2\n1 0\n[Row] 3\n1\n" + rest), "t.pkg", PARSE_MODE_PKG)),
      "WARNING (line   17) - [Row] names pin '9', which is not in [Pin Numbers] ([Resistance Matrix])\n");
  EXPECT_EQ(
      Flat(Check(Pkg(head + "[Row] 1\n1 0 0\n[Row] 1\n1\n[Row] 2\n1 0\n[Row] 3\n1\n" + rest), "t.pkg", PARSE_MODE_PKG)),
      "WARNING (line   17) - [Resistance Matrix] gives [Row] '1' twice\n");
  EXPECT_EQ(Flat(Check(Pkg(head + "[Row] 2\n1 0\n[Row] 1\n1 0 0\n[Row] 3\n1\n" + rest), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   17) - [Row] '1' of [Resistance Matrix] breaks the [Pin Numbers] order (it comes after "
            "'2')\n");
  EXPECT_EQ(
      Flat(Check(Pkg(head + "1 0 0\n[Row] 1\n1 0 0\n[Row] 2\n1 0\n[Row] 3\n1\n" + rest), "t.pkg", PARSE_MODE_PKG)),
      "WARNING (line   15) - [Resistance Matrix] data before its first [Row]\n");
}

TEST_F(PackageModels, SparseMatricesAreSymmetric) {
  const std::string head = kBanded + "[Inductance Matrix] Sparse_matrix\n[Row] 1\n1 5n\n[Row] 2\n";  // 22-25
  const std::string tail = "[Row] 3\n3 5n\n" + kFull + kEndData;
  EXPECT_EQ(Flat(Check(Pkg(head + "2 5n\n1 1n\n" + tail), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   27) - [Inductance Matrix] row '2' gives pin '1' below the diagonal; each pair stands "
            "once, in the earlier pin's row\n");
  EXPECT_EQ(Flat(Check(Pkg(head + "2 5n\n2 1n\n" + tail), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   27) - [Inductance Matrix] row '2' gives pin '2' twice\n");
  EXPECT_EQ(Flat(Check(Pkg(head + "7 5n\n" + tail), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   26) - [Inductance Matrix] row '2' names pin '7', which is not in [Pin Numbers]\n");
  EXPECT_EQ(Flat(Check(Pkg(head + "2\n" + tail), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   26) - [Inductance Matrix] row '2': a Sparse_matrix line is a pin and a value, found 1 "
            "words\n");
}

TEST_F(PackageModels, SectionRules) {
  auto file = [](const std::string& pins, const std::string& sections = "[Number Of Sections] 2\n") {
    return "[IBIS Ver] 4.2\n[File Name] t.pkg\n[File Rev] 1\n[Define Package Model] p\n[Manufacturer] me\n"
           "[OEM] o\n[Description] d\n" +
           sections + "[Number Of Pins] 1\n[Pin Numbers]\n" + pins + "[End Package Model]\n[End]\n";
  };  // pin lines from line 11
  auto check = [this](const std::string& text) { return Flat(Check(text, "t.pkg", PARSE_MODE_PKG)); };
  EXPECT_EQ(check(file("A1 Len=0 Q=1 /\n")),
            "WARNING (line   11) - [Pin Numbers] section: unknown subparameter 'Q'; only Len, L, R and C\n");
  EXPECT_EQ(check(file("A1 L=1n L=2n /\n")), "WARNING (line   11) - [Pin Numbers] section gives L twice\n");
  EXPECT_EQ(check(file("A1 C=-1p /\n")),
            "WARNING (line   11) - [Pin Numbers] section: C value '-1p' is not a number of zero or more\n");
  EXPECT_EQ(check(file("A1 Len=0 L=1n\n")),
            "ERROR (line   12) - Previous keyword not terminated properly. Possibly missing a \"/\"\n\n");
  EXPECT_EQ(check(file("A1 Len=0 L=1n /\nEndfork\n")), "WARNING (line   12) - [Pin Numbers] Endfork without a Fork\n");
  EXPECT_EQ(check(file("A1 Len=0 L=1n /\nFork\nLen=1 C=1p /\n")),
            "WARNING (line   14) - [Pin Numbers]: 1 Fork(s) not closed by Endfork (first on line 12)\n");
  EXPECT_EQ(check(file("A1 Len=0 L=1n /\nLen=1 L=1n /\nLen=0 C=1p /\n")),
            "WARNING (line   14) - [Pin Numbers] pin 'A1' has 3 sections where [Number Of Sections] allows 2\n");
  EXPECT_EQ(check(file("A1 Len=0 L=1n /\n", "")),
            "ERROR (line    4) - Package model 'p': required keyword [Number Of Sections] not found\n");
}

TEST_F(PackageModels, PackageModelNamesResolveHereOrBeside) {
  const std::string ibs = Header() + Component() +
                          "[Package Model] p\n[Alternate Package Models]\nq\n[End Alternate Package Models]\n[End]\n";
  Write("p.pkg", Pkg(kBanded + kSparse + kFull + kEndData));
  // q is defined nowhere; p stands in the .pkg file beside.
  EXPECT_EQ(Flat(Check(ibs)),
            "ERROR (line   14) - [Alternate Package Models] names package model 'q', which neither this file nor a "
            ".pkg file beside it defines\n");
  // Defined in the .ibs file itself, once.
  const std::string own =
      Header() + Component() +
      "[Package Model] own\n[Define Package Model] own\n[Manufacturer] me\n[OEM] o\n[Description] d\n"
      "[Number Of Pins] 1\n[Pin Numbers]\n1 Len=0 L=1n /\n[Number Of Sections] 1\n[End Package Model]\n";
  EXPECT_EQ(Flat(Check(own + "[End]\n")), "");
  const std::string twice = own +
                            "[Define Package Model] own\n[Manufacturer] me\n[OEM] o\n[Description] d\n"
                            "[Number Of Pins] 1\n[Pin Numbers]\n1 Len=0 L=1n /\n[Number Of Sections] 1\n"
                            "[End Package Model]\n[End]\n";
  EXPECT_EQ(Flat(Check(twice)), "WARNING (line   22) - Package model 'own' is defined twice (first on line 13)\n");
  EXPECT_EQ(Flat(Check(Header() + Component() + "[Package Model] none\n[End]\n")),
            "ERROR (line   12) - [Package Model] names package model 'none', which neither this file nor a .pkg file "
            "beside it defines\n");
}

// Found by fuzz_ibischeck: pins listed after a matrix began (a second
// [Pin Numbers]) and a [Row] naming one of them.
TEST_F(PackageModels, PinsListedAfterAMatrixBegan) {
  const std::string data =
      "[Model Data]\n[Resistance Matrix] Banded_matrix\n[Bandwidth] 0\n[Pin Numbers]\n4\n[Row] 4\n1\n";  // 13-19
  const std::string out = Flat(Check(Pkg(data + kSparse + kFull + kEndData), "t.pkg", PARSE_MODE_PKG));
  EXPECT_NE(out.find("WARNING (line   16) - [Pin Numbers] given more than once in package model 'p'\n"),
            std::string::npos)
      << out;
}

// A million pins declared, three listed: one message, no memory for the
// declared number. A Banded row with an enormous bandwidth reads as a full one.
TEST_F(PackageModels, HostileCountsCostNothing) {
  EXPECT_EQ(Flat(Check(Pkg(kBanded + kSparse + kFull + kEndData, "1000000"), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line    8) - Package model 'p': [Number Of Pins] says 1000000, [Pin Numbers] lists 3 pins\n");
  std::string wide = kBanded;
  wide.replace(wide.find("[Bandwidth] 1"), 13, "[Bandwidth] 999999999999");
  EXPECT_EQ(Flat(Check(Pkg(wide + kSparse + kFull + kEndData), "t.pkg", PARSE_MODE_PKG)),
            "WARNING (line   16) - [Row] '1' of [Resistance Matrix] has 2 values where 3 are needed\n");
}
