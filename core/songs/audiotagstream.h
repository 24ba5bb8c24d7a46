#pragma once

#include "core/songs/audiotag.h"
#include "core/songs/streamreader.h"
#include "core/songs/streamwriter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The framework's component-stream encoding of one song, as song-list files store it: "TPF0", the class
// name, an empty component name, the property records (smallest integer forms, short and long strings, an
// 80-bit extended ModDate), the end of the properties and the end of the (empty) child list.

inline constexpr const char* kAudioTagClassName = "TaudioTag";

void WriteAudioTagComponent(TstreamWriter& stream, const TaudioTag& song);

// Reads one component stream; the properties may come in any order, absent ones keep their defaults.
// Throws EReadError on damaged or truncated data or an unknown property, EClassNotFound on another class.
std::unique_ptr<TaudioTag> ReadAudioTagComponent(TstreamReader& stream);

// While one lives on this thread, ReadAudioTagComponent leaves a song's shared texts (artist, album,
// comment, date, genre, tag type) unset and keeps them here until File gives the songs read since their
// texts all at once (TsharedText::MakeMany: one lock, every lookup asked for ahead): a large library's
// load would otherwise wait on memory for each. Every song read in its time must be filed (or its texts
// dropped by Drop) before it is used or freed.
class TsharedTextBatch
{
public:
    TsharedTextBatch();
    ~TsharedTextBatch();
    TsharedTextBatch(const TsharedTextBatch&) = delete;
    TsharedTextBatch& operator=(const TsharedTextBatch&) = delete;

    // The batch of this thread, or nullptr.
    static TsharedTextBatch* Active();

    enum Field : std::uint8_t
    {
        fArtist,
        fAlbum,
        fComment,
        fDate,
        fGenreString,
        fTagType
    };
    void Keep(TaudioTag& song, Field field, std::string_view text);
    // Gives every kept text to its song, in the order kept (a later value of a field replaces an earlier).
    void File();
    // Forgets the texts kept for song (a song read only in part, about to be freed).
    void Drop(const TaudioTag& song);

private:
    struct Kept
    {
        TaudioTag* song;
        std::size_t from;
        std::uint32_t size;
        Field field;
    };
    std::vector<Kept> kept_;
    std::string texts_;
    TsharedTextBatch* outer_ = nullptr;
};

// Portable conversions between a double and the 10-byte little-endian x87 extended format.
void DoubleToExtended(double value, unsigned char out[10]);
double ExtendedToDouble(const unsigned char in[10]);
