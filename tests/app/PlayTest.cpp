// voltrex playing on a private JACK server (dummy backend): the chain and its zero added
// latency against an offline render, buffer-size changes, MIDI program changes, the
// server going away, and the state kept between runs.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <csignal>

#include "tests/app/JackRig.h"
#include "tests/app/TestSupport.h"

namespace {

constexpr int kPeriod = 256;
constexpr int kChangedPeriod = 512;
constexpr double kLoudDb = -50.0;
constexpr float kRoundingTolerance = 1e-5f;
// Generous: the suites share a small, busy machine.
constexpr double kStartSeconds = 120.0;
constexpr double kRunSeconds = 180.0;

int Render(const std::vector<std::string>& extra, const std::string& output, std::string* err = nullptr) {
  std::vector<std::string> argv{VoltrexPath(), "render", ScratchPath("riff.wav"), output};
  argv.insert(argv.end(), extra.begin(), extra.end());
  return RunToEnd(argv, {}, output, nullptr, err);
}

Audio RenderedAudio(const std::vector<std::string>& extra, const std::string& name) {
  std::string err;
  EXPECT_EQ(Render(extra, ScratchPath(name), &err), 0) << err;
  Audio audio;
  EXPECT_TRUE(ReadAudio(ScratchPath(name), audio));
  return audio;
}

class PlayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(WriteAudio(ScratchPath("riff.wav"), Riff(JackServer::kRate), SF_FORMAT_WAV | SF_FORMAT_FLOAT));
  }
  void SetUp() override { ASSERT_TRUE(server_.Ready(kStartSeconds)) << "jackd did not start"; }

  // voltrex --headless on the private server, connecting nothing itself.
  std::unique_ptr<Subprocess> StartVoltrex(const std::string& state, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> argv{VoltrexPath(), "--headless", "--no-connect", "--state", state};
    argv.insert(argv.end(), extra.begin(), extra.end());
    static int runs = 0;
    auto voltrex = std::make_unique<Subprocess>(
        argv, std::map<std::string, std::string>{{"JACK_DEFAULT_SERVER", server_.Name()}},
        ScratchPath("voltrex" + std::to_string(++runs)));
    return voltrex;
  }
  static bool Started(Subprocess& voltrex) {
    return WaitFor([&] { return voltrex.Out().find("nothing connected") != std::string::npos || !voltrex.Running(); },
                   kStartSeconds) &&
           voltrex.Running();
  }
  // Quits by signal; the exit status.
  static int Quit(Subprocess& voltrex, int signal) {
    voltrex.Signal(signal);
    return voltrex.Wait(kRunSeconds);
  }

  JackServer server_{kPeriod};
};

TEST_F(PlayTest, PlaysAsRenderedThenFollowsBufferSizeAndProgramChangesUntilTheServerStops) {
  const std::string state = ScratchPath("played.state");
  auto voltrex = StartVoltrex(state);
  ASSERT_TRUE(Started(*voltrex)) << voltrex->Err();
  EXPECT_NE(voltrex->Out().find("at 48000 Hz, buffer size 256 frames"), std::string::npos) << voltrex->Out();
  EXPECT_NE(voltrex->Out().find("capture to playback latency"), std::string::npos);

  const Audio riff = Riff(JackServer::kRate);
  JackRig rig(server_.Name(), riff.channels[0]);
  ASSERT_TRUE(rig.Opened());
  ASSERT_TRUE(rig.ConnectTo("Voltrex", kStartSeconds));
  ASSERT_TRUE(rig.PlayRiff(kRunSeconds));
  std::vector<std::vector<float>> played;
  ASSERT_TRUE(rig.RecordedRiff(played, kRunSeconds));
  Audio live;
  live.channels = played;
  EXPECT_TRUE(AllFinite(live));
  EXPECT_GT(LevelDb(live), kLoudDb);
  // Same blocks as JACK's cycles: the same samples, with nothing added in between.
  const Audio offline = RenderedAudio({"--block", std::to_string(kPeriod)}, "offline.wav");
  ASSERT_EQ(offline.channels.size(), 2u);
  float worst = 0.0f;
  for (size_t c = 0; c < 2; ++c) {
    for (size_t f = 0; f < offline.Frames(); ++f) worst = std::max(worst, std::fabs(offline.channels[c][f] - played[c][f]));
  }
  EXPECT_LE(worst, kRoundingTolerance);

  ASSERT_TRUE(rig.SetBufferSize(kChangedPeriod, kRunSeconds));
  ASSERT_TRUE(rig.PlayRiff(kRunSeconds));
  ASSERT_TRUE(rig.RecordedRiff(played, kRunSeconds));
  live.channels = played;
  EXPECT_TRUE(AllFinite(live));
  EXPECT_GT(LevelDb(live), kLoudDb);
  EXPECT_TRUE(WaitFor([&] { return voltrex->Out().find("buffer size now 512") != std::string::npos; }, kRunSeconds));

  constexpr int kProgram = 2;
  ASSERT_TRUE(rig.SendProgramChange(kProgram, kRunSeconds));
  ASSERT_TRUE(rig.PlayRiff(kRunSeconds));  // some cycles after the change
  rig.Close();

  ASSERT_TRUE(server_.Stop());
  EXPECT_EQ(voltrex->Wait(kRunSeconds), 0) << voltrex->Err();
  EXPECT_NE(voltrex->Err().find("JACK server went away"), std::string::npos) << voltrex->Err();
  EXPECT_NE(voltrex->Out().find("state saved"), std::string::npos) << voltrex->Out();
  EXPECT_NE(voltrex->Out().find("xrun"), std::string::npos);
  // The saved state is the program the MIDI message chose.
  EXPECT_EQ(RenderedAudio({"--state", state}, "from-state.wav").channels,
            RenderedAudio({"--program", std::to_string(kProgram)}, "from-program.wav").channels);
  EXPECT_NE(RenderedAudio({}, "default.wav").channels, RenderedAudio({"--state", state}, "again.wav").channels);
}

