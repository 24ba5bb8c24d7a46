#pragma once

#include "core/songs/audiotaglist.h"
#include "platform/inifile.h"
#include "platform/stringlist.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TtagListRules;

// Called once per song a filter examines: the index of the song and the number of songs minus one.
using TtagListRulesProgress =
    std::function<void(TtagListRules* sender, std::uint32_t index, std::uint32_t count, TaudioTag* tag)>;

// Rules that cut a song list down by genre, year range, artist and folder; each rule can be switched on and
// inverted. Lookups in the three lists ignore case.
class TtagListRules
{
public:
    TtagListRules();
    ~TtagListRules();
    TtagListRules(const TtagListRules&) = delete;
    TtagListRules& operator=(const TtagListRules&) = delete;

    bool UseArtists() const { return useArtists_; }
    void SetUseArtists(bool value) { useArtists_ = value; }
    bool UsePaths() const { return usePaths_; }
    void SetUsePaths(bool value) { usePaths_ = value; }
    bool UseGenres() const { return useGenres_; }
    void SetUseGenres(bool value) { useGenres_ = value; }
    bool UseYear() const { return useYear_; }
    void SetUseYear(bool value) { useYear_ = value; }
    std::uint32_t ToYear() const { return toYear_; }
    void SetToYear(std::uint32_t value) { toYear_ = value; }
    std::uint32_t FromYear() const { return fromYear_; }
    void SetFromYear(std::uint32_t value) { fromYear_ = value; }
    // Sorted, duplicates ignored.
    TStrings& Artists() { return artists_; }
    const TStrings& Artists() const { return artists_; }
    TStrings& Paths() { return paths_; }
    const TStrings& Paths() const { return paths_; }
    TStrings& Genres() { return genres_; }
    const TStrings& Genres() const { return genres_; }
    // Whether this rule set offers the folder rule at all; without it the folder keys are not read and the
    // folder rule never applies.
    bool PathsAllowed() const { return pathsAllowed_; }
    void SetPathsAllowed(bool value) { pathsAllowed_ = value; }
    bool NotYear() const { return notYear_; }
    void SetNotYear(bool value) { notYear_ = value; }
    bool NotGenres() const { return notGenres_; }
    void SetNotGenres(bool value) { notGenres_ = value; }
    bool NotPaths() const { return notPaths_; }
    void SetNotPaths(bool value) { notPaths_ = value; }
    bool NotArtist() const { return notArtist_; }
    void SetNotArtist(bool value) { notArtist_ = value; }

    TtagListRulesProgress OnListProcess;
    std::function<void(TtagListRules* sender, const std::string& text)> OnListProcessStart;
    std::function<void(TtagListRules* sender)> OnListProcessFinished;

    bool HasRules() const { return useArtists_ || useGenres_ || usePaths_ || useYear_; }

    // Replaces dest's songs by those of source that pass every rule that is on (clones when copyTags).
    // dest hears of the change once. An owning dest must not be source itself.
    void Apply(const TaudioTagList& source, TaudioTagList& dest, bool copyTags);

    // Damaged values read as their defaults.
    void LoadSettings(const TIniFile& ini, std::string_view section);
    void SaveSettings(TIniFile& ini, std::string_view section) const;

    void DoListProcess(std::uint32_t index, std::uint32_t count, TaudioTag* tag);
    void DoListProcessStart(const std::string& text);
    void DoListProcessFinished();

private:
    bool useArtists_ = false;
    bool usePaths_ = false;
    bool useGenres_ = false;
    bool useYear_ = false;
    std::uint32_t toYear_ = 0;
    std::uint32_t fromYear_ = 0;
    TStrings artists_;
    TStrings paths_;
    TStrings genres_;
    bool pathsAllowed_ = false;
    bool notYear_ = false;
    bool notGenres_ = false;
    bool notPaths_ = false;
    bool notArtist_ = false;
};

// The filters behind the rules, usable on their own. Each fills dest (cleared first unless append) with the
// songs of source that match, or with those that do not when invert is set; clones when copyTags, else the
// same song objects. progress, when set, hears of every song examined, with rules as the sender. dest's
// change is announced once.

// Date read as an integer (text that is not one counts as 0), not negative, from fromYear to toYear.
void FilterByYear(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                  const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                  std::uint32_t toYear, std::uint32_t fromYear, bool append);
// GenreString (not the genre number) in genres, ignoring case.
void FilterByGenre(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                   const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                   const TStrings& genres, bool append);
// Artist in artists, ignoring case.
void FilterByArtist(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                    const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                    const TStrings& artists, bool append);
// Filename starting with one of paths, ignoring case; a plain text prefix ("/music" matches "/music2/a").
void FilterByPath(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                  const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                  const TStrings& paths, bool append);
