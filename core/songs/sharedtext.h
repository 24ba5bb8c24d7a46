#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A text that many songs hold the same value of (artist, album, genre, date, tag type): one copy of each
// distinct value for the whole process, counted, and freed with its last holder. Reads as a plain string.
// Safe to make, copy and drop on any thread.
class TsharedText
{
public:
    TsharedText() = default;
    explicit TsharedText(std::string_view text);
    TsharedText(const TsharedText& other);
    TsharedText(TsharedText&& other) noexcept : entry_(other.entry_) { other.entry_ = nullptr; }
    TsharedText& operator=(const TsharedText& other);
    TsharedText& operator=(TsharedText&& other) noexcept;
    ~TsharedText();

    const std::string& Get() const { return entry_ ? entry_->text : kNone; }
    bool Empty() const { return entry_ == nullptr; }
    // Makes texts[i] into out[i] for every i < count under one lock, asking memory for each value's slot
    // and record a batch ahead: a large library's load meets another folder at almost every song.
    static void MakeMany(const std::string_view* texts, TsharedText* out, std::size_t count);

    // Equal texts share their copy, so equality is a pointer comparison.
    bool operator==(const TsharedText& other) const { return entry_ == other.entry_; }

    // The one copy of a value, its number of holders and its hash (the pool's, read inline). 40 bytes.
    struct Entry
    {
        std::string text;
        std::uint32_t holders = 0;
        std::uint32_t hash = 0;
    };

private:
    static const std::string kNone;

    void Release();

    Entry* entry_ = nullptr;
};
