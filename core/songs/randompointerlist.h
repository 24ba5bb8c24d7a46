#pragma once

#include <functional>
#include <vector>

class TaudioTag;

// The shuffled play order of a song list: links to its songs (never owned) in a random order in which each
// comes once. Every change step reshuffles.
class TrandomPointerList
{
public:
    TrandomPointerList() = default;
    TrandomPointerList(const TrandomPointerList&) = delete;
    TrandomPointerList& operator=(const TrandomPointerList&) = delete;

    std::function<void(TrandomPointerList* sender)> OnChange;

    // Takes every item of the list in order; closing the update bracket shuffles them.
    void Fill(const std::vector<TaudioTag*>& items);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    // Removes entry i and answers it; nullptr outside the range. No change step.
    TaudioTag* Extract(int i);
    int GetCount() const { return static_cast<int>(items_.size()); }
    int Count() const { return GetCount(); }
    TaudioTag* GetItem(int i) const;
    // Removes every entry that links to song, without a change step (the song is going away).
    void Forget(const TaudioTag* song);
    // Removes every entry for which doomed answers true, without a change step.
    void ForgetIf(const std::function<bool(TaudioTag*)>& doomed);
    void Shuffle();

private:
    void Changed();

    std::vector<TaudioTag*> items_;
    int updateCount_ = 0;
};
