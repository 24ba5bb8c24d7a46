#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The files of a skin folder, read and written with care: a skin comes from anywhere, so only regular files
// of a bounded size are read (a FIFO or a device would hang the program or fill its memory), bitmaps are
// checked whole before they are shown, and every file is written through a temporary and a rename, which
// replaces a link in the folder rather than writing through it.
namespace skinfiles {

// The most a skin file and a bitmap may hold.
constexpr std::uintmax_t kMaxSkinFileSize = 1024 * 1024;
constexpr std::uintmax_t kMaxBitmapSize = 32 * 1024 * 1024;

// The bytes of a regular file no larger than maxSize (links followed); nothing for anything else, with why
// ("not a regular file", "too large", "cannot be read") in reason when given.
std::optional<std::string> ReadRegularFile(const std::string& path, std::uintmax_t maxSize,
                                           std::string* reason = nullptr);

// True when the bytes are a whole Windows BMP: the header's sizes agree with the bytes there are, so a cut
// file is refused instead of being drawn half garbage.
bool IsWholeBitmap(std::string_view bytes);

// The path with its links and dots resolved as far as it exists.
std::string Resolved(const std::string& path);
// True when the path, links resolved, lies directly in the folder (links resolved too).
bool IsDirectlyIn(const std::string& path, const std::string& folder);
// True when the path, links resolved, is a folder directly in the folder (links resolved too).
bool IsSubfolderOf(const std::string& path, const std::string& folder);

// Copies a regular file through a temporary beside the target and a rename; throws EFileError.
void CopyFileAtomically(const std::string& from, const std::string& to);

} // namespace skinfiles
