#pragma once

#include "platform/inifile.h"
#include "platform/stringlist.h"

#include <functional>
#include <string>

class TaudioTagAlbumList;
class TaudioTagArtistList;
class TaudioTagList;

// A library report: walks the library, writes a text file and opens it with the user's program.
class TjukeboxTagReport
{
public:
    using TreportProgress = std::function<void(TjukeboxTagReport* report, int index, int count)>;

    TjukeboxTagReport() = default;
    virtual ~TjukeboxTagReport();
    TjukeboxTagReport(const TjukeboxTagReport&) = delete;
    TjukeboxTagReport& operator=(const TjukeboxTagReport&) = delete;

    // Links to the library's groupings; never freed here.
    TaudioTagAlbumList* Albums() const { return albums_; }
    void SetAlbums(TaudioTagAlbumList* value) { albums_ = value; }
    TaudioTagArtistList* Artists() const { return artists_; }
    void SetArtists(TaudioTagArtistList* value) { artists_ = value; }
    TaudioTagList* Songs() const { return songs_; }
    void SetSongs(TaudioTagList* value) { songs_ = value; }
    // The output file.
    const std::string& Filename() const { return filename_; }
    void SetFilename(std::string value) { filename_ = std::move(value); }
    // Set by the report list.
    const TreportProgress& Progress() const { return progress_; }
    void SetProgress(TreportProgress value) { progress_ = std::move(value); }
    // The user's cover-art folder, searched before each song's own folder.
    const std::string& CoverFolder() const { return coverFolder_; }
    void SetCoverFolder(std::string value) { coverFolder_ = std::move(value); }

    virtual std::string GetDescription() const = 0;
    virtual std::string GetName() const = 0;
    // A file-dialog filter: "Caption|pattern|Caption|pattern".
    virtual std::string GetFilter() const = 0;
    virtual std::string GetDefaultExt() const = 0;
    // Throws EFileError when the file cannot be written.
    virtual void Execute() = 0;
    virtual void Configure() = 0;
    // Key "Filename" of the section named GetName.
    virtual void SaveSettings(TIniFile& ini) const;
    virtual void LoadSettings(const TIniFile& ini);

protected:
    void DoProgress(int index, int count);
    // Replaces Filename with the lines and opens it with the user's program; an opener that cannot be
    // started leaves the file written and unopened.
    void WriteAndOpen(const TStrings& lines) const;

private:
    TaudioTagAlbumList* albums_ = nullptr;
    TaudioTagArtistList* artists_ = nullptr;
    TaudioTagList* songs_ = nullptr;
    std::string filename_;
    TreportProgress progress_;
    std::string coverFolder_;
};
