// The audio thread against the plug-in lock: live, its calls never wait for a lock another
// thread holds, and what arrives there (automation, MIDI) is served by the loader thread;
// offline, it is served before the next block; a state saved meanwhile holds what was asked.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "amp/ParamIds.h"
#include "amp/VoltrexPlug.h"
#include "presets/PresetEncoder.h"
#include "tests/amp/HostedAmp.h"
#include "tests/cabinet/TempFolder.h"
#include "tests/cabinet/WaveBytes.h"

namespace {

constexpr int kBlockFrames = 64;
constexpr auto kAudioCallLimit = std::chrono::seconds(10);  // far beyond any block: a hang
constexpr auto kServeLimit = std::chrono::seconds(10);
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kVolumeController = 7;
constexpr int kPresetValues = 17;  // a version-3 preset
constexpr int kBankPresets = 5;

std::atomic<int> gProcessLevel{vst2::kProcessLevelRealtime};

intptr_t LevelHost(vst2::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst2::audioMasterGetCurrentProcessLevel ? gProcessLevel.load() : 0;
}

// The amp records the MIDI it handles, to see which requests the loader served.
class RecordingAmp : public VoltrexPlug {
 public:
  void ProcessMidiMsg(const IMidiMsg& msg) override {
    handled.push_back(msg);
    VoltrexPlug::ProcessMidiMsg(msg);
  }
  std::vector<IMidiMsg> handled;  // written under the plug-in lock
};

class AudioThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gProcessLevel = vst2::kProcessLevelRealtime;
    OpenWithBank(amp);
    amp.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    amp.Dispatch(vst2::effSetBlockSize, 0, kBlockFrames);
    amp.Dispatch(vst2::effMainsChanged, 0, 1);
    for (int c = 0; c < 2; ++c) {
      in[c].assign(kBlockFrames, 0.0f);
      out[c].assign(kBlockFrames, 0.0f);
      for (int i = 0; i < kBlockFrames; ++i) in[c][size_t(i)] = 0.4f * std::sin(0.2f * float(i));
    }
  }

  void TearDown() override {
    if (audioThread_.joinable()) audioThread_.join();
  }

  // Runs calls as the host's audio thread, on a thread of its own; false if they did not
  // return within the limit (they waited for something; the thread is joined at the end).
  bool OnAudioThread(std::function<void()> calls) {
    if (audioThread_.joinable()) audioThread_.join();
    auto finished = std::make_shared<std::promise<void>>();
    auto done = finished->get_future();
    audioThread_ = std::thread([calls = std::move(calls), finished] {
      calls();
      finished->set_value();
    });
    return done.wait_for(kAudioCallLimit) == std::future_status::ready;
  }

  void Process() {
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    amp.Effect()->processReplacing(amp.Effect(), inputs, outputs, kBlockFrames);
  }

  void SendMidi(uint8_t status, uint8_t data1, uint8_t data2 = 0) {
    vst2::VstMidiEvent event{};
    event.type = vst2::kMidiEventType;
    event.byteSize = sizeof event;
    event.midiData[0] = char(status);
    event.midiData[1] = char(data1);
    event.midiData[2] = char(data2);
    vst2::VstEvents list{1, 0, {reinterpret_cast<vst2::VstEvent*>(&event), nullptr}};
    amp.Dispatch(vst2::effProcessEvents, 0, 0, &list);
  }

  double Peak() const {
    double peak = 0.0;
    for (const auto& channel : out)
      for (float v : channel) peak = std::max(peak, double(std::fabs(v)));
    return peak;
  }

  double Value(int index) {
    PlugLockGuard guard(amp->Lock());
    return amp->GetParam(index)->Value();
  }

  // Waits for the loader thread to serve what the audio thread queued.
  bool Served() {
    const auto limit = std::chrono::steady_clock::now() + kServeLimit;
    while (amp->HostRequestsPending()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    PlugLockGuard served(amp->Lock());  // the loader's last request is complete
    return true;
  }

  // Opens the amp on a bank of presets that differ in every value.
  void OpenWithBank(HostedAmp<RecordingAmp>& hosted) {
    const std::string bank = bankFolder.Path() + "Presets/bank/";
    std::filesystem::create_directories(bank);
    for (int i = 0; i < kBankPresets; ++i) {
      const std::vector<float> values(kPresetValues, 0.1f * float(i + 1));
      ASSERT_TRUE(WriteFile(bank + "p" + std::to_string(i) + ".vxf", EncodePreset(3, {}, values)));
    }
    hosted.Dispatch(vst2::effOpen);
    hosted->Presets().ListPresetBanksIn(bankFolder.Path());
    hosted->SetParameterFromGUI(kBankSelect, 0.0);
  }

  TempFolder bankFolder;
  HostedAmp<RecordingAmp> amp{LevelHost};
  std::vector<float> in[2], out[2];

 private:
  std::thread audioThread_;
};

