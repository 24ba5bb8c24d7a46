#pragma once

namespace platform {

// Gives the pages the heap holds free back to the system. A large library's rebuild frees much more
// scratch (tables, sort buffers, the file's read buffer) than it keeps, and the C library would otherwise
// keep those pages as the process's own.
void ReleaseFreeMemory() noexcept;

// Makes every thread take its memory from the one heap the main thread uses. A helper thread (a large
// library's file-name index, a search's collation) otherwise gets a heap of its own, which keeps what it
// once held as the process's own, and ReleaseFreeMemory could not give all of it back. Called once, first
// thing in main.
void ShareOneHeap() noexcept;

} // namespace platform
