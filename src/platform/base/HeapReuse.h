#pragma once
// Measured data come in blocks of megabytes (a channel of a minute at 16 kHz is 4 MB). By default
// the C library hands each such block back to the kernel when it is freed and maps fresh pages for
// the next one; every fresh page then costs a fault and a clearing by the kernel, which for a
// project of a few hundred megabytes takes several times as long as reading its file. Closing and
// opening projects, recalculating and reloading therefore keep freed blocks in the process for
// reuse, up to a bound, and grow the heap in large steps so that fresh memory for sample blocks
// can take huge pages.

#include <cstddef>

// Sets the heap to serve blocks up to the largest size it allows from reusable memory and to keep
// up to keepBytes of freed memory instead of returning it, growing in steps of 32 MB. Called once at start-up, before threads.
// Returns false where the C library refused a setting (the defaults then stay in force).
bool KeepFreedMemoryForReuse(std::size_t keepBytes = std::size_t(1) << 30);
