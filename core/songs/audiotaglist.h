#pragma once

#include "core/songs/audiotag.h"
#include "core/songs/filelistreport.h"
#include "core/songs/filenameindex.h"
#include "core/songs/randompointerlist.h"
#include "core/songs/sharedtext.h"
#include "core/songs/streamreader.h"
#include "core/songs/streamwriter.h"
#include "core/util/event.h"
#include "core/util/treesink.h"
#include "platform/stringlist.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Play modes of a song list, a set stored as one byte of these bit values.
enum TaudioTagListModeItem : std::uint8_t
{
    lmRandom = 1,
    lmLoop = 2,
    lmResetOnActivate = 4,
};
using TaudioTagListMode = std::uint8_t;

constexpr bool Has(TaudioTagListMode mode, TaudioTagListModeItem item)
{
    return (mode & item) != 0;
}
constexpr TaudioTagListMode With(TaudioTagListMode mode, TaudioTagListModeItem item)
{
    return static_cast<TaudioTagListMode>(mode | item);
}
constexpr TaudioTagListMode Without(TaudioTagListMode mode, TaudioTagListModeItem item)
{
    return static_cast<TaudioTagListMode>(mode & ~item);
}

// The name a stored song takes when its list is loaded for a disc in another drive or mount point.
// A one-letter root (or "e:") replaces the first character, as drive letters do. A mount point such as
// "/media/u/DISC/" replaces as many leading folders of the stored name as it has itself; a stored name with a
// drive letter ("d:\x\y.wav") loses "d:\" and has its backslashes turned into "/". Empty root: unchanged.
std::string ApplyDriveRoot(const std::string& fileName, std::string_view driveRoot);

// The song list used everywhere: library, queue, playlists, CD lists, groupings, history. It frees its songs
// only when OwnsObjects is set; songs it creates itself (loads, copies, file reads) while not owning them are
// kept alive until the list is destroyed, so no path leaks or frees twice.
class TaudioTagList
{
public:
    // Longest Title or Filename a song-list file holds; longer texts are cut when written, refused when read.
    static constexpr std::int32_t kMaxHeaderText = 8192;

