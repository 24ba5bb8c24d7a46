#include "standin/pcmwave.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

using namespace wavbytes;

TEST(PcmWave, CanonicalHeader)
{
    TempDir dir;
    const std::string bytes = Pcm(44100, 2, 16, 441000);
    ASSERT_EQ(bytes.substr(0, 16), std::string("RIFF") + Le32(36 + 1764000) + "WAVEfmt ");
    TpcmWave wave;
    ASSERT_TRUE(wave.Open(dir.Write("a.wav", bytes)));
    EXPECT_EQ(wave.Channels(), 2);
    EXPECT_EQ(wave.SampleRate(), 44100);
    EXPECT_EQ(wave.BitsPerSample(), 16);
    EXPECT_EQ(wave.BlockAlign(), 4);
    EXPECT_FALSE(wave.IsFloat());
    EXPECT_EQ(wave.DataOffset(), 44u);
    EXPECT_EQ(wave.DataSize(), 1764000u);
    EXPECT_EQ(wave.LengthMs(), 10000u);
    EXPECT_EQ(wave.LengthSeconds(), 10);
    EXPECT_EQ(wave.ByteAt(1000), 176400u);
    EXPECT_EQ(wave.ByteAt(99999), 1764000u) << "past the end is the end";
    EXPECT_EQ(wave.FileName(), dir.File("a.wav"));
}

TEST(PcmWave, ChunksBeforeTheSamplesAreWalkedOver)
{
    TempDir dir;
    // An odd-sized LIST chunk (padded to even) and a fact chunk, then a 24-bit stereo extensible format.
    const std::string extensible =
        Format(0xFFFE, 2, 48000, 24) + Le16(22) + Le16(24) + Le32(3) + Le16(1) +
        std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    ASSERT_EQ(extensible.size(), 40u);
    const std::string samples(48000 * 6, '\0');
    const std::string bytes =
        Riff(Chunk("LIST", std::string("INFOISFT\x03\0\0\0ab\0", 15)) + Chunk("fmt ", extensible) +
             Chunk("fact", Le32(48000)) + Chunk("data", samples));
    TpcmWave wave;
    ASSERT_TRUE(wave.Open(dir.Write("x.wav", bytes)));
    EXPECT_EQ(wave.BitsPerSample(), 24);
    EXPECT_EQ(wave.BlockAlign(), 6);
    // RIFF 12, LIST 8 + 15 + 1 pad, fmt 8 + 40, fact 8 + 4, data's own 8.
    EXPECT_EQ(wave.DataOffset(), 104u);
    EXPECT_EQ(wave.LengthMs(), 1000u);

    TpcmWave floating;
    ASSERT_TRUE(floating.Open(dir.Write(
        "f.wav", Riff(Chunk("fmt ", Format(3, 1, 1000, 32)) + Chunk("data", std::string(4000, '\0'))))));
    EXPECT_TRUE(floating.IsFloat());
    EXPECT_EQ(floating.LengthMs(), 1000u);
}

TEST(PcmWave, DataSizeIsBoundByTheFile)
{
    TempDir dir;
    const std::string head = Riff(Chunk("fmt ", Format(1, 2, 8000, 16)));
    TpcmWave wave;
    // Says 1 MB, holds 1001 bytes: 250 whole frames.
    ASSERT_TRUE(wave.Open(dir.Write("cut.wav", head + "data" + Le32(1000000) + std::string(1001, '\0'))));
    EXPECT_EQ(wave.DataSize(), 1000u);
    // Written as a stream whose end was unknown.
    ASSERT_TRUE(
        wave.Open(dir.Write("stream.wav", head + "data" + Le32(0xFFFFFFFF) + std::string(3200, '\0'))));
    EXPECT_EQ(wave.DataSize(), 3200u);
    EXPECT_EQ(wave.LengthMs(), 100u);
    ASSERT_TRUE(wave.Open(dir.Write("empty.wav", head + "data" + Le32(0))));
    EXPECT_EQ(wave.LengthMs(), 0u);
}

TEST(PcmWave, LengthInSecondsRoundsHalvesToEven)
{
    TempDir dir;
    TpcmWave wave;
    ASSERT_TRUE(wave.Open(dir.Write("a.wav", Pcm(1000, 1, 8, 2500))));
    EXPECT_EQ(wave.LengthSeconds(), 2);
    ASSERT_TRUE(wave.Open(dir.Write("b.wav", Pcm(1000, 1, 8, 3500))));
    EXPECT_EQ(wave.LengthSeconds(), 4);
    ASSERT_TRUE(wave.Open(dir.Write("c.wav", Pcm(1000, 1, 8, 1499))));
    EXPECT_EQ(wave.LengthSeconds(), 1);
    EXPECT_EQ(wave.LengthMs(), 1499u);
}

TEST(PcmWave, WhatCannotBePlayedIsRefused)
{
    TempDir dir;
    const std::string samples(800, '\0');
    const auto refused = [&](const std::string& name, const std::string& bytes) {
        TpcmWave wave;
        return !wave.Open(dir.Write(name, bytes)) && wave.FileName().empty();
    };
    TpcmWave wave;
    EXPECT_FALSE(wave.Open(dir.File("missing.wav")));
    EXPECT_TRUE(refused("short.wav", "RIFF"));
    EXPECT_TRUE(refused("rifx.wav", "RIFX" + Pcm(8000, 1, 8, 10).substr(4)));
    EXPECT_TRUE(refused("avi.wav", "RIFF" + Le32(4) + "AVI "));
    EXPECT_TRUE(refused("nodata.wav", Riff(Chunk("fmt ", Format(1, 1, 8000, 8)))));
    EXPECT_TRUE(
        refused("datafirst.wav", Riff(Chunk("data", samples) + Chunk("fmt ", Format(1, 1, 8000, 8)))));
    EXPECT_TRUE(refused("mp3.wav", Riff(Chunk("fmt ", Format(0x55, 2, 44100, 0)) + Chunk("data", samples))));
    EXPECT_TRUE(refused("12bit.wav", Riff(Chunk("fmt ", Format(1, 1, 8000, 12)) + Chunk("data", samples))));
    EXPECT_TRUE(refused("9ch.wav", Riff(Chunk("fmt ", Format(1, 9, 8000, 8)) + Chunk("data", samples))));
    EXPECT_TRUE(refused("norate.wav", Riff(Chunk("fmt ", Format(1, 1, 0, 8)) + Chunk("data", samples))));
    std::string badAlign = Format(1, 2, 8000, 16);
    badAlign[12] = 3;
    EXPECT_TRUE(refused("align.wav", Riff(Chunk("fmt ", badAlign) + Chunk("data", samples))));
    EXPECT_TRUE(refused("hugefmt.wav", Riff("fmt " + Le32(0x7FFFFFF0) + Format(1, 1, 8000, 8))));
}
