#include "cabinet/WaveReader.h"

#include <gtest/gtest.h>

#include <limits>

#include "WaveBytes.h"

namespace {

bool Read(const Bytes& bytes, WaveData& wave) { return ReadWave(bytes.data(), bytes.size(), wave); }

TEST(WaveReader, IntegerDepthsConvertAsTheFormulasSay) {
  struct Case {
    int bits;
    std::vector<long long> codes;
    std::vector<double> expected;
  };
  const std::vector<Case> cases = {
      {8, {0, 127, 255}, {-1.0, 0.0, 255 / 127.0 - 1.0}},
      {16, {-32768, -1, 16384}, {-1.0, -3.0517578125e-5, 0.5}},
      {24, {0x7FFFFF, 0x800000, 0xFFFFFF}, {0x7FFFFF / 8388607.49999, 0x800000 / 8388607.49999 - 2.0,
                                            0xFFFFFF / 8388607.49999 - 2.0}},
      {32, {2147483647LL, -2147483648LL, -2}, {2147483647 / 2147483647.49999, -2147483648.0 / 2147483647.49999,
                                               -2 / 2147483647.49999}},
  };
  for (const Case& c : cases) {
    WaveData wave;
    ASSERT_TRUE(Read(Riff({FormatChunk(1, 1, 48000, c.bits), Chunk("data", IntegerSamples(c.codes, c.bits))}), wave))
        << c.bits;
    ASSERT_EQ(wave.firstChannel.size(), c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_DOUBLE_EQ(wave.firstChannel[i], c.expected[i]) << c.bits;
  }
}

// Float and extensible formats; of several channels the first, with every frame.
TEST(WaveReader, FloatExtensibleAndMultichannelFilesGiveTheirFirstChannel) {
  const Bytes floats = FloatSamples({0.5f, -0.25f, 1.5f});
  const struct {
    Bytes file;
    int channels;
    std::vector<double> expected;
  } cases[] = {
      {Riff({FormatChunk(3, 1, 44100, 32), Chunk("data", floats)}), 1, {0.5, -0.25, 1.5}},
      {Riff({ExtensibleFormatChunk(3, 1, 44100, 32), Chunk("data", floats)}), 1, {0.5, -0.25, 1.5}},
      {Riff({ExtensibleFormatChunk(1, 2, 96000, 24), Chunk("data", IntegerSamples({0x400000, 1, 0x200000, 2}, 24))}),
       2, {0x400000 / 8388607.49999, 0x200000 / 8388607.49999}},
      {Riff({FormatChunk(1, 2, 44100, 16), Chunk("data", IntegerSamples({16384, -1, -16384, -1, 8192, -1}, 16))}),
       2, {0.5, -0.5, 0.25}},
  };
  for (const auto& c : cases) {
    WaveData wave;
    ASSERT_TRUE(Read(c.file, wave));
    EXPECT_EQ(wave.channels, c.channels);
    EXPECT_EQ(wave.firstChannel, c.expected);
  }
}

TEST(WaveReader, ChunksAreFoundByIdWithPadBytes) {
  const Bytes data = Chunk("data", IntegerSamples({16384}, 16));
  const Bytes odd = Chunk("LIST", Bytes(5, 'x'));  // odd size: a pad byte follows
  WaveData wave;
  EXPECT_TRUE(Read(Riff({Chunk("JUNK", Bytes(28, 0)), odd, FormatChunk(1, 1, 44100, 16), Chunk("bext", Bytes(3, 1)), data}),
                   wave));
  EXPECT_EQ(wave.firstChannel, std::vector<double>{0.5});
  EXPECT_TRUE(Read(Riff({FormatChunk(1, 1, 44100, 16), odd, data}), wave));
}

TEST(WaveReader, DataClaimingMoreThanTheFileTakesTheFramesThatAreThere) {
  Bytes bytes = Riff({FormatChunk(1, 1, 44100, 16), Chunk("data", IntegerSamples({1, 2, 3}, 16), 0x7FFFFFF0)});
  WaveData wave;
  ASSERT_TRUE(Read(bytes, wave));
  EXPECT_EQ(wave.firstChannel.size(), 3u);
  bytes.pop_back();  // truncated in the middle of the last frame
  ASSERT_TRUE(Read(bytes, wave));
  EXPECT_EQ(wave.firstChannel.size(), 2u);
}

TEST(WaveReader, RefusesWhatItCannotRead) {
  const Bytes samples = IntegerSamples({1, 2}, 16);
  const std::vector<Bytes> refused = {
      {},
      Bytes{'R', 'I', 'F', 'F'},
      Riff({Chunk("data", samples)}),                                      // no format chunk
      Riff({FormatChunk(1, 1, 44100, 16)}),                                // no data chunk
      Riff({FormatChunk(1, 0, 44100, 16), Chunk("data", samples)}),        // no channels
      Riff({FormatChunk(1, 1, 44100, 16, 0), Chunk("data", samples)}),     // block align 0
      Riff({FormatChunk(1, 2, 44100, 16, 2), Chunk("data", samples)}),     // frames overlap
      Riff({FormatChunk(1, 1, 44100, 12), Chunk("data", samples)}),        // odd depth
      Riff({FormatChunk(1, 1, 44100, 64, 8), Chunk("data", Bytes(16, 0))}),  // 64-bit integer
      Riff({FormatChunk(3, 1, 44100, 16), Chunk("data", samples)}),        // 16-bit float
      Riff({FormatChunk(2, 1, 44100, 16), Chunk("data", samples)}),        // ADPCM
      Riff({FormatChunk(1, 1, 0, 16), Chunk("data", samples)}),            // no rate
      Riff({FormatChunk(1, 1, 44100, 16), Chunk("data", {})}),             // no frames
      Riff({FormatChunk(3, 1, 44100, 32), Chunk("data", FloatSamples({1.0f, std::numeric_limits<float>::quiet_NaN()}))}),
  };
  for (size_t i = 0; i < refused.size(); ++i) {
    WaveData wave;
    wave.channels = 42;
    EXPECT_FALSE(Read(refused[i], wave)) << "case " << i;
    EXPECT_EQ(wave.channels, 42) << "case " << i;
  }
  Bytes notWave = Riff({FormatChunk(1, 1, 44100, 16), Chunk("data", samples)});
  notWave[8] = 'X';
  WaveData wave;
  EXPECT_FALSE(Read(notWave, wave));
}

}  // namespace
