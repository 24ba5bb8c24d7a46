#pragma once

#include "core/plugins/taggerrecord.h"
#include "core/songs/sharedtext.h"
#include "platform/datetime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TcoverPicture;

// Layout of a song's display line. Stored as one byte.
enum TtagDisplayFormat : std::uint8_t
{
    tdfArtistTitle = 0,
    tdfTitleArtist = 1,
    tdfArtistTitleDuration = 2,
    tdfTitleArtistDuration = 3,
    tdfTitleDuration = 4,
    tdfTrackTitleDuration = 5,
    tdfTrackArtistTitleDuration = 6,
    tdfTrackArtistTitle = 7,
    tdfTracktitle = 8,
    tdfArtistTitleAlbumTrack = 9,
    tdfTimeArtistTitleFilename = 10,
};

// Sort keys of song lists. Stored as one byte.
enum TaudioTagSortType : std::uint8_t
{
    tstTitle = 0,
    tstArtist = 1,
    tstAlbum = 2,
    tstTrack = 3,
    tstComment = 4,
    tstGenre = 5,
    tstYear = 6,
    tstDuration = 7,
    tstSampleRate = 8,
    tstBitrate = 9,
    tstChannels = 10,
    tstTagType = 11,
};

enum TaudioTagSortOrder : std::uint8_t
{
    tsoDescending = 0,
    tsoAscending = 1,
};

// The song record: one media file with the facts a tag-reader plug-in read from it. Songs are streamed as
// components (core/audiotagstream.h), so the published properties below are part of the file formats.
class TaudioTag
{
public:
    TaudioTag() = default;
    TaudioTag(const TaudioTag&) = delete;
    TaudioTag& operator=(const TaudioTag&) = delete;

    // A new song (no owner) with every value but MediaType (and Tag) copied.
    std::unique_ptr<TaudioTag> Clone() const;

    // The component's Tag: free for callers, streamed only when non-zero.
    std::int32_t Tag() const { return tag_; }
    void SetTag(std::int32_t value) { tag_ = value; }

    // The full file name, made from its folder and its own name: callers that only compare or look at a
    // part use the accessors below, which make nothing.
    std::string Filename() const;
    void SetFilename(std::string_view value);
    // While a TwholeFilenames lives on this thread, SetFilename keeps names whole (the folder part empty)
    // until SplitFilenames files the folders of many songs at once: a library file's load meets another
    // folder at almost every song when its songs come shuffled.
    static void SplitFilenames(TaudioTag* const* songs, std::size_t count);
    // The folder part with its separator ("/m/a/" of "/m/a/b.wav"; empty for a name without '/'), one copy
    // shared by every song of the folder, and the rest: FolderName() + LeafName() is the name set.
    const std::string& FolderName() const { return folder_.Get(); }
    const TsharedText& Folder() const { return folder_; }
    std::string_view LeafName() const;
    std::size_t FilenameSize() const { return FolderName().size() + LeafName().size(); }
    // True when the file name is exactly name.
    bool FilenameIs(std::string_view name) const;
    // The file names' byte order (<0, 0, >0), as if both were whole strings.
    int CompareFilename(const TaudioTag& other) const;
    // True when both file names have the same folder part (a pointer comparison).
    bool SameFolder(const TaudioTag& other) const { return folder_ == other.folder_; }
    const std::string& Artist() const { return artist_.Get(); }
    const TsharedText& SharedArtist() const { return artist_; }
    void SetArtist(std::string value) { artist_ = TsharedText(value); }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string value) { title_ = std::move(value); }
    const std::string& Album() const { return album_.Get(); }
    const TsharedText& SharedAlbum() const { return album_; }
    void SetAlbum(std::string value) { album_ = TsharedText(value); }
    const std::string& Comment() const { return comment_.Get(); }
    void SetComment(std::string value) { comment_ = TsharedText(value); }
    std::uint32_t TrackNo() const { return trackNo_; }
    void SetTrackNo(std::uint32_t value) { trackNo_ = value; }
    const std::string& Date() const { return date_.Get(); }
    void SetDate(std::string value) { date_ = TsharedText(value); }
    std::uint32_t GenreID() const { return genreID_; }
    void SetGenreID(std::uint32_t value) { genreID_ = value; }
    const std::string& GenreString() const { return genreString_.Get(); }
    void SetGenreString(std::string value) { genreString_ = TsharedText(value); }
    std::uint32_t BitRate() const { return bitRate_; }
    void SetBitRate(std::uint32_t value) { bitRate_ = value; }
    std::uint32_t Duration() const { return duration_; }
    void SetDuration(std::uint32_t value) { duration_ = value; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    void SetSampleRate(std::uint32_t value) { sampleRate_ = value; }
    std::uint32_t Channels() const { return channels_; }
    void SetChannels(std::uint32_t value) { channels_ = value; }
    // "Mono", "Stereo", "Unknown" (0 channels) or "Multi"; derived, never stored.
    std::string GetChannelMode() const;
    std::string ChannelMode() const { return GetChannelMode(); }
    const std::string& TagType() const { return tagType_.Get(); }
    void SetTagType(std::string value) { tagType_ = TsharedText(value); }
    TDateTime ModDate() const { return modDate_; }
    void SetModDate(TDateTime value) { modDate_ = value; }
    // 0 audio, 1 video.
    std::uint32_t MediaType() const { return mediaType_; }
    void SetMediaType(std::uint32_t value) { mediaType_ = value; }

    bool HasArtist() const { return !artist_.Empty(); }

    // The record of the plug-in serving this song's extension, without reading; nullptr when none.
    const TtaggerRecord* GetTagger() const;
    // Rereads the file through its plug-in; the song stays as it was when no plug-in reads it.
    void ReadTag();

private:
    friend class TsharedTextBatch;

    // The texts first, then the numbers packed together: a library holds hundreds of thousands of songs, so
    // no padding between fields. Texts that songs repeat (an album's, an artist's, a genre's, a year's, a
    // tag type's, a comment: mostly empty, or an encoder's or a shop's line) are shared.
    // The file name's folder (shared) and its own name: a length (one byte, or 0xFF and four bytes) and
    // the bytes, in one block; null when empty.
    TsharedText folder_;
    std::unique_ptr<char[]> leaf_;
    std::string title_;
    TsharedText comment_;
    TsharedText artist_;
    TsharedText album_;
    TsharedText date_;
    TsharedText genreString_;
    TsharedText tagType_;
    TDateTime modDate_ = 0;
    std::int32_t tag_ = 0;
    std::uint32_t trackNo_ = 0;
    std::uint32_t genreID_ = 0;
    std::uint32_t bitRate_ = 0;
    std::uint32_t duration_ = 0;
    std::uint32_t sampleRate_ = 0;
    std::uint32_t channels_ = 0;
    std::uint32_t mediaType_ = 0;
};

