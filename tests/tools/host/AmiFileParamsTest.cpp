#include "tools/host/AmiFileParams.h"

#include "amiparam/AmiParameters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "tests/NestedText.h"
#include "tests/TestFolder.h"

namespace {

const std::string kModelAmi = std::string(TESSALUNE_SOURCE_DIR) + "/ibis/tessalune_tx.ami";

std::string Build(const AmiFileParams& file, const std::vector<std::string>& overrides, std::string* error = nullptr) {
  std::string out, why;
  const bool ok = file.BuildParameterString(overrides, out, why);
  if (error) *error = why;
  return ok ? out : "FAILED";
}

}  // namespace

TEST(AmiFileParams, TheModelFileGivesItsThreeInputsWithTheirDefaults) {
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.Load(kModelAmi, error)) << error;
  EXPECT_EQ(file.RootName(), "tessalune_tx");
  ASSERT_EQ(file.Parameters().size(), 3u);
  EXPECT_EQ(file.Parameters()[0].path, "emphasis");
  EXPECT_EQ(file.Parameters()[0].format, "Range");
  EXPECT_EQ(file.Parameters()[1].path, "Vreg");
  EXPECT_EQ(file.Parameters()[2].path, "corner");
  for (const auto& p : file.Parameters()) {
    EXPECT_EQ(p.usage, "In");
    EXPECT_EQ(p.type, "Integer");
    EXPECT_FALSE(p.description.empty()) << p.path;
  }
  // Reserved parameters are the simulator's business, not the model's input.
  EXPECT_EQ(Build(file, {}), "(tessalune_tx (emphasis 0) (Vreg 2) (corner 2))");
}

// The string the host builds must be one the model reads back: every value
// sits at the path the model asks for.
TEST(AmiFileParams, OverridesReplaceDefaultsAndTheModelReadsThemBack) {
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.Load(kModelAmi, error)) << error;
  const std::string text = Build(file, {"corner=0", "emphasis=6"});
  EXPECT_EQ(text, "(tessalune_tx (emphasis 6) (Vreg 2) (corner 0))");
  AmiParameters params(text.c_str());
  double emphasis = -1, vreg = -1, corner = -1;
  EXPECT_TRUE(params.GetDouble(emphasis, "tessalune_tx.emphasis"));
  EXPECT_TRUE(params.GetDouble(vreg, "tessalune_tx.Vreg"));
  EXPECT_TRUE(params.GetDouble(corner, "tessalune_tx.corner"));
  EXPECT_EQ(emphasis, 6.0);
  EXPECT_EQ(vreg, 2.0);
  EXPECT_EQ(corner, 0.0);
  std::vector<std::pair<std::string, std::string>> chosen;
  std::string ignored;
  ASSERT_TRUE(file.BuildParameterString({"Vreg=1"}, ignored, error, &chosen));
  EXPECT_EQ(chosen,
            (std::vector<std::pair<std::string, std::string>>{{"emphasis", "0"}, {"Vreg", "1"}, {"corner", "2"}}));
  // The last of two overrides of one parameter wins.
  EXPECT_EQ(Build(file, {"Vreg=0", "Vreg=1"}), "(tessalune_tx (emphasis 0) (Vreg 1) (corner 2))");
}

TEST(AmiFileParams, ValuesOutsideTypeOrFormatAndUnknownNamesAreRefused) {
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.Load(kModelAmi, error)) << error;
  for (const char* bad : {"emphasis=7", "emphasis=-1", "emphasis=1.5", "emphasis=high", "Vreg=3",
                          "corner=", "Emphasis=1", "gain=2", "emphasis", "=3"}) {
    EXPECT_EQ(Build(file, {bad}, &error), "FAILED") << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  Build(file, {"gain=2"}, &error);
  EXPECT_NE(error.find("emphasis, Vreg, corner"), std::string::npos) << error;
  EXPECT_EQ(Build(file, {"emphasis=+4"}), "(tessalune_tx (emphasis +4) (Vreg 2) (corner 2))");
}

TEST(AmiFileParams, DefaultsComeFromFormatsWhenMissingAndGroupsKeepTheirNesting) {
  const char* text = R"((rx
    (Reserved_Parameters (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description "x")))
    (Model_Specific
      (gain (Usage In) (Type Float) (Format Range 0.5 0 1) (Description "no Default: typ"))
      (mode (Usage InOut) (Type String) (Format List "fast" "slow") (Description "first entry"))
      (eq (ctle (Usage In) (Type Integer) (Format List 3 1 2 3) (Default 2))
          (dfe (taps (Usage In) (Type Integer) (Format Value 4))))
      (level (Usage Out) (Type Float) (Description "output only"))
      (on (Usage In) (Type Boolean) (Default False))))
  )";
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.LoadText(text, error)) << error;
  ASSERT_NE(file.Find("eq.dfe.taps"), nullptr);
  EXPECT_EQ(Build(file, {}), "(rx (gain 0.5) (mode \"fast\") (eq (ctle 2) (dfe (taps 4))) (on False))");
  EXPECT_EQ(Build(file, {"mode=slow", "eq.ctle=3", "on=True", "gain=1e-1"}),
            "(rx (gain 1e-1) (mode \"slow\") (eq (ctle 3) (dfe (taps 4))) (on True))");
  EXPECT_EQ(Build(file, {"mode=medium"}, &error), "FAILED");
  EXPECT_EQ(Build(file, {"level=1"}, &error), "FAILED");
  EXPECT_NE(error.find("Usage Out"), std::string::npos) << error;
  EXPECT_EQ(Build(file, {"on=true"}, &error), "FAILED");
}

