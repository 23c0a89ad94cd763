// Package parasitics: R_pkg, L_pkg and C_pkg lines and their completeness,
// alone and inside the component section of a file.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/Rng.h"
#include "IbisParser/sections/Pkg.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

class Pkg : public CheckerFiles {
 protected:
  void SetUp() override {
    CheckerFiles::SetUp();
    gulLineNumber = 0;
    ASSERT_EQ(PKG_Create(&pkg_), 1);
  }
  void TearDown() override {
    PKG_Free(&pkg_);
    EXPECT_EQ(pkg_, nullptr);
    CheckerFiles::TearDown();
  }
  std::string Read(const char* line) {
    MsgCapture capture;
    PKG_ReadLine(pkg_, line);
    return capture.Text();
  }
  PKG* pkg_ = nullptr;
};

}  // namespace

TEST_F(Pkg, ReadsTheThreeTriples) {
  EXPECT_EQ(Read("R_pkg 250m 200m 300m"), "");
  ASSERT_NE(pkg_->rPkg, nullptr);
  EXPECT_DOUBLE_EQ(pkg_->rPkg->typ.value, 0.25);
  EXPECT_DOUBLE_EQ(pkg_->rPkg->min.value, 0.2);
  EXPECT_DOUBLE_EQ(pkg_->rPkg->max.value, 0.3);
  EXPECT_EQ(Read("L_pkg 5nH NA NA"), "");
  EXPECT_DOUBLE_EQ(pkg_->lPkg->typ.value, 5e-9);
  EXPECT_EQ(pkg_->lPkg->min.status, CMN_VALUE_NA);
  EXPECT_EQ(Read("C_pkg NA 1pF 2pF"), "ERROR (line    0) - The typical column must be specified.\n");
  ASSERT_NE(pkg_->cPkg, nullptr);
  EXPECT_EQ(pkg_->cPkg->typ.status, CMN_VALUE_NA);
}

TEST_F(Pkg, NamesAreCaseInsensitiveAndRepeatsRejected) {
  EXPECT_EQ(Read("r_pkg 1 1 1"), "");
  EXPECT_EQ(Read("R_pkg 2 2 2"), "ERROR (line    0) - Duplicate R_pkg sub-parameter.\n");
  EXPECT_DOUBLE_EQ(pkg_->rPkg->typ.value, 1.0);
  EXPECT_EQ(Read("L_PKG 1 1 1"), "");
  EXPECT_EQ(Read("l_pkg 1 1 1"), "ERROR (line    0) - Duplicate L_pkg sub-parameter.\n");
  EXPECT_EQ(Read("C_pkg 1 1 1"), "");
  EXPECT_EQ(Read("C_pkg 1 1 1"), "ERROR (line    0) - Duplicate C_pkg sub-parameter.\n");
  EXPECT_EQ(Read("X_pkg 1 1 1"), "ERROR (line    0) - Unknown Package subparameter.\n");
}

TEST_F(Pkg, IndentedLinesAreReportedAndStillRead) {
  EXPECT_EQ(Read(" \tR_pkg 1 1 1"), "ERROR (line    0) - Package sub-parameters must start in column 1.\n");
  EXPECT_NE(pkg_->rPkg, nullptr);
}

TEST_F(Pkg, LinesNeedFourColumns) {
  EXPECT_EQ(Read("R_pkg 1 2"),
            "ERROR (line    0) -\n    Expected 4 columns in Package sub-parameter line, found 3 columns.\n");
  EXPECT_EQ(pkg_->rPkg, nullptr);
  // Two words are refused the same way: the triple is never read.
  EXPECT_EQ(Read("R_pkg 250m"),
            "ERROR (line    0) -\n    Expected 4 columns in Package sub-parameter line, found 2 columns.\n");
  EXPECT_EQ(Read("R_pkg 1 2 3 4"),
            "ERROR (line    0) -\n    Expected 4 columns in Package sub-parameter line, found 5 columns.\n");
  EXPECT_EQ(pkg_->rPkg, nullptr);
}

TEST_F(Pkg, InvalidColumnsLeaveTheSubParameterUnread) {
  EXPECT_EQ(Read("R_pkg 1 2% 3"),
            "ERROR (line    0) - Invalid Minimum Value (\"2%\")\n"
            "ERROR (line    0) - Unable to parse data for Package subparameter 'R_pkg'.\n");
  EXPECT_EQ(pkg_->rPkg, nullptr);
  EXPECT_EQ(Read("R_pkg 2 1 3"), "");  // so a later line may still give it
}

TEST_F(Pkg, CompletenessNamesTheComponent) {
  Read("R_pkg 1 1 1");
  MsgCapture capture;
  PKG_CheckComplete(pkg_, "U1");
  EXPECT_EQ(capture.Text(),
            "ERROR - Component 'U1': Required sub-parameter L_pkg not found.\n"
            "ERROR - Component 'U1': Required sub-parameter C_pkg not found.\n");
}

TEST_F(Pkg, ExhaustedMemory) {
  PKG* other = nullptr;
  MsgCapture capture;
  CMN_FailAllocationsAfter(0);
  EXPECT_EQ(PKG_Create(&other), 0);
  CMN_FailAllocationsAfter(-1);
  EXPECT_EQ(other, nullptr);
  EXPECT_NE(capture.Text().find("ERROR (line    0) - Unable to allocate a Package\n"), std::string::npos);
}

TEST_F(Pkg, ComponentSectionReadsItsPackageAndChecksItWhenItEnds) {
  std::string text = Header() +
                     "[Component] U1\n[Manufacturer] me\n[Package]\n"
                     "| variable typ min max\n"
                     "R_pkg 250m 200m 300m | comment\n"
                     "[Pin] signal model\n1 a b\n"
                     "[Component] U2\n[Package]\nR_pkg 1 1 1\nL_pkg 1n 1n 1n\nC_pkg 1p 1p 1p\n"
                     "[Component] U3\n[Package]\nL_pkg 1n 1n 1n\n[Bogus]\n"
                     "[Model] m\n" +
                     ModelBody() + "[End]\n";
  // U2 and U3 also lack [Manufacturer] and [Pin], and U1's pin names no model of the file.
  EXPECT_EQ(Check(text),
            "ERROR - Component 'U1': Required sub-parameter L_pkg not found.\n"
            "ERROR - Component 'U1': Required sub-parameter C_pkg not found.\n"
            "ERROR (line   11) - Component 'U2': required keyword [Manufacturer] not found\n"
            "ERROR (line   11) - Component 'U2': required keyword [Pin] not found\n"
            "ERROR (line   19) - Invalid Keyword: Bogus\n"
            "ERROR - Component 'U3': Required sub-parameter R_pkg not found.\n"
            "ERROR - Component 'U3': Required sub-parameter C_pkg not found.\n"
            "ERROR (line   16) - Component 'U3': required keyword [Manufacturer] not found\n"
            "ERROR (line   16) - Component 'U3': required keyword [Pin] not found\n"
            "ERROR (line   10) - Pin '1' names model 'b', which is neither a [Model] nor a [Model Selector] of the "
            "file\n");
  // The last component ends with the file.
  EXPECT_EQ(Check(Header() + "[Component] U4\n[Package]\nR_pkg 1 1 1\nL_pkg 1n 1n 1n\n"),
            "ERROR - Required keyword 'End' not found.\n"
            "ERROR - Component 'U4': Required sub-parameter C_pkg not found.\n"
            "ERROR (line    4) - Component 'U4': required keyword [Manufacturer] not found\n"
            "ERROR (line    4) - Component 'U4': required keyword [Pin] not found\n");
}
