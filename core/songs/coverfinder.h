#pragma once

#include <string>
#include <unordered_map>

class TaudioTag;

// Finds the cover picture files of songs: in the cover folder, then beside the song, under the names an
// album's cover may take. Each folder is listed once, when first needed: the cover folder for the finder's
// whole life, a song's own folder until a song of another folder asks. One finder serves a whole run over
// many albums (a report, a tree fill); names are matched ignoring case.
class TcoverFinder
{
public:
    explicit TcoverFinder(const std::string& coverFolder);

    // The full name of the song's cover picture, or empty.
    std::string Find(const TaudioTag& song);

private:
    // The files of one folder by their upper-cased names.
    class FolderNames
    {
    public:
        FolderNames() = default;
        explicit FolderNames(std::string folder) : folder_(std::move(folder)) {}

        const std::string& Folder() const { return folder_; }
        // Full name of the file that matches name ignoring case, or empty.
        std::string Find(const std::string& name);

    private:
        void List();

        std::string folder_; // ends with "/", empty for none
        bool listed_ = false;
        std::unordered_map<std::string, std::string> names_;
    };

    FolderNames cover_;
    FolderNames own_;
};