// The byte order of a1 + a2 against b1 + b2 (<0, 0, >0) without joining either.
int CompareJoined(std::string_view a1, std::string_view a2, std::string_view b1, std::string_view b2);

// Songs whose names are set on this thread while it lives keep them whole, for TaudioTag::SplitFilenames.
class TwholeFilenames
{
public:
    TwholeFilenames();
    ~TwholeFilenames();
    TwholeFilenames(const TwholeFilenames&) = delete;
    TwholeFilenames& operator=(const TwholeFilenames&) = delete;
};

// Copies the values of the file a plug-in read last into the song (not Filename, not ModDate).
void CopyTaggerValues(const TtaggerRecord& record, TaudioTag& song);
// The song a file holds, read through its plug-in, with the file's time as given (a scan has it from the
// listing); nullptr when no plug-in reads it. listedAsFile: see TtaggerLoader::ReadFileTag.
std::unique_ptr<TaudioTag> ReadSongFile(const std::string& fileName, TDateTime modDate,
                                        bool listedAsFile = false);

// One display line of the song in the given layout.
std::string FormatTagText(const TaudioTag& song, TtagDisplayFormat format);

// "%d:%2.2d" of minutes (unbounded) and seconds, in 64-bit arithmetic.
std::string SecondsToMSLong(std::int64_t seconds);

// Comparers of the sort keys. Each answers the process-wide sign times its key's order (or, on a tie, times
// its tie-break comparer's own signed answer), so a tie-break is signed twice.
using TaudioTagCompare = int (*)(const TaudioTag* a, const TaudioTag* b);
int CompareByTitle(const TaudioTag* a, const TaudioTag* b);
int CompareByArtist(const TaudioTag* a, const TaudioTag* b);
int CompareByAlbum(const TaudioTag* a, const TaudioTag* b);
int CompareByTrack(const TaudioTag* a, const TaudioTag* b);
int CompareByComment(const TaudioTag* a, const TaudioTag* b);
int CompareByGenre(const TaudioTag* a, const TaudioTag* b);
int CompareByYear(const TaudioTag* a, const TaudioTag* b);
int CompareByDuration(const TaudioTag* a, const TaudioTag* b);
int CompareBySampleRate(const TaudioTag* a, const TaudioTag* b);
int CompareByBitrate(const TaudioTag* a, const TaudioTag* b);
int CompareByChannels(const TaudioTag* a, const TaudioTag* b);
int CompareByTagType(const TaudioTag* a, const TaudioTag* b);
// The comparer of a sort key (the title comparer for values outside the keys).
TaudioTagCompare TagComparer(TaudioTagSortType sortType);
// Sorts the songs (stably) in the order TagComparer(sortType) gives under the current sign, with the texts'
// places in the order found once for the whole sort: the sort itself then runs on a compact array instead
// of reaching into every song at every comparison.
void SortTags(std::vector<TaudioTag*>& songs, TaudioTagSortType sortType);
// The positions of ranks in the order of their values (highest first when not ascending), equal ranks in
// the order they came. The ranks are dense (as TextOrderRanks gives them), so they are placed by counting.
std::vector<std::uint32_t> StableRankOrder(const std::vector<std::uint32_t>& ranks, bool ascending);
// The process-wide sign: +1 ascending, -1 descending. A sort sets it before it runs.
void SetTagSortOrder(TaudioTagSortOrder order);
int TagSortSign();

// File-exists test that never prompts for removable media.
bool TagFileExists(const std::string& name);

// Fills tags from the file name by the mask, then from the folder names.
void ApplyFileNameMask(TaudioTag& song, std::string_view mask, bool albumFromParentFolder,
                       bool artistFromParentFolder);

// Full name of the first cover picture found for the song, or empty (always empty without an Artist).
std::string FindCoverFile(const TaudioTag& song, const std::string& coverFolder);

// Total size of an ID3v2 tag (header and footer included) from its 10-byte header.
std::uint32_t GetID3v2TagSize(const unsigned char* header);

// True when a JPEG picture was found in the file's ID3v2 tag and decoded into jpegImage.
bool LoadEmbeddedCover(const std::string& fileName, TcoverPicture& jpegImage);

// Loads the song's cover into picture; answers the cover file's name (empty when the embedded picture was
// used or nothing was found, in which case the picture is cleared).
std::string GetCoverPicture(const TaudioTag& song, const std::string& coverFolder, TcoverPicture& picture,
                            bool embeddedFirst);
