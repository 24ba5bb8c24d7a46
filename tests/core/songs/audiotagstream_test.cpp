#include "support/bytes.h"

#include "core/songs/audiotagstream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string Encode(const TaudioTag& song)
{
    TstreamWriter w;
    WriteAudioTagComponent(w, song);
    return w.Bytes();
}

std::unique_ptr<TaudioTag> Decode(const std::string& bytes, std::uint64_t* left = nullptr)
{
    TstreamReader r(bytes);
    auto song = ReadAudioTagComponent(r);
    if (left)
        *left = r.Remaining();
    return song;
}

// One song with a value of every kind, and its stream byte for byte.
void FillSong(TaudioTag& s)
{
    s.SetFilename("/m/a.wav");
    s.SetArtist("Band");
    s.SetTitle("Song");
    s.SetTrackNo(5);
    s.SetDate("1999");
    s.SetGenreID(17);
    s.SetGenreString("Rock");
    s.SetBitRate(1411);
    s.SetDuration(200);
    s.SetSampleRate(44100);
    s.SetChannels(2);
    s.SetTagType("WAV");
    s.SetModDate(45000.5);
}

const std::string kSongBytes = std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) +     //
                               Raw({8}) + "Filename" + Raw({6, 8}) + "/m/a.wav" +            //
                               Raw({6}) + "Artist" + Raw({6, 4}) + "Band" +                  //
                               Raw({5}) + "Title" + Raw({6, 4}) + "Song" +                   //
                               Raw({7}) + "TrackNo" + Raw({2, 5}) +                          //
                               Raw({4}) + "Date" + Raw({6, 4}) + "1999" +                    //
                               Raw({7}) + "GenreID" + Raw({2, 17}) +                         //
                               Raw({11}) + "GenreString" + Raw({6, 4}) + "Rock" +            //
                               Raw({7}) + "BitRate" + Raw({3, 0x83, 0x05}) +                 //
                               Raw({8}) + "Duration" + Raw({3, 0xC8, 0x00}) +                //
                               Raw({10}) + "SampleRate" + Raw({4, 0x44, 0xAC, 0x00, 0x00}) + //
                               Raw({8}) + "Channels" + Raw({2, 2}) +                         //
                               Raw({7}) + "TagType" + Raw({6, 3}) + "WAV" +                  //
                               Raw({7}) + "ModDate" + Raw({5, 0, 0, 0, 0, 0, 0x80, 0xC8, 0xAF, 0x0E, 0x40}) +
                               Raw({9}) + "MediaType" + Raw({2, 0}) + //
                               Raw({0, 0});

} // namespace

