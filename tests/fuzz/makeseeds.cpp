// Writes the seed corpora of the fuzz targets, one folder a target under the folder given, with the
// project's own savers where it has them: fuzz_makeseeds tests/fuzz/corpus
#include "core/groupings/audiotaglistlist.h"
#include "core/songs/audiotaglist.h"
#include "core/songs/audiotagstream.h"
#include "markup/taggedtext.h"
#include "platform/inifile.h"
#include "platform/messagewire.h"
#include "support/bytes.h"
#include "support/testpictures.h"
#include "support/wavbytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using wavbytes::MakeWav;
using wavbytes::WavLayout;

namespace {

std::filesystem::path root;

void Seed(const std::string& target, const std::string& name, const std::string& bytes)
{
    const std::filesystem::path folder = root / target;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<TaudioTag> Song(const std::string& folder, const std::string& name, int track)
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename(folder + name);
    song->SetArtist("Some Artist");
    song->SetTitle(name.substr(0, name.find('.')));
    song->SetAlbum("Some Album");
    song->SetTrackNo(static_cast<std::uint32_t>(track));
    song->SetGenreID(17);
    song->SetDuration(200 + static_cast<std::uint32_t>(track) * 40000);
    song->SetSampleRate(44100);
    song->SetChannels(2);
    song->SetBitRate(16);
    song->SetTagType("WAV");
    song->SetModDate(45000.5 + track);
    return song;
}

// Songs of every property: long texts (4-byte lengths), all three integer widths, a date, a tag.
std::unique_ptr<TaudioTag> FullSong()
{
    auto song = Song("d:\\music\\", "long.wav", 70000);
    song->SetTag(-5);
    song->SetComment(std::string(300, 'c'));
    song->SetDate("1999");
    song->SetGenreString("Ambient");
    song->SetMediaType(1);
    return song;
}

std::unique_ptr<TaudioTagList> List(const std::string& title, const std::string& folder, int songs)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetOwnsObjects(true);
    list->SetTitle(title);
    list->SetFilename("/home/u/" + title + ".oatl");
    list->SetPlayMode(lmRandom | lmLoop);
    const char* names[] = {"a.wav", "b.wav", "gone.wav"};
    for (int i = 0; i < songs; ++i)
        list->Add(Song(folder, names[i % 3], i + 1).release());
    return list;
}

std::string Saved(const TaudioTagList& list)
{
    TstreamWriter out;
    list.SaveToStream(out);
    return out.Bytes();
}

void SongLists()
{
    Seed("songlist", "empty", Saved(*List("Empty", "/m/", 0)));
    Seed("songlist", "three", Saved(*List("Three Songs", "/music/x/", 3)));
    auto full = List("", "", 0);
    full->Add(FullSong().release());
    Seed("songlist", "full", Saved(*full));

    TaudioTagListList lists;
    lists.SetOwnsObjects(true);
    lists.Add(List("Zebra", "/music/z/", 1).release());
    lists.Add(List("alpha", "/music/a/", 2).release());
    TstreamWriter out;
    lists.SaveToStream(out);
    Seed("listlist", "two", out.Bytes());
    TaudioTagListList none;
    TstreamWriter empty;
    none.SaveToStream(empty);
    Seed("listlist", "none", empty.Bytes());

    // The cache of a folder that was moved: the songs are found again beside the files of their names.
    Seed("foldercache", "moved", Saved(*List("", "/old/place/", 3)));
    Seed("foldercache", "here", Saved(*List("", "", 2)));

    TstreamWriter songs;
    WriteAudioTagComponent(songs, *Song("/m/", "one.wav", 1));
    WriteAudioTagComponent(songs, *FullSong());
    WriteAudioTagComponent(songs, TaudioTag());
    Seed("component", "three", songs.Bytes());
    // Filer flags before the class name, the way other writers of the format put them.
    Seed("component", "flags", "TPF0" + Raw({0xF2, 2, 7, 9}) + "TaudioTag" + Raw({0, 0, 0}));
}

WavLayout Layout(void (*change)(WavLayout&))
{
    WavLayout layout;
    change(layout);
    return layout;
}

void Wavs()
{
    Seed("wav", "plain", MakeWav(Layout([](WavLayout& l) {
             l.dataBytes = 16;
             l.writeData = true;
         })));
    Seed("wav", "fact", MakeWav(Layout([](WavLayout& l) {
             l.formatTag = 2;
             l.channels = 1;
             l.factCount = 88200;
         })));
    Seed("wav", "list", MakeWav(Layout([](WavLayout& l) { l.chunkBeforeData = "LIST" + Le32(4) + "INFO"; })));
    Seed("wav", "fmtextra", MakeWav(Layout([](WavLayout& l) {
             l.fmtExtra = 2;
             l.riffSize = 0xFFFFFFFF;
         })));
    Seed("wav", "short", "RIFF" + Le32(4) + "WAVE");
}

