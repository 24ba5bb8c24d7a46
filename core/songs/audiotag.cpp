#include "core/songs/audiotag.h"

#include "core/plugins/taggerloader.h"
#include "core/songs/coverfinder.h"
#include "core/songs/coverpicture.h"
#include "core/util/filenamemask.h"
#include "core/util/genreslist.h"
#include "core/util/orvanexutils.h"
#include "platform/qtstring.h"
#include "platform/stringlist.h"
#include "platform/textcompare.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

int g_sortSign = 1;

int Sign(int value)
{
    return (value > 0) - (value < 0);
}
int Order(std::uint32_t a, std::uint32_t b)
{
    return (a > b) - (a < b);
}
int TextOrder(const std::string& a, const std::string& b)
{
    return Sign(platform::CompareText(a, b));
}

std::string Join(std::initializer_list<std::string_view> parts)
{
    std::size_t size = 0;
    for (const std::string_view p : parts)
        size += p.size();
    std::string out;
    out.reserve(size);
    for (const std::string_view p : parts)
        out += p;
    return out;
}

std::string Track3(std::uint32_t track)
{
    char text[16];
    std::snprintf(text, sizeof text, "%3.3" PRIu32, track);
    return text;
}

// The locale's time format with seconds, without a time-zone field.
QString LongTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.trimmed();
}

// The framework's "c" form: short date, then the long time unless the value is exactly midnight.
std::string FormatDateTimeC(TDateTime value)
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int ms = 0;
    platform::DecodeDate(value, year, month, day);
    platform::DecodeTime(value, hour, minute, second, ms);
    const QLocale locale;
    QString text = locale.toString(QDate(year, month, day), QLocale::ShortFormat);
    if (hour != 0 || minute != 0 || second != 0 || ms != 0)
        text += QLatin1Char(' ') + locale.toString(QTime(hour, minute, second, ms), LongTimeFormat(locale));
    return platform::FromQString(text);
}

