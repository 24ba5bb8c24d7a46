// A WAV file read the way the Pelmora plug-in reads it: the header, then the file-name mask and the folders
// above the file for the tags.
#include "fuzz/fuzzcheck.h"

#include "plugins/wav/wavtagger.h"
#include "support/tempdir.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TempDir dir;
    static const std::string name = "Some Artist/Some Album/03 - Title - Some Artist.wav";
    const std::string file = dir.Write(name, std::string(reinterpret_cast<const char*>(data), size));

    TtaggerRecord record{};
    TwavTagger tagger(record);
    tagger.Settings().Mask = "%n - %t - %a";
    if (!tagger.ReadFile(file.c_str()))
        return 0;
    const bool valid = std::strcmp(tagger.TagType(), "WAV") == 0;
    FuzzCheck(valid || std::strcmp(tagger.TagType(), "none") == 0, "a read file has a tag type");
    FuzzCheck(record.Duration >= 0, "a playing time is never negative");
    FuzzCheck(!valid || record.TrackNo == 3, "the track number comes from the file name");
    FuzzCheck(std::strcmp(tagger.FileExt(), "wav") == 0, "the extension is the file's");
    return 0;
}
