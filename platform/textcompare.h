#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Case-insensitive text rules used everywhere the program compares names.
//
// Equality (SameText, FoldKey, StartsText, FindText): UTF-8 text is compared code point by code point after
// Unicode simple case folding; invalid UTF-8 bytes compare as their byte values. ASCII text takes a fast
// path with the same result.
//
// Order (CompareText, TextOrderRanks): the collation of the user's locale, ignoring case (numbers compare
// character by character); texts the collation ranks equal are ordered by CompareFolded, so the order is
// total and CompareText answers 0 only for texts SameText calls equal. In the C or POSIX locale the order
// is CompareFolded's.
namespace platform {

int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// The order of case-folded code points (FoldKey's order): equal exactly when SameText holds. For sorted
// lookups that must agree with SameText rather than with the locale.
int CompareFolded(std::string_view a, std::string_view b);

// Every text's place in CompareText's order, for sorting many texts at once with one collation key per
// distinct text: ranks[i] < ranks[j] exactly when CompareText(texts[i], texts[j]) < 0, equal ranks exactly
// when it answers 0.
std::vector<std::uint32_t> TextOrderRanks(const std::vector<std::string_view>& texts);

// The locale whose collation CompareText follows: a locale name such as "fr_FR" or "de_DE" (the system's
// locale when empty, the default). For the whole process, every thread; lists already sorted keep their
// order, so it is set before any is filled.
void SetCollationLocale(std::string_view name);
std::string CollationLocale();

// Sets the collation locale for the life of the object and puts the one before back at its end.
class TcollationLocaleScope
{
public:
    explicit TcollationLocaleScope(std::string_view name) : previous_(CollationLocale())
    {
        SetCollationLocale(name);
    }
    ~TcollationLocaleScope() { SetCollationLocale(previous_); }
    TcollationLocaleScope(const TcollationLocaleScope&) = delete;
    TcollationLocaleScope& operator=(const TcollationLocaleScope&) = delete;

private:
    std::string previous_;
};
// Case-sensitive byte order (the framework's CompareStr).
int CompareStr(std::string_view a, std::string_view b);

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);

// Position of needle in haystack ignoring case, or npos.
std::size_t FindText(std::string_view haystack, std::string_view needle);
bool StartsText(std::string_view prefix, std::string_view s);

// A key for hashing names case-insensitively: two texts get the same key exactly when SameText holds, and
// keys compare byte-wise (memcmp) in CompareFolded's order. The key is written into `key`, replacing it.
void FoldKey(std::string_view text, std::string& key);
std::string FoldKey(std::string_view text);

} // namespace platform
