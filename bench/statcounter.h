#pragma once

#include <cstdint>

// Counts the stat-family calls of this process (stat, lstat, fstat, fstatat, statx): the benchmark binary
// that links bench/statcounter.cpp puts counting wrappers in front of the C library's functions.
namespace benchstat {

std::uint64_t Count();

} // namespace benchstat
