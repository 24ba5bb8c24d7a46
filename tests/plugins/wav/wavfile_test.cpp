#include "plugins/wav/wavfile.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using wavbytes::MakeWav;
using wavbytes::WavLayout;

TEST(WAVfile, CanonicalHeaderGivesFormatAndDuration)
{
    TempDir dir;
    WavLayout layout;
    layout.dataBytes = 10 * 44100 * 4;
    layout.writeData = true;
    const std::string bytes = MakeWav(layout);
    ASSERT_EQ(bytes.substr(0, 12), std::string("RIFF") + Le32(36 + layout.dataBytes) + "WAVE");

    TWAVfile wav;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("ten.wav", bytes)));
    EXPECT_TRUE(wav.Valid());
    EXPECT_EQ(wav.FormatTag(), 1);
    EXPECT_EQ(wav.Channels(), 2);
    EXPECT_EQ(wav.SampleRate(), 44100u);
    EXPECT_EQ(wav.BytesPerSecond(), 176400u);
    EXPECT_EQ(wav.BlockAlign(), 4);
    EXPECT_EQ(wav.BitsPerSample(), 16);
    EXPECT_EQ(wav.FactCount(), 0u);
    EXPECT_EQ(wav.HeaderSize(), 44u);
    EXPECT_EQ(wav.FileSize(), 44u + layout.dataBytes);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 10.0);
}

// The RIFF size gives the length, but never more than the file really holds.
TEST(WAVfile, DurationComesFromTheDataTheFileHolds)
{
    TempDir dir;
    TWAVfile wav;
    WavLayout mono;
    mono.channels = 1;
    mono.sampleRate = 8000;
    mono.bitsPerSample = 8;
    mono.dataBytes = 20000;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("mono.wav", MakeWav(mono))));
    EXPECT_EQ(wav.Channels(), 1);
    EXPECT_EQ(wav.BlockAlign(), 1);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 2.5);
    // Cut after the header, or with a RIFF size far too big: the bytes there give the length.
    mono.writeData = false;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("cut.wav", MakeWav(mono))));
    EXPECT_EQ(wav.FileSize(), 44u);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 0.0);
    mono.writeData = true;
    mono.riffSize = 0xFFFFFFF0u;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("oversized.wav", MakeWav(mono))));
    EXPECT_EQ(wav.FileSize(), 20044u);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 2.5);

    // The RIFF size says 20: header and file size both become 28, and there is nothing left to play.
    WavLayout tiny;
    tiny.riffSize = 20;
    tiny.dataBytes = 100000;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("tiny.wav", MakeWav(tiny))));
    EXPECT_TRUE(wav.Valid());
    EXPECT_EQ(wav.HeaderSize(), 28u);
    EXPECT_EQ(wav.FileSize(), 28u);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 0.0);

    // A RIFF size near 4 GiB does not wrap around when the 8 header bytes are added (a sparse file holds
    // that much).
    WavLayout huge;
    huge.riffSize = 0xFFFFFFFFu;
    const std::string hugeFile = dir.Write("huge.wav", MakeWav(huge));
    std::error_code ec;
    std::filesystem::resize_file(hugeFile, 0x100000010ull, ec);
    if (!ec) {
        ASSERT_TRUE(wav.ReadFromFile(hugeFile));
        EXPECT_EQ(wav.FileSize(), 0x100000007ull);
        EXPECT_NEAR(wav.GetDuration(), (0x100000007ull - 44) / 176400.0, 1e-9);
    }
    std::filesystem::remove(hugeFile, ec);

    // Nothing to divide by.
    WavLayout noRate;
    noRate.bytesPerSecond = 0;
    noRate.dataBytes = 1000;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("norate.wav", MakeWav(noRate))));
    EXPECT_TRUE(wav.Valid());
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 0.0);
}

TEST(WAVfile, FactChunkGivesTheSampleCount)
{
    TempDir dir;
    TWAVfile wav;
    // A compressed format whose byte rate says nothing exact about the length: the sample count rules.
    WavLayout adpcm;
    adpcm.formatTag = 2;
    adpcm.channels = 1;
    adpcm.sampleRate = 11025;
    adpcm.bitsPerSample = 4;
    adpcm.bytesPerSecond = 5000;
    adpcm.factCount = 22050;
    adpcm.dataBytes = 7000;
    const std::string bytes = MakeWav(adpcm);
    ASSERT_EQ(bytes.substr(36, 12), "fact" + Le32(4) + Le32(22050));
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("adpcm.wav", bytes)));
    EXPECT_TRUE(wav.Valid());
    EXPECT_EQ(wav.FormatTag(), 2);
    EXPECT_EQ(wav.FactCount(), 22050u);
    EXPECT_EQ(wav.HeaderSize(), 56u);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 2.0);

    // A longer "fmt " (18 bytes, with its extra-size field) moves the "fact" chunk along with it.
    adpcm.fmtExtra = 2;
    adpcm.factCount = 33075;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("adpcm18.wav", MakeWav(adpcm))));
    EXPECT_EQ(wav.FactCount(), 33075u);
    EXPECT_EQ(wav.HeaderSize(), 58u);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 3.0);

    // A sample count without a sample rate gives no time, and the byte rate is not asked then.
    adpcm.sampleRate = 0;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("norate.wav", MakeWav(adpcm))));
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 0.0);
}

