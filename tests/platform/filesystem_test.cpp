#include "platform/filesystem.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

using namespace platform;

namespace {

std::map<std::string, TFolderEntry> ByName(const std::vector<TFolderEntry>& entries)
{
    std::map<std::string, TFolderEntry> map;
    for (const TFolderEntry& e : entries)
        map[e.Name] = e;
    return map;
}

void SetMTime(const std::string& path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

} // namespace

TEST(FileSystemMask, WildcardsAndCase)
{
    EXPECT_TRUE(MatchesMask("Song.MP3", "*.mp3"));
    EXPECT_FALSE(MatchesMask("Song.MP3", "*.mp3", MaskCase::Sensitive));
    EXPECT_TRUE(MatchesMask("TAG_wav.so", "TAG_*.so", MaskCase::Sensitive));
    EXPECT_FALSE(MatchesMask("tag_wav.so", "TAG_*.so", MaskCase::Sensitive));
    EXPECT_FALSE(MatchesMask("TAG_wav.so.1", "TAG_*.so", MaskCase::Sensitive));
    EXPECT_TRUE(MatchesMask("track01.wav", "track??.wav"));
    EXPECT_FALSE(MatchesMask("track1.wav", "track??.wav"));
    EXPECT_FALSE(MatchesMask("track001.wav", "track??.wav"));
    // "*.*" takes names without a dot too, as on the original platform; "*." does not.
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask(".hidden", "*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.c"));
    EXPECT_TRUE(MatchesMask("aXbYc", "a*b*c"));
    EXPECT_FALSE(MatchesMask("aXbY", "a*b*c"));
    EXPECT_TRUE(MatchesMask("abcabd", "*abd"));
    EXPECT_FALSE(MatchesMask("", "?"));
    EXPECT_TRUE(MatchesMask("", "*"));
}

