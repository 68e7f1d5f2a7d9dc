// The preset browser through the binary, with the factory banks installed beside it: MIDI
// program changes, the display's stepping buttons and the browser list load presets;
// host automation of the selection alone loads nothing.
#include "tests/host/AmpFixture.h"

namespace {

constexpr int kPresetSelect = 146;
constexpr int kPresetLcdClick = 147;
constexpr int kPresetList = 148;
constexpr int kPresetNext = 150;
constexpr int kPresetListScroll = 151;

using vsthost::MidiBytes;

class PresetBrowserTest : public AmpTest {
 protected:
  std::vector<double> AfterProgram(uint8_t program) {
    host->SendMidi({MidiBytes{0xC0, program, 0}});
    return StoredValues(*host);
  }
};

TEST_F(PresetBrowserTest, ProgramChangesLoadPresetsOfTheFirstBank) {
  const std::vector<double> opened = StoredValues(*host);
  const std::vector<double> first = AfterProgram(0);
  const std::vector<double> second = AfterProgram(1);
  EXPECT_NE(first, opened);
  EXPECT_NE(second, first);
  EXPECT_GT(second[kPresetSelect], 0.0);
  // Loading a preset again gives the same state.
  EXPECT_EQ(AfterProgram(0), first);
  EXPECT_EQ(AfterProgram(0), first);
  EXPECT_EQ(AfterProgram(127), first);  // no such preset: nothing happens
}

TEST_F(PresetBrowserTest, AutomatedSelectionLoadsOnlyWhileAChoiceIsPending) {
  // Older preset versions leave some values as they were: compare equal histories.
  AfterProgram(0);
  const std::vector<double> viaMidi = AfterProgram(1);
  const std::vector<double> first = AfterProgram(0);
  host->SetParameter(kPresetSelect, float(viaMidi[kPresetSelect]));
  std::vector<double> after = StoredValues(*host);
  EXPECT_EQ(after[kPresetSelect], double(float(viaMidi[kPresetSelect])));
  after[kPresetSelect] = first[kPresetSelect];
  EXPECT_EQ(after, first);  // moved the selection, loaded nothing

  host->SetParameter(kPresetSelect, 0.0f);
  host->SetParameter(kPresetLcdClick, 1.0f);  // a choice is under way
  host->SetParameter(kPresetSelect, float(viaMidi[kPresetSelect]));
  after = StoredValues(*host);
  after[kPresetSelect] = viaMidi[kPresetSelect];
  after[kPresetListScroll] = viaMidi[kPresetListScroll];
  EXPECT_EQ(after, viaMidi);
}

TEST_F(PresetBrowserTest, NextButtonLoadsOnReleaseLikeTheProgramChange) {
  // Older preset versions leave some values as they were: compare equal histories.
  AfterProgram(0);
  const std::vector<double> viaMidi = AfterProgram(1);
  AfterProgram(0);
  Press(kPresetNext);
  std::vector<double> viaButton = StoredValues(*host);
  // The button's selection sits a fifth of a step past the preset's own value.
  EXPECT_GT(viaButton[kPresetSelect], viaMidi[kPresetSelect]);
  viaButton[kPresetSelect] = viaMidi[kPresetSelect];
  EXPECT_EQ(viaButton, viaMidi);
}

TEST_F(PresetBrowserTest, DisplayClickOpensTheBrowserAndARowLoadsItsPreset) {
  // Older preset versions leave some values as they were: compare equal histories.
  AfterProgram(0);
  const std::vector<double> viaMidi = AfterProgram(1);
  AfterProgram(0);
  host->SetParameter(kPresetLcdClick, 1.0f);
  EXPECT_EQ(host->GetParameter(kPresetLcdClick), 0.0f);  // the click area lets go itself
  EXPECT_EQ(host->GetParameter(kPresetListScroll), 1.0f);  // the list starts at the top
  host->SetParameter(kPresetList, 1.5f / 20.0f);  // the second row
  std::vector<double> viaList = StoredValues(*host);
  for (int i = 0; i < 162; ++i) {
    if (i != kPresetSelect && i != kPresetList && i != kPresetListScroll) {  // browser state
      EXPECT_EQ(viaList[size_t(i)], viaMidi[size_t(i)]) << i;
    }
  }
}

}  // namespace