TEST(AudioTagStream, WritesOneSongByteForByte)
{
    TaudioTag song;
    FillSong(song);
    EXPECT_EQ(Encode(song), kSongBytes);

    std::uint64_t left = 99;
    const auto back = Decode(kSongBytes, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(back->Filename(), "/m/a.wav");
    EXPECT_EQ(back->Artist(), "Band");
    EXPECT_EQ(back->Title(), "Song");
    EXPECT_EQ(back->Album(), "");
    EXPECT_EQ(back->TrackNo(), 5u);
    EXPECT_EQ(back->Date(), "1999");
    EXPECT_EQ(back->GenreID(), 17u);
    EXPECT_EQ(back->GenreString(), "Rock");
    EXPECT_EQ(back->BitRate(), 1411u);
    EXPECT_EQ(back->Duration(), 200u);
    EXPECT_EQ(back->SampleRate(), 44100u);
    EXPECT_EQ(back->Channels(), 2u);
    EXPECT_EQ(back->TagType(), "WAV");
    EXPECT_EQ(back->ModDate(), 45000.5);
    EXPECT_EQ(back->MediaType(), 0u);
}

TEST(AudioTagStream, EmptySongHoldsOnlyItsNumbers)
{
    // Texts and ModDate are left out when empty or 0; the numbers are always there.
    TaudioTag song;
    const std::string expected = std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({7}) +
                                 "TrackNo" + Raw({2, 0}) + Raw({7}) + "GenreID" + Raw({2, 0}) + Raw({7}) +
                                 "BitRate" + Raw({2, 0}) + Raw({8}) + "Duration" + Raw({2, 0}) + Raw({10}) +
                                 "SampleRate" + Raw({2, 0}) + Raw({8}) + "Channels" + Raw({2, 0}) + Raw({9}) +
                                 "MediaType" + Raw({2, 0}) + Raw({0, 0});
    EXPECT_EQ(Encode(song), expected);
    const auto back = Decode(expected);
    EXPECT_EQ(back->Comment(), "");
    EXPECT_EQ(back->ModDate(), 0.0);
}

TEST(AudioTagStream, IntegerFormsTagAndNoDefaultMarker)
{
    const auto encodeTrack = [](std::uint32_t track) {
        TaudioTag s;
        s.SetTrackNo(track);
        const std::string bytes = Encode(s);
        const auto at = bytes.find("TrackNo");
        return at == std::string::npos ? std::string() : bytes.substr(at + 7, bytes.find("GenreID") - at - 8);
    };
    EXPECT_EQ(encodeTrack(127), Raw({2, 0x7F}));
    EXPECT_EQ(encodeTrack(128), Raw({3, 0x80, 0x00}));
    EXPECT_EQ(encodeTrack(32767), Raw({3, 0xFF, 0x7F}));
    EXPECT_EQ(encodeTrack(32768), Raw({4, 0x00, 0x80, 0x00, 0x00}));
    EXPECT_EQ(encodeTrack(0xFFFFFFFFu), Raw({2, 0xFF})); // -1 as a signed 32-bit number
    EXPECT_EQ(encodeTrack(0xFFFF8000u), Raw({3, 0x00, 0x80}));
    EXPECT_EQ(encodeTrack(0x80000001u), Raw({4, 0x01, 0x00, 0x00, 0x80}));
    // 2147483648 is the stream's "no default" marker: not written, read back as 0.
    EXPECT_EQ(encodeTrack(0x80000000u), "");

    TaudioTag big;
    big.SetTrackNo(0x80000000u);
    big.SetDuration(0xFFFFFFFFu);
    const auto back = Decode(Encode(big));
    EXPECT_EQ(back->TrackNo(), 0u);
    EXPECT_EQ(back->Duration(), 0xFFFFFFFFu);

    // Tag comes first, only when non-zero.
    TaudioTag tagged;
    tagged.SetTag(-200);
    const std::string bytes = Encode(tagged);
    EXPECT_EQ(bytes.substr(15, 7), Raw({3}) + "Tag" + Raw({3, 0x38, 0xFF}));
    EXPECT_EQ(Decode(bytes)->Tag(), -200);
}

TEST(AudioTagStream, ShortAndLongStrings)
{
    TaudioTag s;
    s.SetComment(std::string(255, 'c'));
    std::string bytes = Encode(s);
    EXPECT_NE(bytes.find(Raw({7}) + "Comment" + Raw({6, 0xFF}) + std::string(255, 'c')), std::string::npos);

    s.SetComment(std::string(256, 'd'));
    bytes = Encode(s);
    EXPECT_NE(bytes.find(Raw({7}) + "Comment" + Raw({12, 0x00, 0x01, 0x00, 0x00}) + std::string(256, 'd')),
              std::string::npos);
    EXPECT_EQ(Decode(bytes)->Comment(), std::string(256, 'd'));

    s.SetComment(std::string(70000, 'e'));
    EXPECT_EQ(Decode(Encode(s))->Comment(), std::string(70000, 'e'));
}

TEST(AudioTagStream, ExtendedConversionIsExact)
{
    unsigned char b[10];
    DoubleToExtended(1.0, b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 10), Raw({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    DoubleToExtended(-2.0, b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 10), Raw({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
    DoubleToExtended(0.0, b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 10), std::string(10, '\0'));

    for (const double v :
         {45000.5, 1e-300, 4.9e-324, 1.7976931348623157e308, -123456.789, 0.1, 38000.0 / 3}) {
        DoubleToExtended(v, b);
        EXPECT_EQ(ExtendedToDouble(b), v) << v;
    }
    DoubleToExtended(std::numeric_limits<double>::infinity(), b);
    EXPECT_TRUE(std::isinf(ExtendedToDouble(b)));
    DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), b);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(b)));

    // Values only the extended format holds: rounded to the nearest double, huge ones become infinite.
    const std::string third = Raw({0xAB, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xFD, 0x3F}); // 1/3
    EXPECT_EQ(ExtendedToDouble(reinterpret_cast<const unsigned char*>(third.data())), 1.0 / 3);
    const std::string huge = Raw({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F});
    EXPECT_TRUE(std::isinf(ExtendedToDouble(reinterpret_cast<const unsigned char*>(huge.data()))));
}