TEST(AmiFileParams, CommentLinesAreSkippedAndBrokenFilesReported) {
  const std::string path = std::string(TESSALUNE_BINARY_DIR) + "/ami_file_params_test.ami";
  {
    std::ofstream out(path);
    out << "| a comment line (with an unbalanced parenthesis\n"
        << "(m (Model_Specific (x (Usage In) (Type Integer) (Default 1))))\n";
  }
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.Load(path, error)) << error;
  EXPECT_EQ(Build(file, {}), "(m (x 1))");
  {
    std::ofstream out(path);
    out << "(m (Model_Specific (x (Usage In))\n";
  }
  EXPECT_FALSE(file.Load(path, error));
  EXPECT_NE(error.find("does not parse"), std::string::npos) << error;
  std::remove(path.c_str());
  EXPECT_FALSE(file.Load(path, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

// Parameter groups nested a million deep: the defaults reader walks them with
// its own stack and one shared path, and builds the string with their nesting.
TEST(AmiFileParams, GroupsNestedAMillionDeepAreRead) {
  TestFolder folder("amifile");
  const std::string text = "| deep groups\n(m (Model_Specific " +
                           Nest(kDeepNesting, "(x (Usage In) (Type Float) (Format Range 0.5 0 1))") +
                           " (y (Usage In) (Type Integer) (Default 3))))\n";
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.Load(folder.Write("deep.ami", text), error)) << error;
  ASSERT_EQ(file.Parameters().size(), 2u);
  const std::string path = NestPath(kDeepNesting) + ".x";
  EXPECT_EQ(file.Parameters()[0].path, path);
  EXPECT_EQ(file.Parameters()[1].path, "y");
  std::string built;
  ASSERT_TRUE(file.BuildParameterString({path + "=0.25"}, built, error)) << error;
  EXPECT_EQ(built, "(m " + Nest(kDeepNesting, "(x 0.25)") + " (y 3))");
}

// Many parameters at the bottom of deep groups: each keeps its full name, so
// the names' total is bounded instead of taking the depth times their number
// (here 300,000 levels and 2,000 parameters would take 1.2 GB).
TEST(AmiFileParams, ParametersWhoseFullNamesWouldTakeTooMuchAreRefused) {
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "(p (Usage In))";
  AmiFileParams file;
  std::string error;
  EXPECT_FALSE(file.LoadText("(m (Model_Specific " + Nest(300000, many) + "))", error));
  EXPECT_EQ(error, "the parameters' full names (with their groups) take more than 64 MiB");
  EXPECT_TRUE(file.Parameters().empty());
  EXPECT_TRUE(file.LoadText("(m (Model_Specific " + Nest(1000, many) + "))", error)) << error;
  EXPECT_EQ(file.Parameters().size(), 2000u);
}

TEST(AmiFileParams, EndlessFilesAreRefusedBeforeMemoryRunsOut) {
  AmiFileParams file;
  std::string error;
  EXPECT_FALSE(file.Load("/dev/zero", error));
  EXPECT_EQ(error, "/dev/zero holds more than 16 MiB, more than a parameter file may hold");
}

TEST(AmiFileParams, ReservedParametersTellTheHostHowToRunTheModel) {
  AmiFileParams file;
  std::string error;
  ASSERT_TRUE(file.Load(std::string(TESSALUNE_SOURCE_DIR) + "/ibis/tessalune_rx.ami", error)) << error;
  EXPECT_TRUE(file.Reserved().initReturnsImpulse);
  EXPECT_TRUE(file.Reserved().getWaveExists);
  EXPECT_TRUE(file.Reserved().getWaveGiven);
  EXPECT_EQ(file.Reserved().ignoreBits, 2000);
  // Formats written without the word Format give their defaults.
  ASSERT_NE(file.Find("ctle_peaking"), nullptr);
  EXPECT_EQ(file.Find("ctle_peaking")->EffectiveDefault(), "6");
  EXPECT_EQ(file.Find("ctle_peaking")->Reject("31"), "'31' is outside 0 .. 30");

  ASSERT_TRUE(file.Load(kModelAmi, error)) << error;
  EXPECT_FALSE(file.Reserved().initReturnsImpulse);
  EXPECT_EQ(file.Reserved().ignoreBits, 0);

  // Absent: the standard's defaults; Default and List values read too; a
  // value of the wrong kind keeps the default.
  ASSERT_TRUE(
      file.LoadText("(m (Reserved_Parameters (Use_Init_Output (Usage Info) (Type Boolean) (Default False))"
                    " (Ignore_Bits (Usage Info) (Type Integer) (List 300 400))"
                    " (Max_Init_Aggressors (Usage Info) (Type Integer) (Value 4))"
                    " (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value yes))))",
                    error))
      << error;
  EXPECT_FALSE(file.Reserved().useInitOutput);
  EXPECT_EQ(file.Reserved().ignoreBits, 300);
  EXPECT_EQ(file.Reserved().maxInitAggressors, 4);
  EXPECT_FALSE(file.Reserved().initReturnsImpulse);
  EXPECT_TRUE(file.Reserved().getWaveExists);
  EXPECT_FALSE(file.Reserved().getWaveGiven);
}
