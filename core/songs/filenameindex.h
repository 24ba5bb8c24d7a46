#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TaudioTag;

// The library's songs by full file name, ignoring case: a sorted list of links to the songs, keyed by each
// song's own Filename (no copy of the names). A second song of an indexed name is left out. The order is
// that of case-folded code points, the same rule SameText applies, so a lookup finds exactly the names
// SameText calls equal. A song renamed in place needs a Rebuild. Copies share one array (a library without
// CDs holding the same songs as its source takes its source's index); a Rebuild or Clear of either leaves the
// other as it was.
class TfileNameIndex
{
public:
    // Indexes the songs in list order (the first of equal names stays), sorting once.
    void Rebuild(const std::vector<TaudioTag*>& songs);
    void Clear();

    int Count() const { return static_cast<int>(Songs().size()); }
    bool Empty() const { return Songs().empty(); }
    // The file name and the song at position i, in index order.
    std::string operator[](int i) const;
    TaudioTag* Objects(int i) const;

    // Position of the song of that name (ignoring case), or -1.
    int IndexOf(std::string_view fileName) const;
    // The song of that name (ignoring case), or nullptr.
    TaudioTag* Find(std::string_view fileName) const;

private:
    const std::vector<TaudioTag*>& Songs() const;

    std::shared_ptr<const std::vector<TaudioTag*>> songs_;
};