TEST(WAVfile, OtherChunksAfterFmtGiveNoSampleCount)
{
    TempDir dir;
    TWAVfile wav;
    // "LIST" then "INFO": the bytes where a sample count would be are text, not a count.
    WavLayout list;
    list.chunkBeforeData = "LIST" + Le32(4) + "INFO";
    list.dataBytes = 176400 * 3;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("list.wav", MakeWav(list))));
    EXPECT_TRUE(wav.Valid());
    EXPECT_EQ(wav.FactCount(), 0u);
    EXPECT_EQ(wav.HeaderSize(), 56u);
    EXPECT_NEAR(wav.GetDuration(), 3.0, 0.001);

    // An 18-byte "fmt " straight before "data": bytes 36 to 39 are not "data", nor is there a "fact".
    WavLayout ext;
    ext.fmtExtra = 2;
    ext.dataBytes = 176400;
    ext.writeData = true;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("fmt18.wav", MakeWav(ext))));
    EXPECT_EQ(wav.FactCount(), 0u);
    EXPECT_EQ(wav.HeaderSize(), 58u);
    EXPECT_NEAR(wav.GetDuration(), 1.0, 0.001);
}

TEST(WAVfile, ReadableButNotValid)
{
    TempDir dir;
    TWAVfile wav;
    WavLayout good;
    good.dataBytes = 176400;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("good.wav", MakeWav(good))));
    ASSERT_TRUE(wav.Valid());

    WavLayout six;
    six.channels = 6;
    six.dataBytes = 176400;
    ASSERT_TRUE(wav.ReadFromFile(dir.Write("six.wav", MakeWav(six))));
    EXPECT_FALSE(wav.Valid());
    EXPECT_EQ(wav.Channels(), 0);
    EXPECT_EQ(wav.SampleRate(), 0u);
    EXPECT_EQ(wav.FileSize(), 0u);
    EXPECT_DOUBLE_EQ(wav.GetDuration(), 0.0);

    std::string bytes = MakeWav(good);
    for (const auto& [at, id] : {std::pair{0, "RIFX"}, {8, "AVI "}, {12, "fmt_"}}) {
        std::string damaged = bytes;
        damaged.replace(static_cast<std::size_t>(at), 4, id);
        ASSERT_TRUE(wav.ReadFromFile(dir.Write("damaged.wav", damaged))) << id;
        EXPECT_FALSE(wav.Valid()) << id;
    }
}

TEST(WAVfile, InputErrorsAnswerFalse)
{
    TempDir dir;
    TWAVfile wav;
    WavLayout layout;
    const std::string bytes = MakeWav(layout);

    EXPECT_FALSE(wav.ReadFromFile(dir.File("missing.wav")));
    EXPECT_FALSE(wav.ReadFromFile(dir.Path()));
    EXPECT_FALSE(wav.ReadFromFile(dir.Write("short.wav", bytes.substr(0, 39))));
    EXPECT_FALSE(wav.ReadFromFile(dir.Write("empty.wav", "")));
    // 40 bytes are enough when "data" follows "fmt ".
    EXPECT_TRUE(wav.ReadFromFile(dir.Write("forty.wav", bytes.substr(0, 40))));
    EXPECT_TRUE(wav.Valid());

    // A "fact" chunk whose count is cut off, and a "fmt " size pointing far past the end.
    layout.factCount = 100;
    const std::string fact = MakeWav(layout);
    EXPECT_FALSE(wav.ReadFromFile(dir.Write("cutfact.wav", fact.substr(0, 46))));
    EXPECT_FALSE(wav.Valid());
    std::string far = fact;
    far.replace(16, 4, Le32(0xFFFFFFF0u));
    EXPECT_FALSE(wav.ReadFromFile(dir.Write("far.wav", far)));

    const std::string locked = dir.Write("locked.wav", bytes);
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (::geteuid() != 0) {
        EXPECT_FALSE(wav.ReadFromFile(locked));
    }

    // A FIFO put where a scan listed a file a moment before: refused at once, never waited on.
    const std::string pipe = dir.File("pipe.wav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            ::alarm(10);
            TWAVfile fromPipe;
            std::_Exit(fromPipe.ReadFromFile(pipe) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}
