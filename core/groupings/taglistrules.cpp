#include "core/groupings/taglistrules.h"

#include "core/util/orvanexutils.h"
#include "platform/textcompare.h"

#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// The names of a list as case-folded keys, so that each song costs one hash lookup.
class TfoldedSet
{
public:
    explicit TfoldedSet(const TStrings& names)
    {
        keys_.reserve(static_cast<std::size_t>(names.Count()));
        for (const auto& item : names)
            keys_.insert(platform::FoldKey(item.text));
    }
    bool Contains(std::string_view name)
    {
        platform::FoldKey(name, scratch_);
        return keys_.find(scratch_) != keys_.end();
    }

private:
    std::unordered_set<std::string> keys_;
    std::string scratch_;
};

// Case-folded prefixes in a byte trie: a file name is checked in one walk over its own key, however many
// folders the rule holds. Folded keys are concatenations of per-character codes, so a byte prefix of keys is
// a character prefix of the texts.
class TprefixSet
{
public:
    explicit TprefixSet(const TStrings& prefixes)
    {
        for (const auto& item : prefixes)
            Insert(platform::FoldKey(item.text));
    }
    // True when head + tail starts with one of the prefixes. The two parts meet between characters (a
    // song's folder, up to its last '/', and the rest), so each folds on its own.
    bool MatchesStartOf(std::string_view head, std::string_view tail)
    {
        if (nodes_[0].end)
            return true;
        // Folders are mostly ASCII: those bytes are folded on the way, so most names leave the trie after a
        // few characters without a key being built; from the first other byte on, the rest is folded whole.
        std::uint32_t node = 0;
        for (int part = 0; part < 2; ++part) {
            const std::string_view text = part == 0 ? head : tail;
            for (std::size_t i = 0; i < text.size(); ++i) {
                auto byte = static_cast<unsigned char>(text[i]);
                if (byte >= 0x80) {
                    platform::FoldKey(text.substr(i), scratch_);
                    if (part == 0) {
                        platform::FoldKey(tail, tailKey_);
                        scratch_ += tailKey_;
                    }
                    return Walk(node, scratch_);
                }
                if (byte >= 'A' && byte <= 'Z')
                    byte = static_cast<unsigned char>(byte + 32);
                node = Child(node, byte);
                if (node == 0)
                    return false;
                if (nodes_[node].end)
                    return true;
            }
        }
        return false;
    }

private:
    struct Node
    {
        std::vector<std::pair<unsigned char, std::uint32_t>> next;
        bool end = false;
    };

    bool Walk(std::uint32_t node, std::string_view key) const
    {
        for (const char c : key) {
            node = Child(node, static_cast<unsigned char>(c));
            if (node == 0)
                return false;
            if (nodes_[node].end)
                return true;
        }
        return false;
    }
    // 0 (the root, never a child) when there is none.
    std::uint32_t Child(std::uint32_t node, unsigned char byte) const
    {
        for (const auto& [b, child] : nodes_[node].next)
            if (b == byte)
                return child;
        return 0;
    }
    void Insert(const std::string& key)
    {
        std::uint32_t node = 0;
        for (const char c : key) {
            const auto byte = static_cast<unsigned char>(c);
            std::uint32_t child = Child(node, byte);
            if (child == 0) {
                child = static_cast<std::uint32_t>(nodes_.size());
                nodes_.emplace_back();
                nodes_[node].next.emplace_back(byte, child);
            }
            node = child;
        }
        nodes_[node].end = true;
    }

    std::vector<Node> nodes_{1};
    std::string scratch_;
    std::string tailKey_;
};

// The year a Date text stands for, wrapped to 32 bits as the framework's integers are.
std::int32_t YearOf(const std::string& date)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(StrToIntDef(date, 0)));
}

template <class Match>
void RunFilter(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
               const TtagListRulesProgress& progress, TtagListRules* rules, bool invert, bool append,
               Match matches)
{
    // Filtering a list into itself walks a snapshot, so that appending ends.
    std::vector<TaudioTag*> snapshot;
    const std::vector<TaudioTag*>* songs = &source.Items();
    if (&source == &dest) {
        snapshot = source.Items();
        songs = &snapshot;
    }
    const auto last = static_cast<std::uint32_t>(songs->size() - 1);
    dest.BeginUpdate();
    try {
        if (!append)
            dest.Clear();
        for (std::size_t i = 0; i < songs->size(); ++i) {
            TaudioTag* song = (*songs)[i];
            if (matches(*song) != invert) {
                if (copyTags)
                    dest.AddCopy(song);
                else
                    dest.Add(song);
            }
            if (progress)
                progress(rules, static_cast<std::uint32_t>(i), last, song);
        }
    } catch (...) {
        dest.EndUpdate();
        throw;
    }
    dest.EndUpdate();
}

} // namespace

void FilterByYear(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                  const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                  std::uint32_t toYear, std::uint32_t fromYear, bool append)
{
    RunFilter(source, dest, copyTags, progress, rules, invert, append, [=](const TaudioTag& song) {
        const std::int32_t year = YearOf(song.Date());
        return year >= 0 && static_cast<std::uint32_t>(year) >= fromYear &&
               static_cast<std::uint32_t>(year) <= toYear;
    });
}

void FilterByGenre(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                   const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                   const TStrings& genres, bool append)
{
    TfoldedSet set(genres);
    RunFilter(source, dest, copyTags, progress, rules, invert, append,
              [&](const TaudioTag& song) { return set.Contains(song.GenreString()); });
}

