// The parameter model: declarations, normalisation, snapping and display texts.
#include <gtest/gtest.h>

#include <cmath>

#include "plugin/IParam.h"

namespace {

std::string Display(const IParam& param, double value, bool normalized = false) {
  char text[IParam::kTextBytes] = {};
  param.GetDisplayForHost(value, normalized, text);
  return text;
}

TEST(IParamTest, NewParameterIsAnUndeclaredSwitch) {
  IParam param;
  EXPECT_EQ(param.GetType(), IParam::Type::None);
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_EQ(param.Min(), 0.0);
  EXPECT_EQ(param.Max(), 1.0);
  EXPECT_EQ(param.Step(), 1.0);
  EXPECT_STREQ(param.Name(), "");
  param.SetNormalized(0.6);  // undeclared parameters snap like whole numbers
  EXPECT_EQ(param.Value(), 1.0);
  param.SetNormalized(0.4);
  EXPECT_EQ(param.Value(), 0.0);
}

TEST(IParamTest, DeclarationsDerivePrecisionAndWidenEmptyRanges) {
  IParam param;
  param.InitDouble("knob", 0.25, 0.0, 1.0, 0.001, "dB");
  EXPECT_EQ(param.GetType(), IParam::Type::Double);
  EXPECT_EQ(param.Precision(), 3);
  EXPECT_STREQ(param.Label(), "dB");
  IParam coarse;
  coarse.InitDouble("", 0.0, 0.0, 1.0, 1.0);
  EXPECT_EQ(coarse.Precision(), 0);
  IParam fine;
  fine.InitDouble("", 0.0, 0.0, 1.0, 1e-9);
  EXPECT_EQ(fine.Precision(), 6);
  IParam narrow;
  narrow.InitDouble("", 2.0, 2.0, 1.0, 0.5);  // max below min + step
  EXPECT_EQ(narrow.Max(), 2.5);

  // A second declaration keeps the first type.
  IParam twice;
  twice.InitInt("", 0, 0, 15);
  twice.InitEnum("Dst/Amp Preset", 0, 16);
  EXPECT_EQ(twice.GetType(), IParam::Type::Int);
  EXPECT_STREQ(twice.Name(), "Dst/Amp Preset");
  EXPECT_EQ(twice.Max(), 15.0);
}

TEST(IParamTest, NormalisationSnapsAllButDoubles) {
  IParam cabinet;
  cabinet.InitInt("", 0, 0, 38);
  cabinet.SetNormalized(0.5);
  EXPECT_EQ(cabinet.Value(), 19.0);
  IParam model;
  model.InitInt("", 0, 0, 15);
  model.SetNormalized(0.5);
  EXPECT_EQ(model.Value(), 8.0);  // 7.5 rounds up
  model.SetNormalized(1.0);
  EXPECT_EQ(model.Value(), 15.0);
  EXPECT_DOUBLE_EQ(model.GetNormalized(), 1.0);

  IParam knob;
  knob.InitDouble("", 0.5, 0.0, 1.0, 0.001);
  knob.SetNormalized(0.12345);
  EXPECT_EQ(knob.Value(), 0.12345);
  knob.SetNormalized(2.0);
  EXPECT_EQ(knob.Value(), 1.0);
  knob.SetNormalized(-1.0);
  EXPECT_EQ(knob.Value(), 0.0);
  knob.SetNormalized(0.3);
  knob.SetNormalized(std::nan(""));
  EXPECT_EQ(knob.Value(), 0.3);
}

TEST(IParamTest, SetClampsRealValues) {
  IParam param;
  param.InitDouble("", 0.5, 0.0, 1.0, 0.001);
  param.Set(5.0);
  EXPECT_EQ(param.Value(), 1.0);
  param.Set(-5.0);
  EXPECT_EQ(param.Value(), 0.0);
  param.Set(std::nan(""));
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_EQ(param.GetNormalized(42.0), 1.0);
}

TEST(IParamTest, DisplayTextsWinOverNumbers) {
  IParam cabinet;
  cabinet.InitInt("", 0, 0, 38);
  cabinet.SetDisplayText(0, "Cabinet Off");
  cabinet.SetDisplayText(38, "90s Spirit");
  cabinet.SetDisplayText(38, "shadowed");  // the first match wins
  EXPECT_EQ(Display(cabinet, 38.0), "90s Spirit");
  EXPECT_EQ(Display(cabinet, 38.9), "90s Spirit");  // truncated toward zero
  EXPECT_EQ(Display(cabinet, 1.0, true), "90s Spirit");
  EXPECT_EQ(Display(cabinet, 17.0), "17");
  EXPECT_EQ(Display(cabinet, 1e300), "2147483647");  // huge values never overflow
  double value = -1.0;
  EXPECT_TRUE(cabinet.MapDisplayText("90s Spirit", &value));
  EXPECT_EQ(value, 38.0);
  EXPECT_FALSE(cabinet.MapDisplayText("Nope", &value));
}

TEST(IParamTest, NumbersUseThePrecisionAndNegation) {
  IParam knob;
  knob.InitDouble("", 0.0, -1.0, 1.0, 0.001);
  EXPECT_EQ(Display(knob, 0.25), "0.250");
  EXPECT_EQ(Display(knob, 0.0), "0");
  EXPECT_EQ(Display(knob, 0.5, true), "0");  // -1 + 0.5 * 2 is exactly zero
  EXPECT_EQ(Display(knob, 0.7504, true), "0.501");
  knob.SetNegateDisplay(true);
  EXPECT_EQ(Display(knob, 0.25), "-0.250");
  EXPECT_EQ(Display(knob, -0.0), "0");
  IParam whole;
  whole.InitInt("", 0, -10, 10);
  EXPECT_EQ(Display(whole, -3.7), "-3");
}

TEST(IParamTest, LongTextsAreCutAtTheirSlots) {
  IParam param;
  const std::string longName(100, 'x');
  param.InitDouble(longName.c_str(), 0.0, 0.0, 1.0, 1.0, longName.c_str());
  param.SetDisplayText(0, longName.c_str());
  EXPECT_EQ(std::string(param.Name()).size(), size_t(IParam::kTextBytes - 1));
  EXPECT_EQ(std::string(param.Label()).size(), size_t(IParam::kTextBytes - 1));
  EXPECT_EQ(Display(param, 0.0).size(), size_t(IParam::kTextBytes - 1));
}

}  // namespace
