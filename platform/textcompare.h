#pragma once

#include <string>
#include <string_view>

// Case-insensitive text rules used everywhere the program compares names.
// One rule throughout: UTF-8 text is compared code point by code point after Unicode simple case folding;
// invalid UTF-8 bytes compare as their byte values. ASCII text takes a fast path with the same result.
namespace platform {

int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Case-sensitive byte order (the framework's CompareStr).
int CompareStr(std::string_view a, std::string_view b);

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);

// Position of needle in haystack ignoring case, or npos.
std::size_t FindText(std::string_view haystack, std::string_view needle);
bool StartsText(std::string_view prefix, std::string_view s);

// A key for hashing names case-insensitively: two texts get the same key exactly when SameText holds, and
// keys compare byte-wise (memcmp) in CompareText's order. The key is written into `key`, replacing it.
void FoldKey(std::string_view text, std::string& key);
std::string FoldKey(std::string_view text);

} // namespace platform