    TaudioTagList();
    virtual ~TaudioTagList();
    TaudioTagList(const TaudioTagList&) = delete;
    TaudioTagList& operator=(const TaudioTagList&) = delete;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    const std::string& DataFileName() const { return Texts().dataFileName; }
    void SetDataFileName(std::string value) { OwnTexts().dataFileName = std::move(value); }
    TtagDisplayFormat DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(TtagDisplayFormat value) { displayFormat_ = value; }
    TaudioTagListMode PlayMode() const { return playMode_; }
    void SetPlayMode(TaudioTagListMode mode);
    const std::string& Filename() const { return Texts().filename; }
    void SetFilename(std::string value) { OwnTexts().filename = std::move(value); }
    std::int32_t Max() const { return max_; }
    void SetMax(std::int32_t value) { max_ = value; }
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool value) { ownsObjects_ = value; }
    bool SaveDataFiles() const { return saveDataFiles_; }
    void SetSaveDataFiles(bool value) { saveDataFiles_ = value; }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TaudioTagSortOrder SortOrder() const { return sortOrder_; }
    void SetSortOrder(TaudioTagSortOrder value);
    TaudioTagSortType SortType() const { return sortType_; }
    void SetSortType(TaudioTagSortType value);
    const std::string& Title() const { return title_.Get(); }
    void SetTitle(std::string_view value) { title_ = TsharedText(value); }
    // The title as the shared text it is kept in (a grouping's title is its songs' album, artist or genre).
    const TsharedText& SharedTitle() const { return title_; }
    std::int32_t ListProcessFactor() const { return listProcessFactor_; }
    void SetListProcessFactor(std::int32_t value) { listProcessFactor_ = value <= 0 ? 1 : value; }
    bool UseAudioFileMask() const { return useAudioFileMask_; }
    void SetUseAudioFileMask(bool value) { useAudioFileMask_ = value; }
    const std::string& AudioFileMask() const { return Texts().audioFileMask; }
    void SetAudioFileMask(std::string value) { OwnTexts().audioFileMask = std::move(value); }
    bool UseVideoFileMask() const { return useVideoFileMask_; }
    void SetUseVideoFileMask(bool value) { useVideoFileMask_ = value; }
    const std::string& VideoFileMask() const { return Texts().videoFileMask; }
    void SetVideoFileMask(std::string value) { OwnTexts().videoFileMask = std::move(value); }
    bool AlbumFromParentFolder() const { return albumFromParentFolder_; }
    void SetAlbumFromParentFolder(bool value) { albumFromParentFolder_ = value; }
    bool ArtistFromParentFolder() const { return artistFromParentFolder_; }
    void SetArtistFromParentFolder(bool value) { artistFromParentFolder_ = value; }

    // Play-mode switches; each goes through SetPlayMode.
    bool GetLoop() const { return Has(playMode_, lmLoop); }
    void SetLoop(bool value);
    bool GetRandom() const { return Has(playMode_, lmRandom); }
    void SetRandom(bool value);
    bool GetResetOnActivate() const { return Has(playMode_, lmResetOnActivate); }
    void SetResetOnActivate(bool value);

    // Published events. Each costs a pointer while unset, as the groupings' tens of thousands of lists
    // leave them.
    Tevent<void(TaudioTagList* sender)> OnChange;
    Tevent<void(TaudioTagList* sender, const std::string& text)> OnListProcessStart;
    Tevent<void(TaudioTagList* sender, std::uint32_t index, std::uint32_t count, TaudioTag* tag)>
        OnListProcess;
    Tevent<void(TaudioTagList* sender)> OnListProcessFinished;
    Tevent<void(TaudioTagList* sender, const std::string& dir)> OnDirProcess;
    Tevent<void(TaudioTagList* sender)> OnMaxExceeded;
    Tevent<void(TaudioTagList* sender, bool modified, TaudioTag* tag)> OnTagFound;
    Tevent<void(TaudioTagList* sender)> OnActiveChanged;
    Tevent<void(TaudioTagList* sender)> OnModeChanged;
    // Raised before an owning list frees songs (a clear, a deletion, missing files removed, a replacing load
    // or scan), while they are still alive, so whatever links to them can let go first; they may already
    // be out of the list. Not raised by the destructor.
    Tevent<void(TaudioTagList* sender)> OnFreeingSongs;

    // Overridable steps.
    virtual void DoChange();
    // Reads the file through its plug-in and adds the new song; nullptr when no plug-in reads it or the
    // list refuses it.
    virtual TaudioTag* AddFile(const std::string& fileName);
    // Appends the song unless Max is reached; true when it was taken. An owning list takes over an accepted
    // song; a refused one stays the caller's. nullptr is ignored.
    virtual bool Add(TaudioTag* song);
    // Adds a clone of the song; true when the list took it.
    virtual bool AddCopy(const TaudioTag* song);
    virtual void Clear();
    // What the list stands for in a tree (an album, an artist, a genre, any other list), for code that must
    // tell them apart without a type test.
    virtual TtreeNodeKind Kind() const { return tnkList; }

    // Adding and removing.
    void AddTags(const TStringList<TaudioTag>& strings, bool copy, bool append);
    void CopyFrom(const TaudioTagList& source, bool copyTags, bool append);
    void AppendFrom(const TaudioTagList& source, bool copyTags) { CopyFrom(source, copyTags, true); }
    void Delete(int i);
    void Move(int from, int to);
    void MoveUp(int i);
    void MoveDown(int i);
    void Shuffle();
    void RemoveMissing();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    // Gives back the room a list filled song by song has left over (the groupings' lists, once built).
    void ShrinkToFit() { items_.shrink_to_fit(); }
    int UpdateCount() const { return updateCount_; }
    // The change step every modification ends with.
    void Changed();

    // Reading the list.
    int GetCount() const { return static_cast<int>(items_.size()); }
    int Count() const { return GetCount(); }
    TaudioTag* GetItem(int i) const;
    const std::vector<TaudioTag*>& Items() const { return items_; }
    int IndexOf(const TaudioTag* song) const;
    std::uint32_t TotalDuration() const;
    int ArtistCount() const;
    bool CheckAlbum(std::string& artist) const;
    void SearchTitle(std::string_view text, TStringList<TaudioTag>& strings) const;
    void FormatStrings(TStringList<TaudioTag>& strings, TtagDisplayFormat format, bool numbered) const;
    void GetStrings(TStringList<TaudioTag>& strings) const { FormatStrings(strings, displayFormat_, false); }

    // Sorting.
    void Sort();
    void SortBy(TaudioTagSortType sortType);
    // As SortBy, with the songs already put in that order by the caller (the same songs, rearranged).
    void TakeSorted(std::vector<TaudioTag*> items);

    // Files. Saving throws EFileError; loading answers false on a missing, foreign or damaged file and keeps
    // the songs read before the damage. driveRoot: see ApplyDriveRoot.
    void SaveToFile(const std::string& fileName) const;
    void SaveToStream(TstreamWriter& stream) const;
    bool LoadFromFile(const std::string& fileName, bool append, std::string_view driveRoot = {});
    bool LoadFromStream(TstreamReader& stream, std::string_view driveRoot = {});
    // Lines end in lineEnd (the system's LF unless a reader wants others).
    void ExportM3U(const std::string& fileName, bool append, bool addDummy, bool extended,
                   std::string_view lineEnd = "\n");
    // An M3U file (see ReadM3UEntries) or a list of file names. Only regular files are read. A list to be
    // replaced (append false) is cleared only once a song could be read: loading nothing leaves it as it
    // was.
    TfileListReport LoadFileList(const std::string& fileName, bool append);
    TfileListReport AddFileList(const TStrings& strings, bool append);

    // Folder scans with the per-folder cache (DataFileName in each folder; core/audiotaglistscan.cpp).
    // index: the library's songs by full file name (the library's FileNameIndex), or nullptr; songs it
    // holds are refreshed in place, never added. A cache that cannot be written throws EFileError once the
    // songs found so far are in the list and every bracket and progress run is closed. Every cache is on disk
    // when a scan returns; a tree walk writes them on threads of its own (core/songs/foldercachewriter.h)
    // and ends at the next folder once a write failed.
    // True when the cache exists and no file beside it is newer; fileCount: the files counted there.
    bool IsCacheCurrent(const std::string& cacheFile, std::uint32_t& fileCount) const;
    void ScanFolder(const std::string& folder, bool append, const TfileNameIndex* index, bool force);
    // The folder, then its subfolders depth-first; a folder reached twice (links) is scanned once.
    void ScanTree(const std::string& folder, bool append, const TfileNameIndex* index);
    void ScanFolderList(const TStrings& folders, bool append, const TfileNameIndex* index);

    // Play order.
    void Activate();
    void ResetPosition() { position_ = 0; }
    std::int32_t Position() const { return position_; }
    TaudioTag* CurrentTag();
    TaudioTag* NextTag();
    // The shuffled order, made when first asked for after a change.
    const TrandomPointerList& RandomList() const { return PlayOrder(); }

    // Notifications, raised only when a handler is set.
    void DoListProcessStart(const std::string& text);
    // Raised for every ListProcessFactor-th index only.
    void DoListProcess(std::uint32_t index, std::uint32_t count, TaudioTag* tag);
    void DoListProcessFinished();
    void DoDirProcess(const std::string& dir);
    void DoTagFound(bool modified, TaudioTag* tag);
    void DoMaxExceeded();
    void DoFreeingSongs();

