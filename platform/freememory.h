#pragma once

namespace platform {

// Gives the pages the heap holds free back to the system. A large library's rebuild frees much more
// scratch (tables, sort buffers, the file's read buffer) than it keeps, and the C library would otherwise
// keep those pages as the process's own.
void ReleaseFreeMemory() noexcept;

} // namespace platform