// Another thread holds the plug-in lock throughout: live audio calls, automation and MIDI
// on the audio thread still return and the amp plays; once the lock is free the loader
// applies the automation and the controller.
TEST_F(AudioThreadTest, LiveAudioCallsNeverWaitForTheLock) {
  std::promise<void> held, release;
  std::thread holder([&] {
    PlugLockGuard guard(amp->Lock());
    held.set_value();
    release.get_future().wait();
  });
  held.get_future().wait();
  const bool returned = OnAudioThread([&] {
    Process();
    amp.Effect()->setParameter(amp.Effect(), kMainBass, 0.9f);
    SendMidi(kControlChange, kVolumeController, 20);
    for (int block = 0; block < 8; ++block) Process();
  });
  const double peak = Peak();
  release.set_value();
  holder.join();
  ASSERT_TRUE(returned) << "an audio call waited for the lock another thread held";
  EXPECT_GT(peak, 0.0);
  EXPECT_EQ(amp->AudioContention(), 0u);
  ASSERT_TRUE(Served());
  EXPECT_NEAR(Value(kMainBass), 0.9, 1e-6);
  EXPECT_NEAR(Value(kMainVolume), 20.0 / 127.0, 1e-6);
}

// Program changes queued before the loader could serve them: only the newest loads, and
// the controllers between them keep their order.
TEST_F(AudioThreadTest, ANewerProgramChangeSupersedesOnesStillWaiting) {
  {
    PlugLockGuard guard(amp->Lock());  // the loader cannot serve meanwhile
    ASSERT_TRUE(OnAudioThread([&] {
      SendMidi(kProgramChange, 1);
      SendMidi(kControlChange, kVolumeController, 30);
      SendMidi(kProgramChange, 2);
      SendMidi(kControlChange, kVolumeController, 40);
    }));
  }
  ASSERT_TRUE(Served());
  PlugLockGuard guard(amp->Lock());
  const std::vector<IMidiMsg>& handled = amp->handled;
  ASSERT_EQ(handled.size(), 3u);
  EXPECT_EQ(handled[0].data2, 30);
  EXPECT_EQ(handled[1].data1, 2);
  EXPECT_EQ(handled[1].StatusMsg(), IMidiMsg::Type::ProgramChange);
  EXPECT_EQ(handled[2].data2, 40);
}

// A state saved while a program change waits for the loader stores the requested preset,
// the same bytes as when the loader had served it first.
TEST_F(AudioThreadTest, AStateSavedWhileALoadWaitsHoldsTheRequest) {
  auto chunkOf = [&] {
    void* data = nullptr;
    const intptr_t size = amp.Dispatch(vst2::effGetChunk, 1, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
  };
  const std::vector<uint8_t> before = chunkOf();
  std::vector<uint8_t> whileWaiting;
  {
    PlugLockGuard guard(amp->Lock());
    ASSERT_TRUE(OnAudioThread([&] { SendMidi(kProgramChange, 3); }));
    ASSERT_TRUE(amp->HostRequestsPending());
    whileWaiting = chunkOf();
  }
  HostedAmp<RecordingAmp> served(LevelHost);
  OpenWithBank(served);
  served.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  {
    PlugLockGuard guard(served->Lock());
    IMidiMsg change;
    change.status = kProgramChange;
    change.data1 = 3;
    served->ProcessMidiMsg(change);
  }
  void* data = nullptr;
  const intptr_t size = served.Dispatch(vst2::effGetChunk, 1, 0, &data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  EXPECT_NE(whileWaiting, before);
  EXPECT_EQ(whileWaiting, std::vector<uint8_t>(bytes, bytes + size));
}

// Offline the audio thread takes each request at once, and one queued while the host still
// played live is served before the first offline block: bounces are deterministic.
TEST_F(AudioThreadTest, OfflineRequestsTakeEffectBeforeTheNextBlock) {
  {
    PlugLockGuard guard(amp->Lock());
    ASSERT_TRUE(OnAudioThread([&] {
      Process();
      amp.Effect()->setParameter(amp.Effect(), kMainTreble, 0.8f);
    }));
  }
  gProcessLevel = vst2::kProcessLevelOffline;
  ASSERT_TRUE(OnAudioThread([&] {
    Process();
    EXPECT_FALSE(amp->HostRequestsPending());
    amp.Effect()->setParameter(amp.Effect(), kMainVolume, 0.1f);
    EXPECT_NEAR(amp->GetParam(kMainVolume)->Value(), 0.1, 1e-6);
  }));
  EXPECT_NEAR(Value(kMainTreble), 0.8, 1e-6);
}

}  // namespace