TEST_F(PlayTest, TwoRunsInARowKeepTheState) {
  const std::string state = ScratchPath("kept.state");
  auto first = StartVoltrex(state, {"--set", "volume=0.2", "--set", "model=Bat", "--set", "drive_on=on"});
  ASSERT_TRUE(Started(*first)) << first->Err();
  ASSERT_EQ(Quit(*first, SIGINT), 0) << first->Err();
  const std::vector<uint8_t> saved = FileBytes(state);
  ASSERT_FALSE(saved.empty());

  auto second = StartVoltrex(state);
  ASSERT_TRUE(Started(*second)) << second->Err();
  ASSERT_EQ(Quit(*second, SIGTERM), 0) << second->Err();
  EXPECT_EQ(FileBytes(state), saved);
  EXPECT_EQ(RenderedAudio({"--state", state}, "kept.wav").channels,
            RenderedAudio({"--set", "volume=0.2", "--set", "model=Bat", "--set", "drive_on=on"}, "set.wav").channels);
}

TEST_F(PlayTest, DamagedStateIsSetAsideAndDefaultsLoad) {
  const std::string state = ScratchPath("damaged.state");
  const std::vector<uint8_t> garbage(300, 0xA5);
  WriteBytes(state, garbage);
  auto voltrex = StartVoltrex(state);
  ASSERT_TRUE(Started(*voltrex)) << voltrex->Err();
  EXPECT_NE(voltrex->Err().find("unreadable"), std::string::npos) << voltrex->Err();
  EXPECT_NE(voltrex->Err().find(state + ".damaged"), std::string::npos) << voltrex->Err();
  ASSERT_EQ(Quit(*voltrex, SIGTERM), 0);
  EXPECT_EQ(FileBytes(state + ".damaged"), garbage);
  EXPECT_EQ(RenderedAudio({"--state", state}, "restarted.wav").channels, RenderedAudio({}, "defaults.wav").channels);

  // A second damaged file never replaces the first one set aside.
  WriteBytes(state, garbage);
  auto again = StartVoltrex(state);
  ASSERT_TRUE(Started(*again)) << again->Err();
  ASSERT_EQ(Quit(*again, SIGTERM), 0);
  EXPECT_EQ(FileBytes(state + ".damaged-2"), garbage);
}

TEST_F(PlayTest, ConnectsPhysicalPortsByDefaultAndNamedOnesWhenAsked) {
  const std::string state = ScratchPath("connect.state");
  std::vector<std::string> argv{VoltrexPath(), "--headless", "--state", state};
  const std::map<std::string, std::string> env{{"JACK_DEFAULT_SERVER", server_.Name()}};
  Subprocess physical(argv, env, ScratchPath("physical"));
  ASSERT_TRUE(WaitFor([&] { return physical.Out().find("latency") != std::string::npos || !physical.Running(); },
                      kStartSeconds));
  ASSERT_EQ(Quit(physical, SIGTERM), 0) << physical.Err();
  const std::string out = physical.Out();
  // One guitar: the first capture port to input 1 only.
  EXPECT_NE(out.find("connected system:capture_1 -> Voltrex:in_1"), std::string::npos) << out;
  EXPECT_EQ(out.find("Voltrex:in_2"), std::string::npos) << out;
  EXPECT_NE(out.find("connected Voltrex:out_1 -> system:playback_1"), std::string::npos) << out;
  EXPECT_NE(out.find("connected Voltrex:out_2 -> system:playback_2"), std::string::npos) << out;

  argv.insert(argv.end(), {"--in", "system:capture_2", "--in", "system:capture_1", "--out", "system:playback_2"});
  Subprocess named(argv, env, ScratchPath("named"));
  ASSERT_TRUE(WaitFor([&] { return named.Out().find("latency") != std::string::npos || !named.Running(); }, kStartSeconds));
  ASSERT_EQ(Quit(named, SIGTERM), 0) << named.Err();
  EXPECT_NE(named.Out().find("connected system:capture_2 -> Voltrex:in_1"), std::string::npos) << named.Out();
  EXPECT_NE(named.Out().find("connected system:capture_1 -> Voltrex:in_2"), std::string::npos) << named.Out();
  EXPECT_NE(named.Out().find("connected Voltrex:out_1 -> system:playback_2"), std::string::npos) << named.Out();

  std::string err;
  EXPECT_EQ(RunToEnd({VoltrexPath(), "--headless", "--state", state, "--midi", "nobody:midi"}, env,
                     ScratchPath("unknown-port"), nullptr, &err, kRunSeconds),
            1);
  EXPECT_NE(err.find("cannot connect nobody:midi -> Voltrex:midi_in"), std::string::npos) << err;
}

TEST(PlayWithoutServerTest, SaysSoAndEnds) {
  std::string err;
  EXPECT_EQ(RunToEnd({VoltrexPath(), "--headless"}, {{"JACK_DEFAULT_SERVER", "voltrex-no-such-server"}},
                     ScratchPath("noserver"), nullptr, &err, kRunSeconds),
            1);
  EXPECT_NE(err.find("no JACK server"), std::string::npos) << err;
}

}  // namespace
