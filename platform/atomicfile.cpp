#include "atomicfile.h"

#include "error.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// Hidden, so that folder scans never take a temporary for a song.
constexpr std::string_view kTempPrefix = ".orvane-tmp-";
// The names an older version gave its temporaries: the target's name and this.
constexpr std::string_view kOldTempInfix = ".tmp-";
constexpr std::size_t kTempSuffixLength = 6;
// A writer that has not touched its temporary for this long and holds no lock on it is gone.
constexpr std::time_t kStaleSeconds = 60;

// The process's file mode mask. Reading it means setting it for a moment, so it is read once: writers on
// several threads would race, and the last to put it back could leave it at 0 for the whole process.
mode_t FileModeMask()
{
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

std::string ErrorText(const std::string& what, const std::string& fileName)
{
    return what + " \"" + fileName + "\": " + std::strerror(errno);
}

std::string FolderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : fileName.substr(0, slash);
}

std::string_view NameOf(std::string_view fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
}

// The file a save replaces: a symbolic link is followed to its target (a link to a link as well), so the
// link stays a link and its target gets the new content; a dangling link names the file to be made. A loop
// of links leaves the name as given (the rename then replaces the link).
std::string FollowLinks(const std::string& fileName)
{
    std::string name = fileName;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t size = ::readlink(name.c_str(), target, sizeof target - 1);
        if (size <= 0)
            return name;
        const std::string link(target, static_cast<std::size_t>(size));
        name = link[0] == '/' ? link : FolderOf(name) + "/" + link;
    }
    return fileName;
}

// The random part mkstemp makes: letters and digits.
bool IsTempSuffix(std::string_view s)
{
    if (s.size() != kTempSuffixLength)
        return false;
    for (const char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

bool IsTemporaryName(std::string_view name, std::string_view target)
{
    if (name.substr(0, kTempPrefix.size()) == kTempPrefix)
        return IsTempSuffix(name.substr(kTempPrefix.size()));
    if (target.empty() || name.size() != target.size() + kOldTempInfix.size() + kTempSuffixLength)
        return false;
    return name.substr(0, target.size()) == target &&
           name.substr(target.size(), kOldTempInfix.size()) == kOldTempInfix &&
           IsTempSuffix(name.substr(target.size() + kOldTempInfix.size()));
}

std::string RandomSuffix()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[kTempSuffixLength] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // No entropy source: the clock and the process differ enough between writers of one folder.
        unsigned long long seed = static_cast<unsigned long long>(std::time(nullptr)) ^
                                  (static_cast<unsigned long long>(::getpid()) << 20);
        for (unsigned char& b : bytes) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            b = static_cast<unsigned char>(seed >> 33);
        }
    }
    std::string out;
    for (const unsigned char b : bytes)
        out += kAlphabet[b % (sizeof kAlphabet - 1)];
    return out;
}

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

class FdCloser
{
public:
    explicit FdCloser(int fd) : fd_(fd) {}
    ~FdCloser()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

// The temporary of a writer that is gone: ours, untouched for a while and unlocked (a lock dies with its
// process). The name is removed only while it still leads to the file tested.
void RemoveIfStale(int dirFd, const char* name, std::time_t now)
{
    const FdCloser file(::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.Fd() < 0)
        return;
    struct stat st
    {
    };
    if (::fstat(file.Fd(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        now - st.st_mtim.tv_sec < kStaleSeconds)
        return;
    if (::flock(file.Fd(), LOCK_EX | LOCK_NB) != 0)
        return;
    struct stat named
    {
    };
    if (::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == st.st_dev &&
        named.st_ino == st.st_ino)
        ::unlinkat(dirFd, name, 0);
}

} // namespace

void RemoveStaleTemporaries(const std::string& folder, std::string_view target)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* d = ::readdir(dir.get())) {
        if (d->d_type != DT_REG && d->d_type != DT_UNKNOWN)
            continue;
        if (IsTemporaryName(d->d_name, target))
            RemoveIfStale(::dirfd(dir.get()), d->d_name, now);
    }
}

