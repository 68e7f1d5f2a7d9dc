// Parameters as the host automates and displays them.
#include <cmath>

#include "tests/host/PluginFixture.h"

namespace {

TEST_F(PluginTest, DefaultsDisplayAsDeclared) {
  EXPECT_EQ(host->ParamDisplay(0), "0");        // gate switch off
  EXPECT_EQ(host->ParamDisplay(1), "0.500");    // a knob at its default
  EXPECT_EQ(host->ParamDisplay(21), "0");       // a knob at zero shows no decimals
  EXPECT_EQ(host->ParamDisplay(22), "0.500");
  EXPECT_EQ(host->ParamDisplay(4), "Clean 1");
  EXPECT_EQ(host->ParamDisplay(12), "Cabinet Off");
  EXPECT_EQ(host->ParamDisplay(151), "0.500");  // list scroll faders start centred
  EXPECT_EQ(host->ParamDisplay(154), "0.500");
  EXPECT_EQ(host->ParamDisplay(157), "0");
  EXPECT_EQ(host->ParamDisplay(23), "0");       // undeclared indices exist and read 0
  for (int i = 30; i < 142; ++i) EXPECT_EQ(host->ParamDisplay(i), "0.500") << i;
  EXPECT_FLOAT_EQ(host->GetParameter(16), 0.5f);
  EXPECT_FLOAT_EQ(host->GetParameter(4), 0.0f);
}

TEST_F(PluginTest, WholeNumberParametersSnapToTheirSteps) {
  host->SetParameter(12, 0.5f);  // 19 of 0..38
  EXPECT_EQ(host->ParamDisplay(12), "PowerDude 2");
  EXPECT_FLOAT_EQ(host->GetParameter(12), 19.0f / 38.0f);
  host->SetParameter(4, 0.5f);  // 7.5 of 0..15 rounds up
  EXPECT_EQ(host->ParamDisplay(4), "Metal Machine");
  host->SetParameter(4, 13.0f / 15.0f);
  EXPECT_EQ(host->ParamDisplay(4), "Bat");
  host->SetParameter(4, 1.0f);
  EXPECT_EQ(host->ParamDisplay(4), "Noise Soldier");
  host->SetParameter(12, 1.0f);
  EXPECT_EQ(host->ParamDisplay(12), "90s Spirit");
  host->SetParameter(157, 0.5f);  // 5.5 of 0..11
  EXPECT_EQ(host->ParamDisplay(157), "6");
}

TEST_F(PluginTest, ContinuousParametersKeepTheHostsValue) {
  host->SetParameter(16, 0.1234f);
  EXPECT_EQ(host->GetParameter(16), 0.1234f);
  EXPECT_EQ(host->ParamDisplay(16), "0.123");
  // Switches are declared continuous too and keep what the host sends.
  host->SetParameter(0, 0.3f);
  EXPECT_EQ(host->GetParameter(0), 0.3f);
  // Undeclared indices (buttons, lamps, unused) store 0 or 1.
  host->SetParameter(25, 0.7f);
  EXPECT_EQ(host->GetParameter(25), 1.0f);
  host->SetParameter(161, 0.4f);
  EXPECT_EQ(host->GetParameter(161), 0.0f);
}

TEST_F(PluginTest, OutOfRangeAndNanValuesAreSafe) {
  host->SetParameter(16, 1.5f);
  EXPECT_EQ(host->GetParameter(16), 1.0f);
  host->SetParameter(16, -0.5f);
  EXPECT_EQ(host->GetParameter(16), 0.0f);
  host->SetParameter(4, -3.0f);
  EXPECT_EQ(host->ParamDisplay(4), "Clean 1");
  host->SetParameter(16, 0.25f);
  host->SetParameter(16, std::nanf(""));
  EXPECT_EQ(host->GetParameter(16), 0.25f);
  host->SetParameter(16, INFINITY);
  EXPECT_EQ(host->GetParameter(16), 1.0f);
}

TEST_F(PluginTest, SettingAParameterFromTheHostDoesNotEchoBack) {
  host->ClearCalls();
  host->SetParameter(16, 0.9f);
  EXPECT_TRUE(CallsOf(vst2::audioMasterAutomate).empty());
}

}  // namespace
