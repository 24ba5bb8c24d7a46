#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// What a file is worth after a crash. Data files must survive one: they are flushed to disk before they
// take the old file's place. Derived files (caches that can be rebuilt) skip the flush: a crash may leave
// them empty or torn, and their readers reject such a file and rebuild it.
enum class TFileKind
{
    Data,
    Derived
};

// What a save does with a name that is a symbolic link: follow it (a settings file the user linked
// elsewhere stays linked), or replace the link itself (a folder whose files must never be written through,
// such as a skin's).
enum class TLinks
{
    Follow,
    Replace
};

// Writes a file so that the target is only ever the old or the new content: the bytes go to a temporary
// file beside the target, which Commit renames over the target. The temporary has no name while it is
// written where the file system allows it (O_TMPFILE): a new file takes its name straight from it, a
// replacing save names it ".orvane-tmp-XXXXXX" just before the rename. Elsewhere the temporary has that
// hidden name from the start. A named temporary is locked while its writer lives, and every writer that
// names one first removes the stale temporaries of killed writers from its folder. Destroying an uncommitted
// writer removes the temporary file and leaves the target as it was. A name that is a symbolic link is
// followed: the temporary goes beside the link's target and replaces it, and the link stays (unless
// TLinks::Replace asks for the link itself to be replaced).
class TAtomicFileWriter
{
public:
    // Throws EFileError when the target is read-only (owner write bit clear) or the temporary file cannot be
    // created.
    explicit TAtomicFileWriter(std::string fileName, TFileKind kind = TFileKind::Data,
                               TLinks links = TLinks::Follow);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // Throws EFileError on a failed write.
    void Write(const void* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Flushes, closes and renames into place; throws EFileError on failure (the target is then untouched).
    void Commit();

    // The file replaced: the name given, or the target of the symbolic link it names.
    const std::string& FileName() const { return fileName_; }

private:
    void Flush();
    // Gives the unnamed temporary the name; false (errno set) when that fails.
    bool LinkAs(const std::string& name) const;
    // Gives the unnamed temporary a name beside the target, so that it can be renamed.
    void NameTemporary();
    void Discard() noexcept;

    std::string fileName_;
    TFileKind kind_;
    std::string tempName_; // empty while the temporary has no name
    int fd_ = -1;
    std::string buffer_;
};

// Convenience: the whole content in one go.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes,
                         TFileKind kind = TFileKind::Data, TLinks links = TLinks::Follow);

// Removes the temporaries that killed writers left in folder: ours by name, owned by this user, older than a
// minute and not locked by a living writer. Also those of an older naming ("<target>.tmp-XXXXXX") beside
// target, when given.
void RemoveStaleTemporaries(const std::string& folder, std::string_view target = {});

} // namespace platform
