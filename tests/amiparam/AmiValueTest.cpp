#include "amiparam/AmiValue.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace {

TEST(AmiValue, KindsInTheirOrder) {
  struct Case {
    const char* text;
    int32_t kind;
  };
  const Case cases[] = {
      {"", -1},     {"0", 1},     {"-7", 1},    {"+4", 1},     {" 12", 1},     {"99999999999999999999", 1},
      {"1e3", 3},   {"1.", 3},    {"-.5", 3},   {"2.5E-3", 3}, {" +.5e+2", 3}, {"True", 2},
      {"False", 2}, {"true", 0},  {"false", 0}, {"TRUE", 0},   {"1e", 0},      {".", 0},
      {"-", 0},     {"1 ", 0},    {"0x10", 0},  {"inf", 0},    {"nan", 0},     {"1,5", 0},
      {"e5", 0},    {"Float", 0}, {"--1", 0},   {"1.2.3", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(AMIVALUE_Kind(c.text), c.kind) << "«" << c.text << "»";
}

TEST(AmiValue, KeywordsAndProperties) {
  const char* words[] = {"In",        "Out",   "Info",  "InOut",    "Float",      "Integer", "String",
                         "Boolean",   "Tap",   "UI",    "Value",    "Range",      "List",    "Corner",
                         "Increment", "Steps", "Table", "Gaussian", "Dual-Dirac", "DjRj"};
  for (int i = 0; i < 20; ++i) EXPECT_EQ(AMIVALUE_Keyword(words[i]), i) << words[i];
  EXPECT_EQ(AMIVALUE_Keyword("float"), -1);
  EXPECT_EQ(AMIVALUE_Keyword("In "), -1);
  EXPECT_EQ(AMIVALUE_Keyword(""), -1);

  const char* names[] = {"Usage", "Type", "Format", "Default", "Description", "Labels"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(AMIVALUE_Property(names[i]), i + 1) << names[i];
  EXPECT_EQ(AMIVALUE_Property("usage"), 0);
  EXPECT_EQ(AMIVALUE_Property("emphasis"), 0);
}

TEST(AmiValue, ToDoubleIsDecimalWhateverTheLocale) {
  EXPECT_EQ(AMIVALUE_ToDouble("0.5"), 0.5);
  EXPECT_EQ(AMIVALUE_ToDouble("-.5"), -0.5);
  EXPECT_EQ(AMIVALUE_ToDouble("1."), 1.0);
  EXPECT_EQ(AMIVALUE_ToDouble("+4"), 4.0);
  EXPECT_EQ(AMIVALUE_ToDouble(" 12"), 12.0);
  EXPECT_EQ(AMIVALUE_ToDouble("1e3"), 1000.0);
  EXPECT_EQ(AMIVALUE_ToDouble("0.1"), 0.1);
  EXPECT_EQ(AMIVALUE_ToDouble("abc"), 0.0);
  EXPECT_EQ(AMIVALUE_ToDouble("1e400"), HUGE_VAL);
  EXPECT_EQ(AMIVALUE_ToDouble("-1e400"), -HUGE_VAL);
  EXPECT_EQ(AMIVALUE_ToDouble("123456e-1000"), 0.0);
  EXPECT_EQ(AMIVALUE_ToDouble("0.000e999999999999"), 0.0);

  // A host that switched to a locale with a decimal comma still reads "0.5".
  const char* saved = std::setlocale(LC_NUMERIC, nullptr);
  std::string restore = saved ? saved : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
    EXPECT_EQ(AMIVALUE_ToDouble("0.5"), 0.5);
    EXPECT_EQ(AMIVALUE_Kind("0.5"), AMIVALUE_FLOAT);
  }
  std::setlocale(LC_NUMERIC, restore.c_str());
}

}  // namespace
