#include "core/songs/coverfinder.h"

#include "core/songs/audiotag.h"
#include "platform/textcompare.h"

#include <filesystem>
#include <string_view>

namespace {

std::string WithSlash(const std::string& folder)
{
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

} // namespace

std::string TcoverFinder::FolderNames::Find(const std::string& name)
{
    if (folder_.empty())
        return {};
    if (!listed_)
        List();
    const auto it = names_.find(platform::UpperCase(name));
    return it == names_.end() ? std::string() : folder_ + it->second;
}

void TcoverFinder::FolderNames::List()
{
    listed_ = true;
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc))
            continue;
        std::string name = it->path().filename().string();
        // Of two names differing in case only, the first one listed serves.
        names_.emplace(platform::UpperCase(name), std::move(name));
    }
}

TcoverFinder::TcoverFinder(const std::string& coverFolder) : cover_(WithSlash(coverFolder)) {}

std::string TcoverFinder::Find(const TaudioTag& song)
{
    const std::string& a = song.Artist();
    if (a.empty())
        return {};
    const std::string& b = song.Album();
    const std::string names[15] = {
        a + " - " + b,
        b + " - " + a,
        a + " - (" + b + ")",
        b + " - (" + a + ")",
        "(" + a + ") - " + b,
        "(" + b + ") - " + a,
        "(" + a + ") - (" + b + ")",
        "(" + b + ") - (" + a + ")",
        "Compilation - " + b,
        "Compilation - (" + b + ")",
        "Soundtrack - " + b,
        "Soundtrack - (" + b + ")",
        b,
        a,
        "Folder",
    };
    const std::string& own = song.FolderName();
    if (own != own_.Folder())
        own_ = FolderNames(own);
    for (const std::string& name : names) {
        // A name that would reach into another folder is no cover name.
        if (name.find('/') != std::string::npos)
            continue;
        for (FolderNames* folder : {&cover_, &own_}) {
            for (const char* ext : {".jpg", ".bmp"}) {
                std::string found = folder->Find(name + ext);
                if (!found.empty())
                    return found;
            }
        }
    }
    return {};
}
