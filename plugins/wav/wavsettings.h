#pragma once

#include <string>
#include <string_view>

class TIniFile;

// What the WAV reader takes from the file name and the folders above it.
struct TwavSettings
{
    static constexpr std::string_view kSection = "WAV Tag Reader";

    std::string Mask = "%t";
    // The folder holding the file is the album.
    bool ParentAlbum = true;
    // The folder holding the file is the artist (used when ParentAlbum is off).
    bool ParentArtist = false;
    // With ParentAlbum: the folder above is the artist.
    bool ParentParentArtist = true;

    void Load(const TIniFile& ini);
    void Save(TIniFile& ini) const;
};