protected:
    // Adds a song this list made itself; the list answers for it from here on, whether it keeps it (the
    // answer) or refuses it (freed, nullptr).
    TaudioTag* AddCreated(std::unique_ptr<TaudioTag> song);

private:
    // One folder scan or tree walk (core/songs/audiotaglistscan.cpp).
    class TfolderScan;

    // The file name and the scan settings' texts, which only playlists, the library's and the scanning
    // lists set: the groupings' thousands of lists share the defaults.
    struct ScanTexts
    {
        std::string filename;
        std::string dataFileName = "orvane.obf";
        std::string audioFileMask = "%t - %a - %n";
        std::string videoFileMask = "%t";
    };
    const ScanTexts& Texts() const;
    ScanTexts& OwnTexts();

    void SortItems(TaudioTagSortType sortType);
    TrandomPointerList& PlayOrder() const;
    // Drops the song from the songs made here; false when it is not one of them.
    bool ForgetCreated(TaudioTag* song);
    // Frees a song that has just left the items when the list answers for it.
    void Release(TaudioTag* song);
    // The same for many songs at once.
    void ReleaseAll(std::vector<TaudioTag*> songs);
    void FreeAll(bool itemsToo);

    // Pointers and arrays first, then the numbers and the switches as bits: the groupings make their lists
    // by the tens of thousands.
    TsharedText title_;
    std::vector<TaudioTag*> items_;
    // Songs made here while the list did not own them; freed with the list. Made with the first such song.
    std::unique_ptr<std::vector<TaudioTag*>> created_;
    // The shuffled order costs a link per song, so a list that never plays shuffled never makes it: a change
    // step only marks it for a refill, which happens when the order is next read.
    mutable std::unique_ptr<TrandomPointerList> random_;
    std::unique_ptr<ScanTexts> scanTexts_;
    std::int32_t max_ = 0;
    std::int32_t listProcessFactor_ = 1;
    std::int32_t position_ = 0;
    int updateCount_ = 0;
    TaudioTagListMode playMode_ = lmLoop;
    TtagDisplayFormat displayFormat_ = tdfArtistTitle;
    TaudioTagSortOrder sortOrder_ = tsoAscending;
    TaudioTagSortType sortType_ = tstTitle;
    bool active_ : 1 = false;
    bool ownsObjects_ : 1 = false;
    bool saveDataFiles_ : 1 = false;
    bool sorted_ : 1 = false;
    bool useAudioFileMask_ : 1 = false;
    bool useVideoFileMask_ : 1 = false;
    bool albumFromParentFolder_ : 1 = true;
    bool artistFromParentFolder_ : 1 = true;
    mutable bool randomStale_ : 1 = false;
    bool maxExceeded_ : 1 = false;
    bool justSorted_ : 1 = false;
};