void IniFiles()
{
    TIniFile ini("");
    ini.WriteString("WAV Tag Reader", "Mask", "%n - %t - %a");
    ini.WriteBool("WAV Tag Reader", "ParenAlbum", true);
    ini.WriteInteger("Plugins", "TAG_Pelmora.so", -1);
    ini.WriteFloat("Window", "Scale", 1.25);
    Seed("inifile", "settings", ini.ToText());
    Seed("inifile", "odd",
         "; note\n[ Spaced ]\nk = $FF\nx=0x80000000\n=no key\n[open\nK=again\r\n[]\nf=1e400\n");
}

void Markup()
{
    TFontDesc font;
    font.Name = "Sans Serif";
    font.Size = 12;
    font.Style = font.Style.With(TFontStyle::fsBold);
    Seed("markup", "font", FontToTags(font) + "Now playing: " + EscapeMarkup("<Artist> - Title"));
    Seed("markup", "styles", "<b>bold</b> <i>it</i><u>under</u> <FONT COLOR=#00FF00 size=999999999999>x");
    Seed("markup", "unterminated", "text <font name=\"open quote size=3> and <b");
}

void Pictures()
{
    Seed("jpeg", "red8", MakeJpeg(8, 8, 0xFF0000));
    Seed("jpeg", "wide", MakeJpeg(17, 3, 0x123456));
    Seed("jpeg", "progressive", MakeJpeg(9, 9, 0x00FF80, true));
    Seed("bmp", "rgb24", MakeBmp(2, 2, 24, 0, "", Raw({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 1, 2, 3, 0, 0})));
    Seed("bmp", "topdown32", MakeBmp(1, -2, 32, 0, "", Raw({1, 2, 3, 0, 4, 5, 6, 0})));
    const std::string palette = Raw({0, 0, 0, 0, 255, 255, 255, 0});
    Seed("bmp", "pal8", MakeBmp(3, 1, 8, 0, palette, Raw({1, 0, 1, 0}), 2));
    Seed("bmp", "pal4", MakeBmp(3, 1, 4, 0, palette, Raw({0x10, 0x10, 0, 0}), 2));
    Seed("bmp", "pal1", MakeBmp(3, 1, 1, 0, palette, Raw({0xA0, 0, 0, 0}), 2));
    Seed("bmp", "fields16",
         MakeBmp(2, 1, 16, 3, Le32(0xF800) + Le32(0x07E0) + Le32(0x001F), Raw({0xFF, 0xFF, 0x1F, 0})));
    // The OS/2 core header: 12 bytes, 16-bit sizes, 3-byte palette entries.
    Seed("bmp", "core12",
         "BM" + Le32(32) + Le32(0) + Le32(26 + 6) + Le32(12) + Raw({1, 0, 1, 0, 1, 0, 1, 0}) +
             Raw({0, 0, 0, 255, 255, 255}) + Raw({0x80, 0, 0, 0}));
}

void Masks()
{
    Seed("filenamemask", "tracktitle", "03 - Title - Artist\n%n - %t - %a");
    Seed("filenamemask", "underscore", "Artist_Album_Title\n%a_%b_%t");
    Seed("filenamemask", "utf8", "\xC3\x84rtist \xE2\x80\x93 T\xC3\xAFtle\n%a \xE2\x80\x93 %t");
    Seed("filenamemask", "odd", "name (x)\n(%\xC3\xA4%t%%)%");
}

void Frames()
{
    using namespace platform;
    wire::TRequest request;
    request.kind = wire::kMessage;
    request.window = 7;
    request.msg = WM_COPYDATA;
    request.dataSize = 12;
    request.wParam = 0;
    request.lParam = 273;
    char bytes[wire::kRequestSize];
    wire::Encode(request, bytes);
    Seed("messagewire", "copydata", std::string(bytes, sizeof bytes) + "/m/song.wav");
    request = wire::TRequest();
    request.kind = wire::kIdentify;
    wire::Encode(request, bytes);
    Seed("messagewire", "identify", std::string(bytes, sizeof bytes));
    request.dataSize = wire::kMaxData + 1;
    wire::Encode(request, bytes);
    Seed("messagewire", "toolarge", std::string(bytes, sizeof bytes));
    wire::TResponse response;
    response.result = -1;
    response.window = 9;
    char answer[wire::kResponseSize];
    wire::Encode(response, answer);
    Seed("messagewire", "response", std::string(answer, sizeof answer));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    root = argv[1];
    SongLists();
    Wavs();
    IniFiles();
    Markup();
    Pictures();
    Masks();
    Frames();
    return 0;
}