std::string_view WithoutTrailingSlashes(std::string_view path)
{
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

// The folder part of a path without its separator ("/a/b.wav" gives "/a", "/b.wav" gives "/").
std::string_view FolderOf(std::string_view path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return path.substr(0, slash == 0 ? 1 : slash);
}

std::string_view LastName(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The leaf block's length head: one byte below kLongLeaf, else kLongLeaf and four bytes.
constexpr unsigned char kLongLeaf = 0xFF;

std::string_view LeafOf(const char* block)
{
    if (!block)
        return {};
    const auto head = static_cast<unsigned char>(block[0]);
    if (head != kLongLeaf)
        return {block + 1, head};
    std::uint32_t size = 0;
    std::memcpy(&size, block + 1, sizeof size);
    return {block + 1 + sizeof size, size};
}

std::unique_ptr<char[]> MakeLeaf(std::string_view leaf)
{
    if (leaf.empty())
        return nullptr;
    if (leaf.size() < kLongLeaf) {
        auto block = std::make_unique_for_overwrite<char[]>(1 + leaf.size());
        block[0] = static_cast<char>(leaf.size());
        std::memcpy(block.get() + 1, leaf.data(), leaf.size());
        return block;
    }
    const auto size = static_cast<std::uint32_t>(leaf.size());
    auto block = std::make_unique_for_overwrite<char[]>(1 + sizeof size + leaf.size());
    block[0] = static_cast<char>(kLongLeaf);
    std::memcpy(block.get() + 1, &size, sizeof size);
    std::memcpy(block.get() + 1 + sizeof size, leaf.data(), leaf.size());
    return block;
}

} // namespace

// A library holds hundreds of thousands of songs: the record fits a 144-byte heap chunk.
static_assert(sizeof(TaudioTag) <= 136);

std::string TaudioTag::Filename() const
{
    const std::string& folder = FolderName();
    const std::string_view leaf = LeafName();
    std::string name;
    name.reserve(folder.size() + leaf.size());
    name.append(folder).append(leaf);
    return name;
}

namespace {
thread_local int t_wholeFilenames = 0;
} // namespace

TwholeFilenames::TwholeFilenames()
{
    ++t_wholeFilenames;
}

TwholeFilenames::~TwholeFilenames()
{
    --t_wholeFilenames;
}

void TaudioTag::SplitFilenames(TaudioTag* const* songs, std::size_t count)
{
    constexpr std::size_t kBatch = 64;
    std::array<std::string_view, kBatch> folders;
    std::array<TsharedText, kBatch> shared;
    for (std::size_t from = 0; from < count; from += kBatch) {
        const std::size_t n = std::min(kBatch, count - from);
        for (std::size_t i = 0; i < n; ++i) {
            const TaudioTag* song = songs[from + i];
            folders[i] = {};
            if (!song->FolderName().empty())
                continue; // split already: its own name holds no '/'
            const std::string_view whole = song->LeafName();
            const std::size_t slash = whole.rfind('/');
            if (slash != std::string_view::npos)
                folders[i] = whole.substr(0, slash + 1);
        }
        TsharedText::MakeMany(folders.data(), shared.data(), n);
        for (std::size_t i = 0; i < n; ++i) {
            if (folders[i].empty())
                continue;
            TaudioTag* song = songs[from + i];
            std::unique_ptr<char[]> leaf = MakeLeaf(song->LeafName().substr(folders[i].size()));
            song->leaf_ = std::move(leaf);
            song->folder_ = std::move(shared[i]);
        }
    }
}

void TaudioTag::SetFilename(std::string_view value)
{
    if (t_wholeFilenames > 0) {
        std::unique_ptr<char[]> whole = MakeLeaf(value); // value may be a view of this song's own name
        folder_ = TsharedText();
        leaf_ = std::move(whole);
        return;
    }
    const std::size_t slash = value.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : value.substr(0, slash + 1);
    // The name may be a view of this song's own name: the new leaf is made before the old one goes.
    std::unique_ptr<char[]> leaf = MakeLeaf(value.substr(folder.size()));
    if (folder != FolderName())
        folder_ = TsharedText(folder);
    leaf_ = std::move(leaf);
}

std::string_view TaudioTag::LeafName() const
{
    return LeafOf(leaf_.get());
}

bool TaudioTag::FilenameIs(std::string_view name) const
{
    const std::string& folder = FolderName();
    const std::string_view leaf = LeafName();
    return name.size() == folder.size() + leaf.size() && name.substr(0, folder.size()) == folder &&
           name.substr(folder.size()) == leaf;
}

int TaudioTag::CompareFilename(const TaudioTag& other) const
{
    if (SameFolder(other)) {
        const int c = LeafName().compare(other.LeafName());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return CompareJoined(FolderName(), LeafName(), other.FolderName(), other.LeafName());
}

int CompareJoined(std::string_view a1, std::string_view a2, std::string_view b1, std::string_view b2)
{
    // Walk both pairs in step, a stretch at a time: each stretch ends where a part of either side ends.
    while (true) {
        if (a1.empty() && !a2.empty()) {
            a1 = a2;
            a2 = {};
        }
        if (b1.empty() && !b2.empty()) {
            b1 = b2;
            b2 = {};
        }
        if (a1.empty() || b1.empty())
            return a1.empty() ? (b1.empty() ? 0 : -1) : 1;
        const std::size_t n = std::min(a1.size(), b1.size());
        const int c = std::memcmp(a1.data(), b1.data(), n);
        if (c != 0)
            return c < 0 ? -1 : 1;
        a1.remove_prefix(n);
        b1.remove_prefix(n);
    }
}

std::unique_ptr<TaudioTag> TaudioTag::Clone() const
{
    auto tag = std::make_unique<TaudioTag>();
    tag->folder_ = folder_;
    tag->leaf_ = MakeLeaf(LeafName());
    tag->artist_ = artist_;
    tag->title_ = title_;
    tag->album_ = album_;
    tag->comment_ = comment_;
    tag->trackNo_ = trackNo_;
    tag->date_ = date_;
    tag->genreID_ = genreID_;
    tag->genreString_ = genreString_;
    tag->bitRate_ = bitRate_;
    tag->duration_ = duration_;
    tag->sampleRate_ = sampleRate_;
    tag->channels_ = channels_;
    tag->tagType_ = tagType_;
    tag->modDate_ = modDate_;
    return tag;
}

const TtaggerRecord* TaudioTag::GetTagger() const
{
    return TaggerLoader().GetTaggerForFile(Filename());
}

void TaudioTag::ReadTag()
{
    const std::string fileName = Filename();
    const TtaggerRecord* record = TaggerLoader().ReadFileTag(fileName);
    if (!record)
        return;
    CopyTaggerValues(*record, *this);
    modDate_ = GetFileDateTime(fileName);
}

std::string TaudioTag::GetChannelMode() const
{
    switch (channels_) {
    case 0:
        return "Unknown";
    case 1:
        return "Mono";
    case 2:
        return "Stereo";
    default:
        return "Multi";
    }
}

std::unique_ptr<TaudioTag> ReadSongFile(const std::string& fileName, TDateTime modDate, bool listedAsFile)
{
    const TtaggerRecord* record = TaggerLoader().ReadFileTag(fileName, listedAsFile);
    if (!record)
        return nullptr;
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename(fileName);
    CopyTaggerValues(*record, *song);
    song->SetModDate(modDate);
    return song;
}

void CopyTaggerValues(const TtaggerRecord& record, TaudioTag& song)
{
    const auto text = [](TtaggerTextFunc f) { return TtaggerPlugin::CopyText(f ? f(nullptr) : nullptr); };
    song.SetArtist(text(record.Artist));
    song.SetTitle(text(record.Title));
    song.SetAlbum(text(record.Album));
    song.SetComment(text(record.Comment));
    song.SetDate(text(record.Date));
    song.SetGenreString(text(record.GenreString));
    song.SetTrackNo(static_cast<std::uint32_t>(record.TrackNo));
    song.SetGenreID(static_cast<std::uint32_t>(record.GenreID));
    song.SetBitRate(static_cast<std::uint32_t>(record.BitRate));
    song.SetDuration(static_cast<std::uint32_t>(record.Duration));
    song.SetSampleRate(static_cast<std::uint32_t>(record.SampleRate));
    song.SetChannels(static_cast<std::uint32_t>(record.Channels));
    song.SetMediaType(static_cast<std::uint32_t>(record.MediaType));
    song.SetTagType(TtaggerPlugin::CopyText(record.TagType ? record.TagType() : nullptr));
}

std::string SecondsToMSLong(std::int64_t seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, "%" PRId64 ":%2.2" PRId64, seconds / 60, seconds % 60);
    return text;
}

std::string FormatTagText(const TaudioTag& song, TtagDisplayFormat format)
{
    const std::string& artist = song.Artist();
    const std::string& title = song.Title();
    switch (format) {
    case tdfArtistTitle:
        return Join({artist, " - ", title});
    case tdfTitleArtist:
        return Join({title, " - ", artist});
    case tdfArtistTitleDuration:
        return Join({artist, " - ", title, " [", SecondsToMSLong(song.Duration()), "]"});
    case tdfTitleArtistDuration:
        return Join({title, " - ", artist, " [", SecondsToMSLong(song.Duration()), "]"});
    case tdfTitleDuration:
        return Join({title, " [", SecondsToMSLong(song.Duration()), "]"});
    case tdfTrackTitleDuration:
        return Join({Track3(song.TrackNo()), " : ", title, " [", SecondsToMSLong(song.Duration()), "]"});
    case tdfTrackArtistTitleDuration:
        return Join({Track3(song.TrackNo()), " : ", artist, " - ", title, " [",
                     SecondsToMSLong(song.Duration()), "]"});
    case tdfTrackArtistTitle:
        return Join({Track3(song.TrackNo()), " : ", artist, " - ", title});
    case tdfTracktitle:
        return Join({Track3(song.TrackNo()), " : ", title});
    case tdfArtistTitleAlbumTrack:
        if (song.Album().empty())
            return Join({artist, " - ", title});
        if (song.TrackNo() == 0)
            return Join({artist, " - ", title, " [", song.Album(), "]"});
        return Join(
            {artist, " - ", title, " [", song.Album(), " - Track ", std::to_string(song.TrackNo()), "]"});
    case tdfTimeArtistTitleFilename:
        return Join(
            {FormatDateTimeC(song.ModDate()), " : ", artist, " - ", title, " (", song.Filename(), ")"});
    }
    return Join({artist, " - ", title});
}

void SetTagSortOrder(TaudioTagSortOrder order)
{
    g_sortSign = order == tsoDescending ? -1 : 1;
}
int TagSortSign()
{
    return g_sortSign;
}

int CompareByTitle(const TaudioTag* a, const TaudioTag* b)
{
    return g_sortSign * TextOrder(a->Title(), b->Title());
}

int CompareByArtist(const TaudioTag* a, const TaudioTag* b)
{
    int r = TextOrder(a->Artist(), b->Artist());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByAlbum(const TaudioTag* a, const TaudioTag* b)
{
    int r = TextOrder(a->Album(), b->Album());
    if (r == 0)
        r = CompareByTrack(a, b);
    return g_sortSign * r;
}

int CompareByTrack(const TaudioTag* a, const TaudioTag* b)
{
    int r = Order(a->TrackNo(), b->TrackNo());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByComment(const TaudioTag* a, const TaudioTag* b)
{
    int r = TextOrder(a->Comment(), b->Comment());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByGenre(const TaudioTag* a, const TaudioTag* b)
{
    int r = TextOrder(a->GenreString(), b->GenreString());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByYear(const TaudioTag* a, const TaudioTag* b)
{
    int r = TextOrder(a->Date(), b->Date());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByDuration(const TaudioTag* a, const TaudioTag* b)
{
    int r = Order(a->Duration(), b->Duration());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareBySampleRate(const TaudioTag* a, const TaudioTag* b)
{
    int r = Order(a->SampleRate(), b->SampleRate());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByBitrate(const TaudioTag* a, const TaudioTag* b)
{
    int r = Order(a->BitRate(), b->BitRate());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByChannels(const TaudioTag* a, const TaudioTag* b)
{
    int r = Order(a->Channels(), b->Channels());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

int CompareByTagType(const TaudioTag* a, const TaudioTag* b)
{
    int r = TextOrder(a->TagType(), b->TagType());
    if (r == 0)
        r = CompareByTitle(a, b);
    return g_sortSign * r;
}

namespace {

// A song with the key of one sort it is being sorted by: a number or a text's rank.
struct SortEntry
{
    std::uint32_t key;
    TaudioTag* song;
};

// Which value of a song a sort key is.
enum class Field
{
    Title,
    Artist,
    Album,
    Comment,
    Genre,
    Year,
    TagType,
    Track,
    Duration,
    SampleRate,
    Bitrate,
    Channels,
};

bool IsText(Field field)
{
    return field <= Field::TagType;
}

const std::string* TextOf(const TaudioTag& song, Field field)
{
    switch (field) {
    case Field::Title:
        return &song.Title();
    case Field::Artist:
        return &song.Artist();
    case Field::Album:
        return &song.Album();
    case Field::Comment:
        return &song.Comment();
    case Field::Genre:
        return &song.GenreString();
    case Field::Year:
        return &song.Date();
    case Field::TagType:
        return &song.TagType();
    default:
        return nullptr;
    }
}

std::uint32_t NumberOf(const TaudioTag& song, Field field)
{
    switch (field) {
    case Field::Track:
        return song.TrackNo();
    case Field::Duration:
        return song.Duration();
    case Field::SampleRate:
        return song.SampleRate();
    case Field::Bitrate:
        return song.BitRate();
    case Field::Channels:
        return song.Channels();
    default:
        return 0;
    }
}

struct SortKey
{
    Field field;
    int sign;
};

// The comparers' chains unrolled: a comparer signs its key, and a tie-break comparer's answer is signed
// again, so the title after one key compares unsigned, and after the album's track the title is signed.
std::vector<SortKey> SortKeys(TaudioTagSortType sortType, int s)
{
    const auto then = [s](Field key) { return std::vector<SortKey>{{key, s}, {Field::Title, 1}}; };
    switch (sortType) {
    case tstArtist:
        return then(Field::Artist);
    case tstAlbum:
        return {{Field::Album, s}, {Field::Track, 1}, {Field::Title, s}};
    case tstTrack:
        return then(Field::Track);
    case tstComment:
        return then(Field::Comment);
    case tstGenre:
        return then(Field::Genre);
    case tstYear:
        return then(Field::Year);
    case tstDuration:
        return then(Field::Duration);
    case tstSampleRate:
        return then(Field::SampleRate);
    case tstBitrate:
        return then(Field::Bitrate);
    case tstChannels:
        return then(Field::Channels);
    case tstTagType:
        return then(Field::TagType);
    case tstTitle:
        break;
    }
    return {{Field::Title, s}};
}

} // namespace

namespace {

void SplitRuns(std::vector<SortEntry>& entries, std::size_t begin, std::size_t end,
               const std::vector<SortKey>& keys, std::size_t k);

// Puts entries [begin, begin + ranks.size()) in the order of their texts' ranks, equal ranks in the order
// they came, rather than sorting them again after the texts' own sort.
void PlaceByRank(std::vector<SortEntry>& entries, std::size_t begin, const std::vector<std::uint32_t>& ranks,
                 bool ascending)
{
    const std::uint32_t top = *std::max_element(ranks.begin(), ranks.end());
    std::vector<SortEntry> placed;
    placed.reserve(ranks.size());
    for (const std::uint32_t i : StableRankOrder(ranks, ascending))
        placed.push_back(SortEntry{ascending ? ranks[i] : top - ranks[i], entries[begin + i].song});
    std::copy(placed.begin(), placed.end(), entries.begin() + static_cast<std::ptrdiff_t>(begin));
}

// Sorts entries [begin, end), equal in every key before k, by key k and then each run of equal key k by the
// keys after it: a key is found only for the songs whose earlier keys tie.
void SortRun(std::vector<SortEntry>& entries, std::size_t begin, std::size_t end,
             const std::vector<SortKey>& keys, std::size_t k)
{
    if (end - begin < 2 || k == keys.size())
        return;
    const Field field = keys[k].field;
    // The songs of a large list lie anywhere in memory: each is asked for a few songs before it is read.
    constexpr std::size_t kAhead = 8;
    const auto ask = [&entries, end](std::size_t i) {
        if (i + kAhead >= end)
            return;
        const auto* song = reinterpret_cast<const char*>(entries[i + kAhead].song);
        for (std::size_t at = 0; at < sizeof(TaudioTag); at += 64)
            __builtin_prefetch(song + at);
    };
    if (IsText(field)) {
        std::vector<std::string_view> texts;
        texts.reserve(end - begin);
        for (std::size_t i = begin; i < end; ++i) {
            ask(i);
            texts.push_back(*TextOf(*entries[i].song, field));
        }
        const std::vector<std::uint32_t> ranks = platform::TextOrderRanks(texts);
        PlaceByRank(entries, begin, ranks, keys[k].sign > 0);
        SplitRuns(entries, begin, end, keys, k);
        return;
    }
    for (std::size_t i = begin; i < end; ++i) {
        ask(i);
        entries[i].key = NumberOf(*entries[i].song, field);
    }
    const bool ascending = keys[k].sign > 0;
    std::stable_sort(entries.begin() + static_cast<std::ptrdiff_t>(begin),
                     entries.begin() + static_cast<std::ptrdiff_t>(end),
                     [ascending](const SortEntry& a, const SortEntry& b) {
                         return ascending ? a.key < b.key : a.key > b.key;
                     });
    SplitRuns(entries, begin, end, keys, k);
}

void SplitRuns(std::vector<SortEntry>& entries, std::size_t begin, std::size_t end,
               const std::vector<SortKey>& keys, std::size_t k)
{
    std::size_t run = begin;
    for (std::size_t i = begin + 1; i <= end; ++i) {
        if (i == end || entries[i].key != entries[run].key) {
            SortRun(entries, run, i, keys, k + 1);
            run = i;
        }
    }
}

} // namespace

std::vector<std::uint32_t> StableRankOrder(const std::vector<std::uint32_t>& ranks, bool ascending)
{
    if (ranks.empty())
        return {};
    const std::uint32_t top = *std::max_element(ranks.begin(), ranks.end());
    const auto keyOf = [top, ascending](std::uint32_t rank) { return ascending ? rank : top - rank; };
    std::vector<std::uint32_t> next(static_cast<std::size_t>(top) + 2, 0);
    for (const std::uint32_t rank : ranks)
        ++next[keyOf(rank) + 1];
    for (std::size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    std::vector<std::uint32_t> order(ranks.size());
    for (std::size_t i = 0; i < ranks.size(); ++i)
        order[next[keyOf(ranks[i])]++] = static_cast<std::uint32_t>(i);
    return order;
}

void SortTags(std::vector<TaudioTag*>& songs, TaudioTagSortType sortType)
{
    if (songs.size() < 2)
        return;
    std::vector<SortEntry> entries(songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i)
        entries[i].song = songs[i];
    SortRun(entries, 0, entries.size(), SortKeys(sortType, g_sortSign), 0);
    for (std::size_t i = 0; i < songs.size(); ++i)
        songs[i] = entries[i].song;
}

TaudioTagCompare TagComparer(TaudioTagSortType sortType)
{
    switch (sortType) {
    case tstTitle:
        return CompareByTitle;
    case tstArtist:
        return CompareByArtist;
    case tstAlbum:
        return CompareByAlbum;
    case tstTrack:
        return CompareByTrack;
    case tstComment:
        return CompareByComment;
    case tstGenre:
        return CompareByGenre;
    case tstYear:
        return CompareByYear;
    case tstDuration:
        return CompareByDuration;
    case tstSampleRate:
        return CompareBySampleRate;
    case tstBitrate:
        return CompareByBitrate;
    case tstChannels:
        return CompareByChannels;
    case tstTagType:
        return CompareByTagType;
    }
    return CompareByTitle;
}

bool TagFileExists(const std::string& name)
{
    return FileExistsNoError(name);
}

void ApplyFileNameMask(TaudioTag& song, std::string_view mask, bool albumFromParentFolder,
                       bool artistFromParentFolder)
{
    TStrings lines;
    ParseFileNameMask(ExtractFileNameOnly(song.LeafName()), mask, lines);
    const auto apply = [&](std::string_view name, void (TaudioTag::*set)(std::string)) {
        std::string value = lines.Values(name);
        if (!value.empty())
            (song.*set)(std::move(value));
    };
    apply("%a", &TaudioTag::SetArtist);
    apply("%b", &TaudioTag::SetAlbum);
    apply("%t", &TaudioTag::SetTitle);
    apply("%g", &TaudioTag::SetGenreString);
    const std::int64_t track = StrToIntDef(lines.Values("%n"), 0);
    if (track != 0)
        song.SetTrackNo(static_cast<std::uint32_t>(track));
    song.SetGenreID(GenresList().IDOf(song.GenreString()));

    const std::string_view folder = WithoutTrailingSlashes(song.FolderName());
    if (albumFromParentFolder) {
        const std::string_view parent = WithoutTrailingSlashes(FolderOf(folder));
        song.SetAlbum(std::string(LastName(folder)));
        if (artistFromParentFolder)
            song.SetArtist(std::string(LastName(parent)));
    } else if (artistFromParentFolder) {
        song.SetArtist(std::string(LastName(folder)));
    }
}

std::string FindCoverFile(const TaudioTag& song, const std::string& coverFolder)
{
    return TcoverFinder(coverFolder).Find(song);
}

std::uint32_t GetID3v2TagSize(const unsigned char* header)
{
    std::uint32_t size = (static_cast<std::uint32_t>(header[6] & 0x7F) << 21) |
                         (static_cast<std::uint32_t>(header[7] & 0x7F) << 14) |
                         (static_cast<std::uint32_t>(header[8] & 0x7F) << 7) | (header[9] & 0x7F);
    size += 10;
    if (header[5] & 0x10)
        size += 10;
    return size;
}

bool LoadEmbeddedCover(const std::string& fileName, TcoverPicture& jpegImage)
{
    try {
        if (!RegularFileExists(fileName))
            return false;
        std::ifstream in(fileName, std::ios::binary);
        if (!in)
            return false;
        in.seekg(0, std::ios::end);
        const auto fileSize = static_cast<std::uint64_t>(in.tellg());
        in.seekg(0);
        unsigned char header[10];
        if (!in.read(reinterpret_cast<char*>(header), sizeof header))
            return false;
        if (std::memcmp(header, "ID3", 3) != 0)
            return false;
        const std::uint32_t tagSize = GetID3v2TagSize(header);
        if (tagSize >= fileSize)
            return false;
        // The copy may run past the tag into the audio; a short file just gives a shorter copy.
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(tagSize, fileSize - 10));
        std::vector<unsigned char> tag(size);
        in.read(reinterpret_cast<char*>(tag.data()), static_cast<std::streamsize>(size));
        const auto got = static_cast<std::size_t>(in.gcount());
        tag.resize(got);
        // The picture frame: MIME text, its terminator, the picture type and an empty description's
        // terminator, then the picture. The standard MIME text is image/jpeg; older writers put image/jpg.
        std::size_t start = 0;
        for (std::size_t i = 0; i + 9 < got; ++i) {
            if (std::memcmp(&tag[i], "image/jpg", 9) == 0) {
                start = i + 12;
                break;
            }
            if (i + 10 <= got && std::memcmp(&tag[i], "image/jpeg", 10) == 0) {
                start = i + 13;
                break;
            }
        }
        if (start == 0 || start >= got)
            return false;
        jpegImage.LoadFromJpeg(tag.data() + start, got - start);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string GetCoverPicture(const TaudioTag& song, const std::string& coverFolder, TcoverPicture& picture,
                            bool embeddedFirst)
{
    if (embeddedFirst) {
        try {
            TcoverPicture image;
            if (LoadEmbeddedCover(song.Filename(), image)) {
                picture = std::move(image);
                return {};
            }
        } catch (const std::exception&) {
            return {};
        }
    }
    std::string found = FindCoverFile(song, coverFolder);
    if (found.empty()) {
        picture.Clear();
        return found;
    }
    try {
        picture.LoadFromFile(found);
    } catch (const std::exception&) {
        picture.Clear();
    }
    return found;
}
