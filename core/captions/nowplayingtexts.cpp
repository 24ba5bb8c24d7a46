#include "core/captions/nowplayingtexts.h"

#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "core/util/orvanexutils.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

constexpr std::size_t kMaxFileTypeLength = 20;

} // namespace

std::string AlbumTrackText(std::string_view album, std::uint32_t trackNo)
{
    std::string text(album);
    if (trackNo > 0 && !album.empty())
        text += " [Track " + std::to_string(trackNo) + "]";
    return text;
}

std::string SampleRateText(std::uint32_t hz)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%3.1fkHz", hz / 1000.0);
    return buffer;
}

std::string FileTypeText(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return platform::UpperCase(fileName.substr(dot + 1, kMaxFileTypeLength));
}

TnowPlayingTexts NowPlayingTexts(const TaudioTag* song)
{
    if (!song)
        return {};
    TnowPlayingTexts texts;
    texts.Track = song->Title();
    texts.Artist = song->Artist();
    texts.Album = AlbumTrackText(song->Album(), song->TrackNo());
    texts.Duration = SecondsToMS(static_cast<int>(std::min<std::uint32_t>(song->Duration(), INT_MAX)));
    texts.Mode = song->GetChannelMode();
    texts.BitRate = std::to_string(song->BitRate()) + "kbps";
    texts.SampleRate = SampleRateText(song->SampleRate());
    texts.FileType = FileTypeText(song->Filename());
    return texts;
}

int TrackLengthMs(std::uint32_t msLength)
{
    return msLength > static_cast<std::uint32_t>(INT_MAX) ? 0 : static_cast<int>(msLength);
}

TlistDetailsTexts QueueDetailsTexts(const TaudioTagList* queue)
{
    if (!queue || !queue->Active())
        return {"0", SecondsToMS(0)};
    // As "%d:%2.2d" does, but of the unsigned total: a long queue never shows a negative time.
    const std::uint32_t seconds = queue->TotalDuration();
    char duration[32];
    std::snprintf(duration, sizeof duration, "%u:%2.2u", seconds / 60, seconds % 60);
    return {std::to_string(queue->Count()), duration};
}

TlistDetailsTexts ListDetailsTexts(const TaudioTagList* list)
{
    if (!list)
        return {"0", SecondsToHMS(0)};
    return {std::to_string(list->Count()), SecondsToHMS(list->TotalDuration())};
}