TEST(FileSystemMask, Utf8NamesAndBackTracking)
{
    // "?" is one character, not one byte; case folding covers non-ASCII letters.
    EXPECT_TRUE(MatchesMask("\xC3\xA9t\xC3\xA9.mp3", "?t?.mp3"));
    EXPECT_FALSE(MatchesMask("\xC3\xA9t\xC3\xA9.mp3", "??t??.mp3"));
    EXPECT_TRUE(MatchesMask("\xC3\x89T\xC3\x89.MP3", "\xC3\xA9t\xC3\xA9.*"));
    EXPECT_FALSE(MatchesMask("\xC3\x89T\xC3\x89.MP3", "\xC3\xA9t\xC3\xA9.*", MaskCase::Sensitive));
    // Many stars on a long name that fails must not explode.
    const std::string name(4000, 'a');
    EXPECT_FALSE(MatchesMask(name, "*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(MatchesMask(name + "b", "*a*a*a*a*a*a*a*a*b"));
}

TEST(FileSystemFind, ListsEntriesWithTheirFacts)
{
    TempDir dir;
    dir.Write("song.mp3", "12345");
    dir.Write(".hidden.mp3", "x");
    dir.Write("Album/inner.mp3", "x");
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("Album", dir.File("link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", dir.File("dangling").c_str()), 0);
    dir.Write("locked.txt", "abc");
    ASSERT_EQ(::chmod(dir.File("locked.txt").c_str(), 0444), 0);
    SetMTime(dir.File("song.mp3"), 1600000000);

    const auto all = ByName(FindEntries(dir.Path(), "*"));
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all.count("."), 0u);
    EXPECT_EQ(all.count(".."), 0u);

    const TFolderEntry& song = all.at("song.mp3");
    EXPECT_EQ(song.Attr, 0u);
    EXPECT_EQ(song.Size, 5);
    EXPECT_DOUBLE_EQ(song.Time, DateTimeFromUnix(1600000000));
    EXPECT_EQ(all.at(".hidden.mp3").Attr, static_cast<std::uint32_t>(faHidden));
    EXPECT_EQ(all.at("Album").Attr, static_cast<std::uint32_t>(faDirectory));
    EXPECT_EQ(all.at("Album").Size, 0);
    EXPECT_EQ(all.at("pipe").Attr, static_cast<std::uint32_t>(faSysFile));
    EXPECT_EQ(all.at("locked.txt").Attr, static_cast<std::uint32_t>(faReadOnly));
    // Links report their target, and say they are links; one leading nowhere is a system entry.
    EXPECT_EQ(all.at("link").Attr, static_cast<std::uint32_t>(faDirectory | faSymLink));
    EXPECT_EQ(all.at("link").Inode, all.at("Album").Inode);
    EXPECT_EQ(all.at("link").Device, all.at("Album").Device);
    EXPECT_EQ(all.at("dangling").Attr, static_cast<std::uint32_t>(faSysFile | faSymLink));
}

TEST(FileSystemFind, AttributeFiltersAndMasks)
{
    TempDir dir;
    dir.Write("a.mp3", "x");
    dir.Write("B.MP3", "x");
    dir.Write("c.ogg", "x");
    dir.Write(".d.mp3", "x");
    dir.Write("Sub.mp3/x", "x");
    dir.Write(".HiddenSub/x", "x");
    ASSERT_EQ(::mkfifo(dir.File("e.mp3").c_str(), 0600), 0);

    auto names = [&](std::string_view mask, std::uint32_t filter) {
        std::vector<std::string> out;
        for (const TFolderEntry& e : FindEntries(dir.Path(), mask, filter))
            out.push_back(e.Name);
        std::sort(out.begin(), out.end());
        return out;
    };
    // The read-only filter: plain and read-only files only.
    EXPECT_EQ(names("*.*", faReadOnly), (std::vector<std::string>{"B.MP3", "a.mp3", "c.ogg"}));
    EXPECT_EQ(names("*.mp3", faReadOnly), (std::vector<std::string>{"B.MP3", "a.mp3"}));
    // The folder filter: files and folders, but nothing hidden or system.
    EXPECT_EQ(names("*.*", faDirectory), (std::vector<std::string>{"B.MP3", "Sub.mp3", "a.mp3", "c.ogg"}));
    EXPECT_EQ(names("*.mp3", faAnyFile),
              (std::vector<std::string>{".d.mp3", "B.MP3", "Sub.mp3", "a.mp3", "e.mp3"}));
    EXPECT_EQ(names("*.MP3", faAnyFile & ~faDirectory).size(), 4u);

    EXPECT_TRUE(PassesAttrFilter(faReadOnly, 0));
    EXPECT_FALSE(PassesAttrFilter(faDirectory | faHidden, faDirectory));
    EXPECT_TRUE(PassesAttrFilter(faDirectory | faHidden, faDirectory | faHidden));
}

TEST(FileSystemFind, MissingUnreadableAndStoppedFolders)
{
    TempDir dir;
    int calls = 0;
    EXPECT_FALSE(ForEachEntry(dir.File("missing"), "*", faAnyFile,
                              [&](const TFolderEntry&) { return ++calls, true; }));
    EXPECT_TRUE(FindEntries(dir.File("missing"), "*").empty());
    EXPECT_EQ(calls, 0);

    dir.Write("1", "");
    dir.Write("2", "");
    dir.Write("3", "");
    EXPECT_TRUE(ForEachEntry(dir.Path(), "*", faAnyFile, [&](const TFolderEntry&) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);

    dir.Write("closed/x", "");
    ASSERT_EQ(::chmod(dir.File("closed").c_str(), 0), 0);
    if (::geteuid() != 0) {
        EXPECT_FALSE(
            ForEachEntry(dir.File("closed"), "*", faAnyFile, [](const TFolderEntry&) { return true; }));
    }
    // A file is not a folder to enumerate.
    EXPECT_FALSE(ForEachEntry(dir.File("1"), "*", faAnyFile, [](const TFolderEntry&) { return true; }));
}

TEST(FileSystemInfo, ExistenceAndTimes)
{
    TempDir dir;
    const std::string file = dir.Write("x.wav", "abc");
    SetMTime(file, 1500000000);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.Path()));
    EXPECT_FALSE(FileExists(dir.File("missing/x.wav")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(dir.Path()));
    EXPECT_TRUE(DirectoryExists(dir.Path() + "/"));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(DirectoryExists(""));
    ASSERT_TRUE(FileModificationTime(file).has_value());
    EXPECT_DOUBLE_EQ(*FileModificationTime(file), DateTimeFromUnix(1500000000));
    EXPECT_FALSE(FileModificationTime(dir.File("missing")).has_value());

    const auto info = EntryInfo(file);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->Name, "x.wav");
    EXPECT_EQ(info->Size, 3);
    const auto folder = EntryInfo(dir.Path() + "/");
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->IsFolder());
    EXPECT_FALSE(folder->Name.empty());
    EXPECT_EQ(EntryInfo("/")->Name, "/");
    EXPECT_FALSE(EntryInfo(dir.File("missing")).has_value());
}
