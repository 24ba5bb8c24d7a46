#pragma once

#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartist.h"
#include "core/groupings/audiotaglistlist.h"
#include "platform/stringlist.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The artist of songs without one.
inline constexpr const char* kNotTaggedArtist = "[Not Tagged]";

// The artist grouping (or, with IsAlphaList, the songs by the first character of their titles) and the name
// index the library tree is built from: every artist under its name and at most one alias, from the "The"
// rule or the alias file (lines "name=alias"; "name=" asks for the last-name-first form).
class TaudioTagArtistList : public TaudioTagListList
{
public:
    // One line of the name index.
    struct IndexEntry
    {
        std::string name;
        TaudioTagArtist* artist = nullptr;
    };

    TaudioTagArtistList();
    ~TaudioTagArtistList() override;

    // Published properties.
    const std::string& MappingListFile() const { return mappingListFile_; }
    // Stores the path and loads the alias file (an empty list when it does not exist); the name index
    // follows.
    void SetMappingListFile(std::string path);
    bool IsAlphaList() const { return isAlphaList_; }
    void SetIsAlphaList(bool value) { isAlphaList_ = value; }
    bool UseCompilations() const { return useCompilations_; }
    void SetUseCompilations(bool value) { useCompilations_ = value; }
    bool UseNoName() const { return useNoName_; }
    void SetUseNoName(bool value) { useNoName_ = value; }

    // The alias lines, sorted, duplicates ignored; a change rebuilds the name index outside an update.
    TStrings& MappingList() { return mappings_; }
    const TStrings& MappingList() const { return mappings_; }
    // Writes the alias lines to MappingListFile; every failure is ignored.
    void SaveMappings() const;

    void AddTag(TaudioTag* tag);
    // A hint for AddTag to come while the set fills, in steps taken for a run of songs each (later steps
    // are ignored): the artist the song's name text gave before, then the end of its songs. Nothing a song
    // joins depends on it.
    static constexpr int kLookAheadSteps = 2;
    void LookAhead(const TaudioTag* tag, int step) const;
    // Gives every album to the artist named like its album artist, after making the "[Compilations]" and
    // "[Not Tagged]" artists when switched on.
    void AssignAlbums(const TaudioTagAlbumList& albums);
    // Closes the artists' creation updates and rebuilds the name index.
    void BuildIndex();
    void AddArtist(TaudioTagArtist* artist) { Add(artist); }
    // Artist i in title order; nullptr out of range or for a member that is not an artist.
    TaudioTagArtist* GetArtist(int i) const;
    TaudioTagArtist* FindArtist(std::string_view name) const;

    // The name index: names and aliases in order (case-insensitive), each with its artist.
    const std::vector<IndexEntry>& IndexNames() const { return nameIndex_; }
    void GetIndexNames(TStringList<TaudioTagArtist>& strings) const;
    // Appends the display lines (artist - title) of the songs of every artist whose name holds the text,
    // ignoring case; an empty text matches nothing.
    void Search(std::string_view text, TStringList<TaudioTag>& strings) const;

    void Clear() override;
    void DoChange() override;
    void MappingsChanged();

private:
    std::string mappingListFile_;
    bool isAlphaList_ = false;
    bool useCompilations_ = true;
    bool useNoName_ = true;
    TStrings mappings_;
    std::vector<IndexEntry> nameIndex_;
    std::string key_;
    // The artist the last song joined, valid while nothing is filed or removed.
    TaudioTagList* last_ = nullptr;
    std::string lastKey_;
    std::uint64_t lastGeneration_ = 0;
    // While the set fills inside an update, the list each song's name text (the song's shared copy of it, or
    // the letter) led to: a song naming a list by a text seen before finds it without folding and hashing
    // the name. The table holds the texts it knows, so their addresses stay theirs. Emptied when anything
    // else changed the set, dropped when the update ends.
    class TtextTable;
    std::unique_ptr<TtextTable> byText_;
    std::uint64_t byTextGeneration_ = 0;
    TaudioTagList* FindFilling(std::uintptr_t text, const std::string& key);
};
