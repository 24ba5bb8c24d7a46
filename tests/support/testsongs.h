#pragma once

#include "core/songs/audiotag.h"

#include <cstdint>
#include <memory>
#include <string>

// A song with the fields most tests look at.
inline std::unique_ptr<TaudioTag> Song(const std::string& artist, const std::string& title,
                                       const std::string& album = "", std::uint32_t track = 0)
{
    auto s = std::make_unique<TaudioTag>();
    s->SetArtist(artist);
    s->SetTitle(title);
    s->SetAlbum(album);
    s->SetTrackNo(track);
    return s;
}
