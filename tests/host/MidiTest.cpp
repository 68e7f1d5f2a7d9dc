// MIDI controllers and program changes as the host delivers them.
#include "tests/host/PluginFixture.h"

namespace {

using vsthost::MidiBytes;

struct Notification {
  int32_t opcode;
  int32_t index;
};

class MidiTest : public PluginTest {
 protected:
  // The begin/automate/end calls the plug-in made, in order.
  std::vector<Notification> EditNotifications() {
    std::vector<Notification> found;
    for (const auto& call : host->Calls()) {
      if (call.opcode == vst2::audioMasterBeginEdit || call.opcode == vst2::audioMasterAutomate ||
          call.opcode == vst2::audioMasterEndEdit) {
        found.push_back({call.opcode, call.index});
      }
    }
    return found;
  }

  // The control bound to the target passes the value on like a user edit (an automate of
  // the target when its value changed, and of every parameter the handler forwards it to),
  // then the host hears begin, automate and end for the informed index.
  void ExpectEditOf(int index, float value) {
    const std::vector<Notification> calls = EditNotifications();
    ASSERT_GE(calls.size(), 3u);
    const size_t last = calls.size() - 3;
    EXPECT_EQ(calls[last].opcode, vst2::audioMasterBeginEdit);
    EXPECT_EQ(calls[last + 1].opcode, vst2::audioMasterAutomate);
    EXPECT_EQ(calls[last + 2].opcode, vst2::audioMasterEndEdit);
    for (size_t i = last; i < calls.size(); ++i) EXPECT_EQ(calls[i].index, index);
    for (size_t i = 0; i < last; ++i) EXPECT_EQ(calls[i].opcode, vst2::audioMasterAutomate);
    for (const auto& call : host->Calls()) {
      if (call.opcode == vst2::audioMasterAutomate) {
        EXPECT_FLOAT_EQ(call.opt, value);
      }
    }
  }
};

TEST_F(MidiTest, ControllersTellTheHostAboutTheirParameter) {
  const struct {
    uint8_t controller;
    int informed;
  } cases[] = {{7, 16}, {8, 13}, {9, 14}, {15, 15}, {16, 0}, {17, 1}, {18, 2}, {19, 3},
               {20, 5}, {21, 6}, {22, 7}, {23, 8}, {24, 9}, {25, 10}, {26, 11}};
  for (const auto& c : cases) {
    host->ClearCalls();
    EXPECT_EQ(host->SendMidi({MidiBytes{0xB0, c.controller, 127}}), 1);
    SCOPED_TRACE(int(c.controller));
    ExpectEditOf(c.informed, 1.0f);
  }
  host->ClearCalls();
  host->SendMidi({MidiBytes{0xB3, 7, 0}});  // any channel
  ExpectEditOf(16, 0.0f);
}

TEST_F(MidiTest, UnmappedControllersAndOtherMessagesDoNothing) {
  const std::vector<uint8_t> before = host->GetChunk(false);
  host->ClearCalls();
  for (uint8_t controller : {0, 6, 10, 11, 12, 13, 14, 27, 64, 127}) {
    host->SendMidi({MidiBytes{0xB0, controller, 100}});
  }
  host->SendMidi({MidiBytes{0x90, 60, 100}, MidiBytes{0x80, 60, 0}, MidiBytes{0xE0, 0, 64},
                  MidiBytes{0xF8, 0, 0}, MidiBytes{0x00, 0, 0}});
  EXPECT_TRUE(EditNotifications().empty());
  EXPECT_EQ(host->GetChunk(false), before);
}

TEST_F(MidiTest, ProgramChangeWithoutPresetsSelectsNothing) {
  const std::vector<uint8_t> before = host->GetChunk(false);
  host->ClearCalls();
  for (uint8_t program : {0, 1, 3, 127}) host->SendMidi({MidiBytes{0xC0, program, 0}});
  EXPECT_TRUE(EditNotifications().empty());
  EXPECT_EQ(host->GetChunk(false), before);
}

TEST_F(MidiTest, NonMidiEventsGoBackToTheHost) {
  vst2::VstEvent sysex{};
  sysex.type = 6;
  sysex.byteSize = sizeof sysex;
  sysex.deltaFrames = 17;
  host->ClearCalls();
  EXPECT_EQ(host->SendEvents({&sysex, nullptr}), 1);
  const std::vector<vst2::VstEvent> received = host->ReceivedEvents();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].type, 6);
  EXPECT_EQ(received[0].deltaFrames, 17);
}

}  // namespace