void FilterByArtist(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                    const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                    const TStrings& artists, bool append)
{
    TfoldedSet set(artists);
    RunFilter(source, dest, copyTags, progress, rules, invert, append,
              [&](const TaudioTag& song) { return set.Contains(song.Artist()); });
}

void FilterByPath(const TaudioTagList& source, TaudioTagList& dest, bool copyTags,
                  const TtagListRulesProgress& progress, TtagListRules* rules, bool invert,
                  const TStrings& paths, bool append)
{
    TprefixSet set(paths);
    RunFilter(source, dest, copyTags, progress, rules, invert, append,
              [&](const TaudioTag& song) { return set.MatchesStartOf(song.FolderName(), song.LeafName()); });
}

TtagListRules::TtagListRules()
{
    for (TStrings* list : {&artists_, &paths_, &genres_}) {
        list->SetDuplicates(TDuplicates::dupIgnore);
        list->SetSorted(true);
    }
}

TtagListRules::~TtagListRules() = default;

void TtagListRules::Apply(const TaudioTagList& source, TaudioTagList& dest, bool copyTags)
{
    dest.BeginUpdate();
    try {
        DoListProcessStart("Applying Rules");
        auto work = std::make_unique<TaudioTagList>();
        auto scratch = std::make_unique<TaudioTagList>();
        work->CopyFrom(source, false, false);
        const TtagListRulesProgress forward = [this](TtagListRules*, std::uint32_t index, std::uint32_t count,
                                                     TaudioTag* tag) { DoListProcess(index, count, tag); };
        const auto pass = [&](auto filter) {
            filter(*work, *scratch);
            std::swap(work, scratch);
            scratch->Clear();
        };
        if (useGenres_)
            pass([&](const TaudioTagList& from, TaudioTagList& to) {
                FilterByGenre(from, to, false, forward, this, notGenres_, genres_, false);
            });
        if (useYear_)
            pass([&](const TaudioTagList& from, TaudioTagList& to) {
                FilterByYear(from, to, false, forward, this, notYear_, toYear_, fromYear_, false);
            });
        if (useArtists_)
            pass([&](const TaudioTagList& from, TaudioTagList& to) {
                FilterByArtist(from, to, false, forward, this, notArtist_, artists_, false);
            });
        // The folder keys are neither read nor offered without PathsAllowed, so the rule cannot be on then.
        if (usePaths_ && pathsAllowed_)
            pass([&](const TaudioTagList& from, TaudioTagList& to) {
                FilterByPath(from, to, false, forward, this, notPaths_, paths_, false);
            });
        dest.CopyFrom(*work, copyTags, false);
        work.reset();
        scratch.reset();
        DoListProcessFinished();
    } catch (...) {
        dest.EndUpdate();
        throw;
    }
    dest.EndUpdate();
}

void TtagListRules::LoadSettings(const TIniFile& ini, std::string_view section)
{
    artists_.SetCommaText(ini.ReadString(section, "Artists", ""));
    useArtists_ = ini.ReadBool(section, "UseArtists", false);
    notArtist_ = ini.ReadBool(section, "NotArtist", false);
    genres_.SetCommaText(ini.ReadString(section, "Genres", ""));
    useGenres_ = ini.ReadBool(section, "UseGenres", false);
    notGenres_ = ini.ReadBool(section, "NotGenres", false);
    if (pathsAllowed_) {
        paths_.SetCommaText(ini.ReadString(section, "Paths", ""));
        usePaths_ = ini.ReadBool(section, "UsePaths", false);
        notPaths_ = ini.ReadBool(section, "NotPaths", false);
    }
    useYear_ = ini.ReadBool(section, "UseYear", false);
    // Years are unsigned but stored as signed integers; the casts make every value survive the round trip.
    fromYear_ = static_cast<std::uint32_t>(ini.ReadInteger(section, "FromYear", 0));
    toYear_ = static_cast<std::uint32_t>(ini.ReadInteger(section, "ToYear", 9999));
    notYear_ = ini.ReadBool(section, "NotYear", false);
}

void TtagListRules::SaveSettings(TIniFile& ini, std::string_view section) const
{
    ini.WriteString(section, "Artists", artists_.CommaText());
    ini.WriteBool(section, "UseArtists", useArtists_);
    ini.WriteString(section, "Genres", genres_.CommaText());
    ini.WriteBool(section, "UseGenres", useGenres_);
    if (pathsAllowed_) {
        ini.WriteString(section, "Paths", paths_.CommaText());
        ini.WriteBool(section, "UsePaths", usePaths_);
    }
    ini.WriteBool(section, "UseYear", useYear_);
    ini.WriteInteger(section, "FromYear", static_cast<std::int32_t>(fromYear_));
    ini.WriteInteger(section, "ToYear", static_cast<std::int32_t>(toYear_));
    ini.WriteBool(section, "NotArtist", notArtist_);
    ini.WriteBool(section, "NotGenres", notGenres_);
    ini.WriteBool(section, "NotYear", notYear_);
    ini.WriteBool(section, "NotPaths", notPaths_);
}

void TtagListRules::DoListProcess(std::uint32_t index, std::uint32_t count, TaudioTag* tag)
{
    if (OnListProcess)
        OnListProcess(this, index, count, tag);
}

void TtagListRules::DoListProcessStart(const std::string& text)
{
    if (OnListProcessStart)
        OnListProcessStart(this, text);
}

void TtagListRules::DoListProcessFinished()
{
    if (OnListProcessFinished)
        OnListProcessFinished(this);
}