TEST(AudioTagStream, ReadsAnyOrderAndOtherValueForms)
{
    // Properties reversed, names in another case, a long string for a short text, a double ModDate and
    // filer flags before the class name.
    const std::string bytes = std::string("TPF0") + Raw({0xF0}) + Raw({9}) + "TAUDIOTAG" + Raw({3}) + "abc" +
                              Raw({7}) + "modDate" + Raw({21, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}) + Raw({5}) +
                              "title" + Raw({12, 2, 0, 0, 0}) + "Hi" + Raw({6}) + "Artist" +
                              Raw({20, 1, 0, 0, 0}) + "A" + Raw({8}) + "Duration" +
                              Raw({4, 0x10, 0x0E, 0, 0}) + Raw({0, 0});
    const auto song = Decode(bytes);
    EXPECT_EQ(song->Title(), "Hi");
    EXPECT_EQ(song->Artist(), "A");
    EXPECT_EQ(song->Duration(), 3600u);
    EXPECT_EQ(song->ModDate(), 1.0);
    EXPECT_EQ(song->TrackNo(), 0u);
}

TEST(AudioTagStream, RefusesForeignOrDamagedStreams)
{
    const auto fails = [](const std::string& bytes) {
        try {
            Decode(bytes);
            return false;
        } catch (const EReadError&) {
            return true;
        }
    };
    // Another class.
    EXPECT_THROW(Decode(std::string("TPF0") + Raw({9}) + "TaudioTog" + Raw({0, 0, 0})), EClassNotFound);
    // A property the class does not publish ("ChannelMode" is derived, never stored).
    EXPECT_TRUE(fails(std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({11}) + "ChannelMode" +
                      Raw({6, 4}) + "Mono" + Raw({0, 0})));
    // Wrong value type for a text and for a number.
    EXPECT_TRUE(fails(std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({5}) + "Title" +
                      Raw({2, 1}) + Raw({0, 0})));
    EXPECT_TRUE(fails(std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({7}) + "TrackNo" +
                      Raw({6, 1}) + "1" + Raw({0, 0})));
    // A negative or too long long-string length.
    EXPECT_TRUE(fails(std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({5}) + "Title" +
                      Raw({12, 0xFF, 0xFF, 0xFF, 0xFF}) + Raw({0, 0})));
    EXPECT_TRUE(fails(std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({5}) + "Title" +
                      Raw({12, 0xFF, 0xFF, 0xFF, 0x7F}) + Raw({0, 0})));
    // Child components, a bad signature, and every truncation of a good stream.
    EXPECT_TRUE(fails(std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0, 0, 1})));
    EXPECT_TRUE(fails(std::string("TPF1") + Raw({9}) + "TaudioTag" + Raw({0, 0, 0})));
    for (std::size_t n = 0; n < kSongBytes.size(); ++n)
        EXPECT_TRUE(fails(kSongBytes.substr(0, n))) << n;
}

TEST(AudioTagStream, DatesNoFileCanHaveReadAsUndated)
{
    // The whole stream: a song with nothing but a ModDate, given as an 80-bit extended value.
    const auto withDate = [](std::initializer_list<int> extended) {
        return std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + Raw({7}) + "ModDate" + Raw({5}) +
               Raw(extended) + Raw({0, 0});
    };
    const std::string nan = withDate({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F});
    ASSERT_EQ(nan.size(), 36u);
    for (const std::string& bytes : {
             nan, withDate({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}), // +infinity
             withDate({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}),      // -infinity
             withDate({0, 0, 0, 0, 0, 0, 0, 0x80, 0x3E, 0x40}),      // 2^63 days
             withDate({0, 0, 0, 0, 0, 0, 0, 0x80, 0x14, 0xC0}),      // -2^21 days, before year 1
             withDate({0, 0, 0, 0, 0, 0, 0, 0xB5, 0x14, 0x40}),      // 2,965,504 days, after year 9999
         }) {
        const auto song = Decode(bytes);
        EXPECT_EQ(song->ModDate(), 0.0);
        EXPECT_FALSE(FormatTagText(*song, tdfTimeArtistTitleFilename).empty());
    }
    // The calendar's last day still reads as it is.
    const auto last = Decode(withDate({0, 0, 0, 0, 0, 0x04, 0x92, 0xB4, 0x14, 0x40}));
    EXPECT_EQ(last->ModDate(), 2958465.0);
}
