#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TaudioTag;
class TaudioTagList;

// The texts of the main window's now-playing and count panels, apart from the labels that show them.

// The eight now-playing values of a song; all empty without one.
struct TnowPlayingTexts
{
    std::string Track;
    std::string Artist;
    std::string Album;
    std::string Duration;
    std::string Mode;
    std::string BitRate;
    std::string SampleRate;
    std::string FileType;
};
TnowPlayingTexts NowPlayingTexts(const TaudioTag* song);

// The album, then " [Track n]" when it has a name and the track number is above 0.
std::string AlbumTrackText(std::string_view album, std::uint32_t trackNo);
// "%3.1fkHz" of the rate in Hz: 44100 gives "44.1kHz".
std::string SampleRateText(std::uint32_t hz);
// The file name's extension without its dot, at most 20 characters, upper-cased; empty without one.
std::string FileTypeText(std::string_view fileName);

// A player's track length in milliseconds as a position range: a length the player does not know (it
// reports -1, or anything past the signed range) gives 0, never a negative range.
int TrackLengthMs(std::uint32_t msLength);

// The count and total length of a list, as a count panel shows them; a list without songs to show (none,
// or the queue while it is not active) gives zero and a zero length.
struct TlistDetailsTexts
{
    std::string Count;
    std::string Duration;
};
// The queue: m:ss.
TlistDetailsTexts QueueDetailsTexts(const TaudioTagList* queue);
// Playlists and the library: h:mm:ss.
TlistDetailsTexts ListDetailsTexts(const TaudioTagList* list);
