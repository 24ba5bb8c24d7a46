// The per-folder cache ("orvane.obf") as a folder scan meets it: a current cache beside three older files.
// The songs a scan takes from it lie in the folder, beside a file of their name, and a second scan of the
// cache as the first left it finds the same songs.
#include "fuzz/fuzzcheck.h"

#include "core/songs/audiotaglist.h"
#include "support/tempdir.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// One folder for the whole run; only the cache is written again for each input.
class TscanFolder
{
public:
    TscanFolder() : folder_(dir_.Path() + "/music")
    {
        for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
            const std::string file = dir_.Write("music/" + std::string(name), "");
            std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() -
                                                       std::chrono::hours(24));
        }
    }
    const std::string& Folder() const { return folder_; }
    void WriteCache(const std::uint8_t* data, std::size_t size) const
    {
        dir_.Write("music/orvane.obf", std::string(reinterpret_cast<const char*>(data), size));
    }

private:
    TempDir dir_;
    std::string folder_;
};

std::vector<std::string> Scan(const std::string& folder)
{
    TaudioTagList list;
    list.SetSaveDataFiles(true);
    list.ScanFolder(folder, false, nullptr, false);
    std::vector<std::string> names;
    for (const TaudioTag* song : list.Items())
        names.push_back(song->Filename());
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TscanFolder scan;
    scan.WriteCache(data, size);
    const std::vector<std::string> first = Scan(scan.Folder());
    for (const std::string& name : first) {
        FuzzCheck(name.rfind(scan.Folder() + "/", 0) == 0, "a cached song lies in the folder scanned");
        FuzzCheck(std::filesystem::exists(name), "a cached song is beside a file of its name");
    }
    FuzzCheck(Scan(scan.Folder()) == first, "a second scan finds the songs of the first");
    return 0;
}
