#pragma once

#include <string>

class TcustomJukeboxList;

// The demo library a first start plays from: short generated tones in Artist/Album/Title.wav folders, so the
// WAV plug-in reads artist, album and title from the names.
namespace demolibrary {

// ProgramFolder()/"Demo Music".
std::string Folder();
// Writes the demo songs that are missing under folder; returns how many it wrote.
int WriteSongs(const std::string& folder);
// A library with no songs and no media folders gets the demo songs: written, added as a media folder and
// scanned into the global list, and jukebox.dat saved. True when it did.
bool LoadIfEmpty(TcustomJukeboxList& library);

} // namespace demolibrary
