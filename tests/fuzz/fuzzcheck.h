#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise of the reader under test: reported and turned into a crash, so the fuzzer keeps the input.
inline void FuzzCheck(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
