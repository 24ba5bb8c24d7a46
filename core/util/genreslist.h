#pragma once

#include "platform/stringlist.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One row of the genre table: its number and its upper-case name.
struct Tgenre
{
    int Number = 0;
    std::string Name;
};

// The ID3v1 genre list with its common extension (numbers 0 to 147; 255 means no genre).
class TgenresList
{
public:
    static constexpr std::uint8_t kNoGenre = 255;
    static constexpr int kGenreCount = 148;

    TgenresList() = default;

    bool Loaded() const { return loaded_; }
    void SetLoaded(bool value);
    void Load();
    void Clear();

    int GetCount() const { return names_.Count(); }
    const Tgenre* GetGenre(int number) const;
    const Tgenre* FindByName(std::string_view name) const;
    std::uint8_t IDOf(std::string_view name) const;
    // Replaces the strings by the upper-case names in sorted order, each with its row attached.
    void GetNames(TStringList<const Tgenre>& strings) const;

    // The table as stored, in number order.
    static const char* const kNames[kGenreCount];

private:
    bool loaded_ = false;
    std::vector<std::unique_ptr<Tgenre>> rows_;
    TStringList<Tgenre> names_;
};

// The program's one genre table, loaded at start.
TgenresList& GenresList();
