#include "bench/statcounter.h"

#include <atomic>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

// Definitions here take the place of the C library's for this executable and the libraries it loads; each
// forwards to the next definition (the C library's) found after this one.
namespace {

std::atomic<std::uint64_t> calls{0};

template <class F>
F Next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

namespace benchstat {

std::uint64_t Count()
{
    return calls.load(std::memory_order_relaxed);
}

} // namespace benchstat

extern "C" {

int stat(const char* path, struct stat* buf) noexcept
{
    static const auto next = Next<int (*)(const char*, struct stat*)>("stat");
    calls.fetch_add(1, std::memory_order_relaxed);
    return next(path, buf);
}

int lstat(const char* path, struct stat* buf) noexcept
{
    static const auto next = Next<int (*)(const char*, struct stat*)>("lstat");
    calls.fetch_add(1, std::memory_order_relaxed);
    return next(path, buf);
}

int fstat(int fd, struct stat* buf) noexcept
{
    static const auto next = Next<int (*)(int, struct stat*)>("fstat");
    calls.fetch_add(1, std::memory_order_relaxed);
    return next(fd, buf);
}

int fstatat(int dirFd, const char* path, struct stat* buf, int flags) noexcept
{
    static const auto next = Next<int (*)(int, const char*, struct stat*, int)>("fstatat");
    calls.fetch_add(1, std::memory_order_relaxed);
    return next(dirFd, path, buf, flags);
}

int statx(int dirFd, const char* path, int flags, unsigned int mask, struct statx* buf) noexcept
{
    static const auto next = Next<int (*)(int, const char*, int, unsigned int, struct statx*)>("statx");
    calls.fetch_add(1, std::memory_order_relaxed);
    return next(dirFd, path, flags, mask, buf);
}

} // extern "C"
