#include "app/qt/helpers/demolibrary.h"

#include "core/jukebox/customjukeboxlist.h"
#include "platform/atomicfile.h"
#include "platform/filesystem.h"
#include "platform/folders.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>

namespace demolibrary {

namespace {

struct TdemoSong
{
    const char* artist;
    const char* album;
    const char* title;
    double frequency; // Hz of the tone
    int seconds;
};

constexpr std::array kSongs = {
    TdemoSong{"Aurora Lane", "Northern Lights", "First Light", 440.0, 4},
    TdemoSong{"Aurora Lane", "Northern Lights", "Polar Drift", 494.0, 5},
    TdemoSong{"Aurora Lane", "Northern Lights", "Midnight Sun", 523.3, 4},
    TdemoSong{"Aurora Lane", "Harbour Songs", "Low Tide", 392.0, 5},
    TdemoSong{"Aurora Lane", "Harbour Songs", "Lighthouse", 349.2, 4},
    TdemoSong{"The Copper Kettles", "Kitchen Sessions", "Boiling Point", 587.3, 4},
    TdemoSong{"The Copper Kettles", "Kitchen Sessions", "Steam Whistle", 659.3, 5},
    TdemoSong{"The Copper Kettles", "Kitchen Sessions", "Tea for Three", 698.5, 4},
    TdemoSong{"Marta Velasquez", "Desert Roads", "Dust Devil", 329.6, 5},
    TdemoSong{"Marta Velasquez", "Desert Roads", "Mirage", 293.7, 4},
    TdemoSong{"Marta Velasquez", "Desert Roads", "Cactus Bloom", 261.6, 4},
    TdemoSong{"Marta Velasquez", "City Nights", "Neon Rain", 415.3, 5},
};

constexpr std::uint32_t kSampleRate = 22050;

void Put16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A mono 16-bit PCM WAV file of a soft tone that fades in and out, so songs do not click into each other.
std::string ToneWave(double frequency, int seconds)
{
    const std::uint32_t samples = kSampleRate * static_cast<std::uint32_t>(seconds);
    const std::uint32_t dataBytes = samples * 2;
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    const double fade = kSampleRate * 0.3;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double envelope = std::min({1.0, i / fade, (samples - i) / fade});
        const double value = 0.25 * envelope * std::sin(2.0 * M_PI * frequency * i / kSampleRate);
        Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 32767.0)));
    }
    return out;
}

} // namespace

std::string Folder()
{
    return platform::ProgramFolder() + "Demo Music";
}

int WriteSongs(const std::string& folder)
{
    int written = 0;
    for (const TdemoSong& song : kSongs) {
        const std::filesystem::path path =
            std::filesystem::path(folder) / song.artist / song.album / (std::string(song.title) + ".wav");
        std::error_code error;
        if (std::filesystem::exists(path, error))
            continue;
        std::filesystem::create_directories(path.parent_path());
        platform::WriteFileAtomically(path.string(), ToneWave(song.frequency, song.seconds));
        ++written;
    }
    return written;
}

bool LoadIfEmpty(TcustomJukeboxList& library)
{
    // A jukebox.dat that is there, even empty or damaged, is a library of the user's own: it is never
    // replaced by the demo songs.
    if (library.GlobalList().Count() > 0 || library.MediaFolders().Count() > 0 ||
        platform::FileExists(library.GetGlobalFileName()))
        return false;
    const std::string folder = Folder();
    WriteSongs(folder);
    library.MediaFolders().Add(folder);
    library.GlobalList().ScanTree(folder, true, &library.FileNameIndex());
    // A restart must find the demo songs even when the library does not save by itself.
    if (!library.AutoSaveGlobal())
        library.SaveGlobal();
    return true;
}

} // namespace demolibrary