TAtomicFileWriter::TAtomicFileWriter(std::string fileName, TFileKind kind, TLinks links)
    : fileName_(links == TLinks::Follow ? FollowLinks(fileName) : std::move(fileName)), kind_(kind)
{
    // A read-only file stays as it is: renaming over it would replace it all the same.
    struct stat facts = {};
    if (::stat(fileName_.c_str(), &facts) == 0 && S_ISREG(facts.st_mode) && (facts.st_mode & S_IWUSR) == 0)
        throw EFileError("Cannot write file \"" + fileName_ + "\": it is read-only");
    const std::string folder = FolderOf(fileName_);
    // Unnamed while written: a writer killed now leaves nothing behind. The permissions are those an
    // ordinary new file gets.
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        // File systems without unnamed files: a hidden name, locked while this writer lives.
        RemoveStaleTemporaries(folder, NameOf(fileName_));
        tempName_ = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
        fd_ = ::mkstemp(tempName_.data());
        if (fd_ < 0)
            throw EFileError(ErrorText("Cannot create file", fileName_));
        ::fchmod(fd_, 0666 & ~FileModeMask());
    }
    ::flock(fd_, LOCK_EX | LOCK_NB);
    buffer_.reserve(kBufferSize);
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    Discard();
}

void TAtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (fd_ < 0)
        throw EFileError("Cannot write file \"" + fileName_ + "\": it is closed");
    if (buffer_.size() + size > kBufferSize)
        Flush();
    if (size >= kBufferSize) {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw EFileError(ErrorText("Cannot write file", fileName_));
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return;
    }
    buffer_.append(static_cast<const char*>(data), size);
}

void TAtomicFileWriter::Flush()
{
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EFileError(ErrorText("Cannot write file", fileName_));
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

bool TAtomicFileWriter::LinkAs(const std::string& name) const
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

void TAtomicFileWriter::NameTemporary()
{
    const std::string folder = FolderOf(fileName_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder + "/" + std::string(kTempPrefix) + RandomSuffix();
        if (LinkAs(name)) {
            tempName_ = std::move(name);
            return;
        }
        if (errno != EEXIST)
            break;
    }
    throw EFileError(ErrorText("Cannot write file", fileName_));
}

void TAtomicFileWriter::Commit()
{
    if (fd_ < 0)
        throw EFileError("Cannot write file \"" + fileName_ + "\": it is closed");
    try {
        Flush();
        if (kind_ == TFileKind::Data && ::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
            throw EFileError(ErrorText("Cannot write file", fileName_));
        // A new file: the unnamed one takes the target's name at once, complete, and no other name ever.
        const bool placed = tempName_.empty() && LinkAs(fileName_);
        if (!placed) {
            if (tempName_.empty() && errno != EEXIST)
                throw EFileError(ErrorText("Cannot write file", fileName_));
            if (tempName_.empty()) {
                // Only a replacing save ever names its temporary, so this is where dead ones are swept.
                RemoveStaleTemporaries(FolderOf(fileName_), NameOf(fileName_));
                NameTemporary();
            }
            // Renamed while still open and locked: no cleaner takes it for a dead writer's in between.
            if (::rename(tempName_.c_str(), fileName_.c_str()) != 0)
                throw EFileError(ErrorText("Cannot replace file", fileName_));
        }
    } catch (...) {
        Discard();
        throw;
    }
    tempName_.clear();
    ::close(fd_);
    fd_ = -1;
}

void TAtomicFileWriter::Discard() noexcept
{
    if (fd_ < 0)
        return;
    if (!tempName_.empty())
        ::unlink(tempName_.c_str());
    tempName_.clear();
    ::close(fd_);
    fd_ = -1;
}

void WriteFileAtomically(const std::string& fileName, std::string_view bytes, TFileKind kind, TLinks links)
{
    TAtomicFileWriter writer(fileName, kind, links);
    writer.Write(bytes);
    writer.Commit();
}

} // namespace platform
