// check --json carries the package model, board, external and interconnect
// records beside the components: a .pkg file's matrices (form, bandwidth,
// rows), an .ebd file's paths and designators, a component's package model.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

namespace {

class CheckJsonRecords : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) { return "'" + folder_.Write(name, text) + "'"; }
  TestFolder folder_{"checkjson"};
};

}  // namespace

TEST_F(CheckJsonRecords, PackageModelBoardAndComponentLinks) {
  const std::string pkg = Write(
      "t.pkg",
      "[IBIS Ver] 4.2\n[File Name] t.pkg\n[File Rev] 1\n[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n"
      "[Description] d\n[Number Of Pins] 2\n[Pin Numbers]\n1\n2\n[Model Data]\n"
      "[Resistance Matrix] Banded_matrix\n[Bandwidth] 0\n[Row] 1\n1\n[Row] 2\n1\n"
      "[Inductance Matrix] Sparse_matrix\n[Row] 1\n1 1n\n2 0.1n\n[Row] 2\n2 1n\n"
      "[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n");
  const std::string ebd =
      Write("t.ebd",
            "[IBIS Ver] 3.2\n[File Name] t.ebd\n[File Rev] 1\n[Begin Board Description] b\n[Manufacturer] me\n"
            "[Number Of Pins] 1\n[Pin List] signal\nA1 s\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nFork\n"
            "Len=1 C=1p /\nNode U1.2\nEndfork\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n"
            "[End Board Description]\n[End]\n");
  const std::string ibs =
      Write("chip.ibs",
            "[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\n"
            "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 vdd POWER\n"
            "[Package Model] p\n[End]\n");
  CliResult r = RunCli("check --json " + pkg + " " + ebd + " " + ibs);
  const nlohmann::json doc = nlohmann::json::parse(r.output);
  EXPECT_EQ(doc["errors"], 0) << r.output;
  const nlohmann::json& p = doc["files"][0]["package_models"][0];
  EXPECT_EQ(p["name"], "p");
  EXPECT_EQ(p["pins"], nlohmann::json({"1", "2"}));
  EXPECT_EQ(p["matrices"]["resistance"]["form"], "Banded_matrix");
  EXPECT_EQ(p["matrices"]["resistance"]["bandwidth"], 0);
  EXPECT_EQ(p["matrices"]["inductance"]["form"], "Sparse_matrix");
  EXPECT_EQ(p["matrices"]["capacitance"]["rows"], 2);
  const nlohmann::json& b = doc["files"][1]["boards"][0];
  EXPECT_EQ(b["number_of_pins"], 1);
  EXPECT_EQ(b["paths"][0]["forks"], 1);
  EXPECT_EQ(b["paths"][0]["nodes"][0]["name"], "U1.2");
  EXPECT_EQ(b["paths"][0]["nodes"][1]["line"], 16);
  EXPECT_EQ(b["reference_designator_map"][0]["file"], "chip.ibs");
  const nlohmann::json& c = doc["files"][2]["components"][0];
  EXPECT_EQ(c["package_model"]["name"], "p");
  EXPECT_EQ(c["package_model"]["line"], 12);
  EXPECT_TRUE(doc["files"][2]["interconnect_model_sets"].empty());
}
